// TIFF decoding with libtiff: the first page, strips or tiles, row by row into a RowSink. Strips
// are read a row at a time (libtiff reads a compressed strip in parts), tiles a row of tiles at a
// time, so memory follows the width, never the height. The common kinds (grey, palette, RGB, CMYK,
// JPEG-compressed YCbCr; 1 to 16 bits; alpha) are converted here, CMYK through its ICC profile
// when asked; the others libtiff's RGBA interface converts.
#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "imagelib/codec_support.h"
#include "imagelib/colour.h"
#include "imagelib/formats.h"
#include "imagelib/tiff_pixels.h"
#include "imagelib/tiff_support.h"

namespace pelimon::imagelib_detail {

namespace {

// TIFF's own limit is 2^32 - 1; a row of a million pixels is already 8 MB of 16-bit RGBA.
constexpr int64_t kMaxTiffSide = int64_t{1} << 20;
// The rows read together (a strip of separate planes, a row of tiles, a band of RGBA) take at most
// this much memory.
constexpr uint64_t kMaxTiffBandBytes = uint64_t{256} << 20;
// Beyond kMaxDecodedPixels a file must hold at least a byte for this many pixels: a few bytes of
// CCITT or Deflate data that claim a gigapixel picture are refused instead of decoded for minutes.
constexpr int64_t kMaxPixelsPerFileByte = 16384;

Error TiffError(const TiffHandle& tiff, const Message& fallback) {
    return CorruptError(tiff.ErrorOr(fallback.str()));
}

template <typename T>
T Field(TIFF* tiff, ttag_t tag, T fallback) {
    T value = fallback;
    return TIFFGetFieldDefaulted(tiff, tag, &value) == 1 ? value : fallback;
}

// Reads the pixel layout of the current directory; nullopt for a kind this file's code does not
// convert itself (libtiff's RGBA interface then does).
std::optional<TiffPixelLayout> DirectLayout(TIFF* tiff, uint32_t width) {
    TiffPixelLayout layout;
    layout.width = width;
    layout.bits = Field<uint16_t>(tiff, TIFFTAG_BITSPERSAMPLE, 1);
    layout.samples = Field<uint16_t>(tiff, TIFFTAG_SAMPLESPERPIXEL, 1);
    layout.separate = Field<uint16_t>(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG) == PLANARCONFIG_SEPARATE;
    const auto photometric = Field<uint16_t>(tiff, TIFFTAG_PHOTOMETRIC, UINT16_MAX);
    const auto compression = Field<uint16_t>(tiff, TIFFTAG_COMPRESSION, COMPRESSION_NONE);
    const auto sample_format = Field<uint16_t>(tiff, TIFFTAG_SAMPLEFORMAT, SAMPLEFORMAT_UINT);
    if (sample_format != SAMPLEFORMAT_UINT || layout.samples > 16) {
        return std::nullopt;
    }
    const bool whole_bytes = layout.bits == 8 || layout.bits == 16;
    const bool any_bits = whole_bytes || layout.bits == 1 || layout.bits == 2 || layout.bits == 4;
    switch (photometric) {
        case PHOTOMETRIC_MINISWHITE:
        case PHOTOMETRIC_MINISBLACK:
            layout.kind = photometric == PHOTOMETRIC_MINISWHITE ? TiffPixelKind::kWhiteIsZero : TiffPixelKind::kGrey;
            layout.colour_samples = 1;
            if (!any_bits) {
                return std::nullopt;
            }
            break;
        case PHOTOMETRIC_PALETTE: {
            uint16_t* red = nullptr;
            uint16_t* green = nullptr;
            uint16_t* blue = nullptr;
            if (!any_bits || layout.bits == 16 || TIFFGetField(tiff, TIFFTAG_COLORMAP, &red, &green, &blue) != 1) {
                return std::nullopt;
            }
            const size_t entries = size_t{1} << layout.bits;
            layout.palette.assign(red, red + entries);
            layout.palette.insert(layout.palette.end(), green, green + entries);
            layout.palette.insert(layout.palette.end(), blue, blue + entries);
            layout.kind = TiffPixelKind::kPalette;
            layout.colour_samples = 1;
            break;
        }
        case PHOTOMETRIC_YCBCR:
            // libjpeg converts JPEG-compressed YCbCr to RGB itself; other YCbCr is subsampled in
            // blocks, which the RGBA interface reassembles.
            if (compression != COMPRESSION_JPEG || layout.separate || layout.bits != 8 ||
                TIFFSetField(tiff, TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB) != 1) {
                return std::nullopt;
            }
            [[fallthrough]];
        case PHOTOMETRIC_RGB:
            layout.kind = TiffPixelKind::kRgb;
            layout.colour_samples = 3;
            if (!whole_bytes) {
                return std::nullopt;
            }
            break;
        case PHOTOMETRIC_SEPARATED:
            layout.kind = TiffPixelKind::kCmyk;
            layout.colour_samples = 4;
            if (!whole_bytes || Field<uint16_t>(tiff, TIFFTAG_INKSET, INKSET_CMYK) != INKSET_CMYK) {
                return std::nullopt;
            }
            break;
        default:
            return std::nullopt;
    }
    if (layout.samples < layout.colour_samples) {
        return std::nullopt;
    }
    uint16_t extra_count = 0;
    uint16_t* extra = nullptr;
    if (TIFFGetField(tiff, TIFFTAG_EXTRASAMPLES, &extra_count, &extra) == 1 && extra_count > 0 &&
        layout.samples > layout.colour_samples &&
        (extra[0] == EXTRASAMPLE_ASSOCALPHA || extra[0] == EXTRASAMPLE_UNASSALPHA)) {
        layout.alpha = layout.colour_samples;
        layout.associated = extra[0] == EXTRASAMPLE_ASSOCALPHA;
    }
    return layout;
}

// Reads rows from a striped file a strip at a time: libtiff then decodes each strip in one call
// (Deflate through libdeflate, twice as fast as zlib's streaming inflate). A file of strips too
// large for memory (a whole picture in one strip) is read a scanline at a time instead, which
// libtiff decodes in parts; separate planes must be read by strips (a scanline of each plane in
// turn would restart the decoding of every strip).
Status ReadStrips(const TiffHandle& handle, const TiffPixelLayout& layout, uint32_t height, TiffRowConverter& convert,
                  RowSink& sink) {
    TIFF* tiff = handle.get();
    const uint64_t row_bytes = TIFFScanlineSize64(tiff);
    const size_t planes = layout.separate ? layout.samples : 1;
    const uint32_t rows_per_strip = std::clamp(Field<uint32_t>(tiff, TIFFTAG_ROWSPERSTRIP, height), 1u, height);
    const bool whole_strips = layout.separate || row_bytes * rows_per_strip * planes <= kMaxTiffBandBytes / 4;
    const uint32_t strip_rows = whole_strips ? rows_per_strip : 1;
    if (row_bytes == 0 || row_bytes * strip_rows * planes > kMaxTiffBandBytes) {
        return TooLargeError(layout.width, height);
    }
    std::vector<uint8_t> band(static_cast<size_t>(row_bytes * strip_rows * planes));
    std::vector<uint8_t> rgb(size_t{layout.width} * 3);
    std::vector<const uint8_t*> rows(planes);
    for (uint32_t y = 0; y < height; y += strip_rows) {
        const uint32_t count = std::min(strip_rows, height - y);
        for (size_t p = 0; p < planes; ++p) {
            uint8_t* plane = band.data() + p * row_bytes * strip_rows;
            const bool read = whole_strips
                                  ? TIFFReadEncodedStrip(tiff, TIFFComputeStrip(tiff, y, static_cast<uint16_t>(p)),
                                                         plane, static_cast<tmsize_t>(row_bytes * count)) ==
                                        static_cast<tmsize_t>(row_bytes * count)
                                  : TIFFReadScanline(tiff, plane, y, 0) == 1;
            if (!read) {
                return TiffError(handle, imagelib_texts::kFileTruncated);
            }
        }
        for (uint32_t r = 0; r < count; ++r) {
            for (size_t p = 0; p < planes; ++p) {
                rows[p] = band.data() + p * row_bytes * strip_rows + r * row_bytes;
            }
            uint8_t* target = sink.RowBuffer(static_cast<int>(y + r));
            uint8_t* out = target != nullptr ? target : rgb.data();
            convert.Convert(rows, out);
            sink.Row(out);
        }
    }
    return {};
}

// Reads rows from a tiled file, a row of tiles at a time.
Status ReadTiles(const TiffHandle& handle, const TiffPixelLayout& layout, uint32_t height, TiffRowConverter& convert,
                 RowSink& sink) {
    TIFF* tiff = handle.get();
    const uint32_t tile_width = Field<uint32_t>(tiff, TIFFTAG_TILEWIDTH, 0);
    const uint32_t tile_height = Field<uint32_t>(tiff, TIFFTAG_TILELENGTH, 0);
    const uint64_t tile_row_bytes = TIFFTileRowSize64(tiff);
    const uint64_t tile_bytes = TIFFTileSize64(tiff);
    if (tile_width == 0 || tile_height == 0 || tile_row_bytes == 0 || tile_bytes < tile_row_bytes * tile_height) {
        return CorruptError(imagelib_texts::kTiffBadTiles);
    }
    const uint64_t across = (uint64_t{layout.width} + tile_width - 1) / tile_width;
    const uint64_t band_row_bytes = across * tile_row_bytes;
    const size_t planes = layout.separate ? layout.samples : 1;
    if (band_row_bytes * tile_height * planes + tile_bytes > kMaxTiffBandBytes) {
        return TooLargeError(layout.width, height);
    }
    std::vector<uint8_t> band(static_cast<size_t>(band_row_bytes * tile_height * planes));
    std::vector<uint8_t> tile(static_cast<size_t>(tile_bytes));
    std::vector<uint8_t> rgb(size_t{layout.width} * 3);
    std::vector<const uint8_t*> rows(planes);
    for (uint32_t y = 0; y < height; y += tile_height) {
        for (size_t p = 0; p < planes; ++p) {
            for (uint64_t t = 0; t < across; ++t) {
                const auto x = static_cast<uint32_t>(t * tile_width);
                if (TIFFReadTile(tiff, tile.data(), x, y, 0, static_cast<uint16_t>(p)) < 0) {
                    return TiffError(handle, imagelib_texts::kFileTruncated);
                }
                for (uint32_t r = 0; r < tile_height; ++r) {
                    std::memcpy(band.data() + (p * tile_height + r) * band_row_bytes + t * tile_row_bytes,
                                tile.data() + r * tile_row_bytes, static_cast<size_t>(tile_row_bytes));
                }
            }
        }
        const uint32_t count = std::min(tile_height, height - y);
        for (uint32_t r = 0; r < count; ++r) {
            for (size_t p = 0; p < planes; ++p) {
                rows[p] = band.data() + (p * tile_height + r) * band_row_bytes;
            }
            uint8_t* target = sink.RowBuffer(static_cast<int>(y + r));
            uint8_t* out = target != nullptr ? target : rgb.data();
            convert.Convert(rows, out);
            sink.Row(out);
        }
    }
    return {};
}

// Every other kind libtiff converts (YCbCr in blocks, CIE Lab, LogLuv, old-style JPEG ...), a strip
// or a row of tiles at a time, in the file's own row order.
Status ReadThroughRgba(const TiffHandle& handle, uint32_t width, uint32_t height, RowSink& sink) {
    TIFF* tiff = handle.get();
    char message[1024] = {};
    if (TIFFRGBAImageOK(tiff, message) != 1) {
        return UnsupportedError(message);
    }
    TIFFRGBAImage image{};
    if (TIFFRGBAImageBegin(&image, tiff, 0, message) != 1) {
        return UnsupportedError(message);
    }
    struct End {
        TIFFRGBAImage* image;
        ~End() { TIFFRGBAImageEnd(image); }
    } end{&image};
    image.req_orientation = image.orientation;  // rows as stored: the Exif path turns them
    const uint32_t band = TIFFIsTiled(tiff) ? Field<uint32_t>(tiff, TIFFTAG_TILELENGTH, 1)
                                            : Field<uint32_t>(tiff, TIFFTAG_ROWSPERSTRIP, height);
    const uint32_t band_rows = std::clamp(band, 1u, height);
    if (uint64_t{width} * band_rows * 4 > kMaxTiffBandBytes) {
        return TooLargeError(width, height);
    }
    std::vector<uint32_t> raster(size_t{width} * band_rows);
    std::vector<uint8_t> rgb(size_t{width} * 3);
    for (uint32_t y = 0; y < height; y += band_rows) {
        const uint32_t count = std::min(band_rows, height - y);
        image.row_offset = static_cast<int>(y);
        image.col_offset = 0;
        if (TIFFRGBAImageGet(&image, raster.data(), width, count) != 1) {
            return TiffError(handle, imagelib_texts::kFileTruncated);
        }
        for (uint32_t r = 0; r < count; ++r) {
            uint8_t* target = sink.RowBuffer(static_cast<int>(y + r));
            uint8_t* out = target != nullptr ? target : rgb.data();
            PremultipliedAbgrToRgb(raster.data() + size_t{r} * width, width, out);
            sink.Row(out);
        }
    }
    return {};
}

}  // namespace

Status DecodeTiffRows(std::FILE* file, const DecodeOptions& options, RowSink& sink) {
    const int64_t file_bytes = RemainingBytes(file);
    TiffHandle handle;
    if (Status opened = handle.OpenForReading(file); !opened) {
        return opened;
    }
    TIFF* tiff = handle.get();
    const uint32_t width = Field<uint32_t>(tiff, TIFFTAG_IMAGEWIDTH, 0);
    const uint32_t height = Field<uint32_t>(tiff, TIFFTAG_IMAGELENGTH, 0);
    if (Status sides = CheckSides(width, height, kMaxTiffSide); !sides) {
        return sides;
    }
    const int64_t pixels = int64_t{width} * height;
    if (pixels > kMaxDecodedPixels && pixels / kMaxPixelsPerFileByte > file_bytes) {
        return TooLargeError(width, height);
    }
    std::optional<TiffPixelLayout> layout = DirectLayout(tiff, width);
    if (!layout) {
        if (Status begun = sink.Begin(static_cast<int>(width), static_cast<int>(height)); !begun) {
            return begun;
        }
        return ReadThroughRgba(handle, width, height, sink);
    }
    std::optional<CmykToSrgb> profile;
    uint32_t icc_size = 0;
    void* icc = nullptr;
    if (layout->kind == TiffPixelKind::kCmyk && options.cmyk_by_profile &&
        TIFFGetField(tiff, TIFFTAG_ICCPROFILE, &icc_size, &icc) == 1 && icc != nullptr) {
        profile.emplace(ByteView(static_cast<const uint8_t*>(icc), icc_size));
    }
    TiffRowConverter convert(*layout, profile && profile->valid() ? &*profile : nullptr);
    if (Status begun = sink.Begin(static_cast<int>(width), static_cast<int>(height)); !begun) {
        return begun;
    }
    return TIFFIsTiled(tiff) ? ReadTiles(handle, *layout, height, convert, sink)
                             : ReadStrips(handle, *layout, height, convert, sink);
}

Status DecodeTiff(ByteView bytes, const DecodeOptions& options, Image& out) {
    const MemoryFile file(bytes);
    if (file.get() == nullptr) {
        return CorruptError(imagelib_texts::kTiffReadSetupFailed);
    }
    ImageSink sink(out);
    return DecodeTiffRows(file.get(), options, sink);
}

}  // namespace pelimon::imagelib_detail
