// Fuzz check for the rate-distortion optimised JPEG encoder: the input is a small picture (its
// first two bytes give the sides, 1..64, the third the quality, the rest the pixels, repeated as
// needed). Its file must decode at its size and come out the same when encoded again.
#include "fuzz/fuzz_checks.h"
#include "fuzz/fuzz_support.h"
#include "imagelib/jpeg_rd_encoder.h"

namespace pelimon::fuzz {

namespace {

Image PictureOf(std::span<const uint8_t> bytes) {
    const int width = bytes[0] % 64 + 1;
    const int height = bytes[1] % 64 + 1;
    Image image(width, height);
    const std::span<const uint8_t> pixels = bytes.subspan(3);
    for (size_t i = 0; i < image.size_bytes() && !pixels.empty(); ++i) {
        image.data()[i] = pixels[i % pixels.size()];
    }
    return image;
}

}  // namespace

void CheckJpegEncodeInput(std::span<const uint8_t> bytes) {
    if (bytes.size() < 3) {
        return;
    }
    const Image image = PictureOf(bytes);
    const int quality = bytes[2] % 100 + 1;
    Result<Bytes> file = imagelib_detail::EncodeJpegOptimised(image, quality);
    Expect(file.ok(), "a small picture encodes");
    Image decoded;
    Expect(DecodeChecked(file.value(), {}, decoded), "the file decodes");
    Expect(decoded.width() == image.width() && decoded.height() == image.height(), "the file keeps the size");
    Expect(imagelib_detail::EncodeJpegOptimised(image, quality).value() == file.value(), "the bytes repeat");
}

}  // namespace pelimon::fuzz
