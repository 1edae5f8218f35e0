// BMP output: BITMAPFILEHEADER + BITMAPINFOHEADER, 24 bits, bottom-up rows padded to 4 bytes.
#include "imagelib/imagelib.h"

namespace pelimon {

namespace {

void PutLe16(Bytes& out, size_t at, uint32_t value) {
    out[at] = static_cast<uint8_t>(value);
    out[at + 1] = static_cast<uint8_t>(value >> 8);
}

void PutLe32(Bytes& out, size_t at, uint32_t value) {
    PutLe16(out, at, value & 0xFFFF);
    PutLe16(out, at + 2, value >> 16);
}

}  // namespace

Result<Bytes> EncodeBmp(const Image& image, const EncodeOptions& /*options*/) {
    constexpr size_t kHeaderSize = 14 + 40;
    constexpr uint32_t kPixelsPerMetre = 2835;  // 72 dpi
    const size_t stride = (image.stride() + 3) / 4 * 4;
    const size_t pixel_bytes = stride * static_cast<size_t>(image.height());
    Bytes out(kHeaderSize + pixel_bytes, 0);
    out[0] = 'B';
    out[1] = 'M';
    PutLe32(out, 2, static_cast<uint32_t>(out.size()));
    PutLe32(out, 10, kHeaderSize);
    PutLe32(out, 14, 40);
    PutLe32(out, 18, static_cast<uint32_t>(image.width()));
    PutLe32(out, 22, static_cast<uint32_t>(image.height()));
    PutLe16(out, 26, 1);
    PutLe16(out, 28, 24);
    PutLe32(out, 34, static_cast<uint32_t>(pixel_bytes));
    PutLe32(out, 38, kPixelsPerMetre);
    PutLe32(out, 42, kPixelsPerMetre);
    for (int y = 0; y < image.height(); ++y) {
        const uint8_t* in = image.row(y);
        uint8_t* row = out.data() + kHeaderSize + static_cast<size_t>(image.height() - 1 - y) * stride;
        for (size_t x = 0; x < static_cast<size_t>(image.width()); ++x) {
            row[3 * x] = in[3 * x + 2];
            row[3 * x + 1] = in[3 * x + 1];
            row[3 * x + 2] = in[3 * x];
        }
    }
    return out;
}

}  // namespace pelimon
