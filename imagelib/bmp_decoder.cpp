// BMP pixel decoding: palette images of 1, 4 and 8 bits (uncompressed, RLE4, RLE8), 16 and 32 bits
// with default masks or BI_BITFIELDS, and 24 bits; bottom-up and top-down.
#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <vector>

#include "imagelib/bmp_header.h"
#include "imagelib/codec_support.h"
#include "imagelib/formats.h"
#include "imagelib/imagelib_texts.h"

namespace pelimon::imagelib_detail {

namespace {

using Palette = std::array<std::array<uint8_t, 3>, 256>;  // R, G, B

// What the row decoder reads before the pixel data: the headers and the colour table lie within
// it in every file that keeps them together, as writers do.
constexpr int64_t kMaxBmpPrefixBytes = int64_t{64} << 10;

// Entries missing from the file stay black, so out-of-range indices never read past the table.
Palette ReadPalette(ByteView bytes, const BmpHeader& header) {
    Palette palette{};
    for (int i = 0; i < header.palette_count; ++i) {
        const size_t at = header.palette_offset + static_cast<size_t>(i * header.palette_entry_size);
        auto& entry = palette[static_cast<size_t>(i)];
        entry = {static_cast<uint8_t>(ReadU8(bytes, at + 2)), static_cast<uint8_t>(ReadU8(bytes, at + 1)),
                 static_cast<uint8_t>(ReadU8(bytes, at))};
    }
    return palette;
}

// Extracts a masked channel and scales it to 0..255 with rounding.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    uint32_t max = 0;

    explicit Channel(uint32_t m) : mask(m) {
        if (mask != 0) {
            shift = std::countr_zero(mask);
            max = mask >> shift;
        }
    }
    uint32_t Get(uint32_t pixel) const {
        if (max == 0) {
            return 0;
        }
        const uint64_t v = (pixel & mask) >> shift;
        return static_cast<uint32_t>((v * 255 + max / 2) / max);
    }
};

int TargetRow(const BmpHeader& header, int file_row) {
    return header.top_down ? file_row : header.height - 1 - file_row;
}

size_t RowStride(const BmpHeader& header) {
    return (static_cast<size_t>(header.width) * static_cast<size_t>(header.bits) + 31) / 32 * 4;
}

void DecodePaletteRow(const uint8_t* in, const BmpHeader& header, const Palette& palette, uint8_t* out) {
    const int bits = header.bits;
    const uint32_t per_byte = 8u / static_cast<uint32_t>(bits);
    const uint32_t mask = (1u << bits) - 1;
    for (int x = 0; x < header.width; ++x) {
        const uint32_t ux = static_cast<uint32_t>(x);
        const uint32_t shift = 8u - static_cast<uint32_t>(bits) * (ux % per_byte + 1);
        const uint32_t index = (uint32_t{in[ux / per_byte]} >> shift) & mask;
        std::copy_n(palette[index].data(), 3, out + 3 * ux);
    }
}

void DecodeMaskedRow(const uint8_t* in, const BmpHeader& header, bool use_alpha, uint8_t* out) {
    const Channel red(header.masks[0]), green(header.masks[1]), blue(header.masks[2]), alpha(header.masks[3]);
    const size_t bytes_per_pixel = static_cast<size_t>(header.bits / 8);
    for (size_t x = 0; x < static_cast<size_t>(header.width); ++x) {
        const uint8_t* p = in + x * bytes_per_pixel;
        const uint32_t low = uint32_t{p[0]} | uint32_t{p[1]} << 8u;
        const uint32_t pixel = bytes_per_pixel == 2 ? low : (low | uint32_t{p[2]} << 16u | uint32_t{p[3]} << 24u);
        const uint32_t a = use_alpha ? alpha.Get(pixel) : 255;
        out[3 * x] = OverWhite(red.Get(pixel), a);
        out[3 * x + 1] = OverWhite(green.Get(pixel), a);
        out[3 * x + 2] = OverWhite(blue.Get(pixel), a);
    }
}

// Whether a stored 32-bit row has a pixel with a non-zero alpha value.
bool RowUsesAlpha(const uint8_t* in, const BmpHeader& header) {
    for (size_t x = 0; x < static_cast<size_t>(header.width); ++x) {
        const uint32_t pixel = uint32_t{in[4 * x]} | uint32_t{in[4 * x + 1]} << 8u | uint32_t{in[4 * x + 2]} << 16u |
                               uint32_t{in[4 * x + 3]} << 24u;
        if ((pixel & header.masks[3]) != 0) {
            return true;
        }
    }
    return false;
}

// Many writers leave the alpha byte of 32-bit files at zero; alpha only counts when some pixel
// has a non-zero alpha value.
bool AlphaInUse(ByteView data, const BmpHeader& header, size_t stride) {
    if (header.bits != 32 || header.masks[3] == 0) {
        return false;
    }
    for (size_t y = 0; y < static_cast<size_t>(header.height); ++y) {
        if (RowUsesAlpha(data.data() + y * stride, header)) {
            return true;
        }
    }
    return false;
}

// Decodes one stored row of an uncompressed or bit-field file into RGB.
void DecodeRow(const uint8_t* in, const BmpHeader& header, const Palette& palette, bool use_alpha, uint8_t* row) {
    if (header.bits <= 8) {
        DecodePaletteRow(in, header, palette, row);
    } else if (header.bits == 24) {
        for (size_t x = 0; x < static_cast<size_t>(header.width); ++x) {
            row[3 * x] = in[3 * x + 2];
            row[3 * x + 1] = in[3 * x + 1];
            row[3 * x + 2] = in[3 * x];
        }
    } else {
        DecodeMaskedRow(in, header, use_alpha, row);
    }
}

Status DecodeUncompressed(ByteView bytes, const BmpHeader& header, Image& out) {
    const size_t stride = RowStride(header);
    const ByteView data = bytes.subspan(header.pixel_offset);
    if (Status size = CheckDimensions(header.width, header.height, INT32_MAX); !size) {
        return size;
    }
    // The whole pixel block must be present before anything is allocated for it.
    if (data.size() / stride < static_cast<size_t>(header.height)) {
        return CorruptError(imagelib_texts::kFileTruncated);
    }
    const Palette palette = ReadPalette(bytes, header);
    const bool use_alpha = AlphaInUse(data, header, stride);
    out.Reset(header.width, header.height);
    for (int y = 0; y < header.height; ++y) {
        DecodeRow(data.data() + static_cast<size_t>(y) * stride, header, palette, use_alpha,
                  out.row(TargetRow(header, y)));
    }
    return {};
}

// Writes one palette index at (x, y) of the file's row order; positions outside the image are
// ignored, as Windows does.
void PutIndex(Image& out, const BmpHeader& header, const Palette& palette, int x, int y, uint32_t index) {
    if (x < 0 || x >= header.width || y < 0 || y >= header.height) {
        return;
    }
    std::copy_n(palette[index & 0xFF].data(), 3, out.row(TargetRow(header, y)) + 3 * static_cast<size_t>(x));
}

// RLE4 and RLE8. Pixels that the stream skips (end of line, delta, early end) stay white, the
// colour transparency gets everywhere else. Every read is bounds-checked and every step of the
// loop consumes input, so a corrupt stream ends instead of looping.
Status DecodeRle(ByteView bytes, const BmpHeader& header, Image& out) {
    const ByteView data = bytes.subspan(header.pixel_offset);
    const Palette palette = ReadPalette(bytes, header);
    const bool four_bits = header.compression == BmpCompression::kRle4;
    if (Status size = CheckDimensions(header.width, header.height, INT32_MAX); !size) {
        return size;
    }
    out.Reset(header.width, header.height);
    std::fill_n(out.data(), out.size_bytes(), uint8_t{255});
    int x = 0;
    int y = 0;
    size_t at = 0;
    while (y < header.height) {
        if (at + 2 > data.size()) {
            return CorruptError(imagelib_texts::kRleTruncated);
        }
        const uint32_t count = data[at];
        const uint32_t value = data[at + 1];
        at += 2;
        if (count > 0) {
            for (uint32_t i = 0; i < count; ++i, ++x) {
                const uint32_t index = four_bits ? (i % 2 == 0 ? value >> 4 : value & 0x0F) : value;
                PutIndex(out, header, palette, x, y, index);
            }
        } else if (value == 0) {
            x = 0;
            ++y;
        } else if (value == 1) {
            return {};
        } else if (value == 2) {
            if (at + 2 > data.size()) {
                return CorruptError(imagelib_texts::kRleTruncated);
            }
            x += data[at];
            y += data[at + 1];
            at += 2;
        } else {
            const size_t length = four_bits ? (value + 1) / 2 : value;
            if (at + length > data.size()) {
                return CorruptError(imagelib_texts::kRleTruncated);
            }
            for (uint32_t i = 0; i < value; ++i, ++x) {
                const uint32_t byte = data[at + (four_bits ? i / 2 : i)];
                const uint32_t index = four_bits ? (i % 2 == 0 ? byte >> 4 : byte & 0x0F) : byte;
                PutIndex(out, header, palette, x, y, index);
            }
            at += (length + 1) / 2 * 2;  // absolute runs are padded to 16 bits
        }
        x = std::min(x, header.width);  // keeps x bounded however long the runs are
    }
    return {};
}

}  // namespace

Status DecodeBmp(ByteView bytes, const DecodeOptions& /*options*/, Image& out) {
    Result<BmpHeader> header = ParseBmpHeader(bytes);
    if (!header) {
        return header.error();
    }
    const BmpHeader& h = header.value();
    if (h.compression == BmpCompression::kRle4 || h.compression == BmpCompression::kRle8) {
        return DecodeRle(bytes, h, out);
    }
    return DecodeUncompressed(bytes, h, out);
}

bool BmpIsCompressed(ByteView bytes) {
    // The compression field of a BITMAPINFOHEADER or later (the OS/2 core header has none).
    constexpr uint32_t kBiRle8 = 1;
    constexpr uint32_t kBiRle4 = 2;
    const uint32_t compression = ReadLe32(bytes, 14) >= 40 ? ReadLe32(bytes, 30) : 0;
    return compression == kBiRle8 || compression == kBiRle4;
}

// Rows are read from the file in the image's top-down order, wherever the file stores them; a
// 32-bit file with an alpha mask is read twice, first to see whether any alpha is in use.
Status DecodeBmpRows(std::FILE* file, const DecodeOptions& /*options*/, RowSink& sink) {
    const int64_t length = RemainingBytes(file);
    const off_t start = ftello(file);
    std::vector<uint8_t> prefix(static_cast<size_t>(std::min<int64_t>(length, kMaxBmpPrefixBytes)));
    if (!ReadAt(file, start, prefix.data(), prefix.size())) {
        return CorruptError(imagelib_texts::kFileTruncated);
    }
    const Result<BmpHeader> parsed = ParseBmpHeader(prefix, static_cast<size_t>(length));
    if (!parsed) {
        return parsed.error();
    }
    const BmpHeader& header = parsed.value();
    if (header.compression == BmpCompression::kRle4 || header.compression == BmpCompression::kRle8) {
        return UnsupportedError(imagelib_texts::kRleBmpWholeOnly);
    }
    const size_t stride = RowStride(header);
    if (static_cast<uint64_t>(length) - header.pixel_offset < stride * static_cast<uint64_t>(header.height)) {
        return CorruptError(imagelib_texts::kFileTruncated);
    }
    const Palette palette = ReadPalette(prefix, header);
    std::vector<uint8_t> in(stride);
    const int64_t pixels = start + static_cast<int64_t>(header.pixel_offset);
    bool use_alpha = false;
    if (header.bits == 32 && header.masks[3] != 0) {
        for (int y = 0; y < header.height && !use_alpha; ++y) {
            if (!ReadAt(file, pixels + static_cast<int64_t>(stride) * y, in.data(), stride)) {
                return CorruptError(imagelib_texts::kFileTruncated);
            }
            use_alpha = RowUsesAlpha(in.data(), header);
        }
    }
    if (Status begun = sink.Begin(header.width, header.height); !begun) {
        return begun;
    }
    std::vector<uint8_t> rgb(3 * static_cast<size_t>(header.width));
    for (int y = 0; y < header.height; ++y) {
        const int stored = header.top_down ? y : header.height - 1 - y;
        if (!ReadAt(file, pixels + static_cast<int64_t>(stride) * stored, in.data(), stride)) {
            return CorruptError(imagelib_texts::kFileTruncated);
        }
        uint8_t* offered = sink.RowBuffer(y);
        uint8_t* row = offered != nullptr ? offered : rgb.data();
        DecodeRow(in.data(), header, palette, use_alpha, row);
        sink.Row(row);
    }
    return {};
}

}  // namespace pelimon::imagelib_detail
