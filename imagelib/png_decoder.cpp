// PNG decoding with libpng: every colour type and bit depth, palettes, tRNS and alpha channels.
// libpng expands everything to 8-bit RGB. Files with an alpha channel or a tRNS chunk are read as
// RGBA and composited over white, row by row (interlaced ones need the whole RGBA image in memory
// for libpng's passes); opaque files are read straight into the Image.
#include <algorithm>
#include <vector>

#include "imagelib/codec_support.h"
#include "imagelib/formats.h"
#include "imagelib/png_support.h"

namespace pelimon::imagelib_detail {

namespace {

constexpr int64_t kMaxPngSide = 1 << 20;

// Ancillary chunks the decoder does not use. libpng would allocate each one's declared length
// (its size limit is only a warning for ancillary chunks), so a few bytes claiming a 1 GB text
// chunk cost a gigabyte; listed here, they are skipped without being buffered.
constexpr png_byte kUnusedChunks[] =
    "bKGD\0cHRM\0eXIf\0gAMA\0hIST\0iCCP\0iTXt\0oFFs\0pCAL\0pHYs\0"
    "sBIT\0sCAL\0sPLT\0sTER\0sRGB\0tEXt\0tIME\0zTXt";

struct MemoryReader {
    const uint8_t* data;
    size_t size;
    size_t position;
};

void ReadFromMemory(png_structp png, png_bytep out, size_t length) {
    auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
    if (length > reader->size - reader->position) {
        png_error(png, imagelib_texts::kFileTruncated);
    }
    std::copy_n(reader->data + reader->position, length, out);
    reader->position += length;
}

// Plain data only: used inside setjmp frames.
struct PngDecodeState {
    png_structp png;
    png_infop info;
    PngMessage message;
    MemoryReader reader;
    png_uint_32 width;
    png_uint_32 height;
    int passes;
    bool has_alpha;
};

class PngReadGuard {
  public:
    PngReadGuard() : state_{} {}
    PngReadGuard(const PngReadGuard&) = delete;
    PngReadGuard& operator=(const PngReadGuard&) = delete;
    ~PngReadGuard() { png_destroy_read_struct(&state_.png, state_.info != nullptr ? &state_.info : nullptr, nullptr); }
    PngDecodeState& state() { return state_; }

  private:
    PngDecodeState state_;
};

bool ReadInfoGuarded(PngDecodeState& s) {
    if (setjmp(png_jmpbuf(s.png))) {
        return false;
    }
    png_set_read_fn(s.png, &s.reader, ReadFromMemory);
    png_read_info(s.png, s.info);
    s.width = png_get_image_width(s.png, s.info);
    s.height = png_get_image_height(s.png, s.info);
    s.has_alpha = (png_get_color_type(s.png, s.info) & PNG_COLOR_MASK_ALPHA) != 0 ||
                  png_get_valid(s.png, s.info, PNG_INFO_tRNS) != 0;
    // Everything becomes 8-bit RGB: palettes, low bit depths and tRNS are expanded, 16-bit
    // samples scaled (rounded) to 8 bits and grey replicated. Transparency, if any, stays as an
    // alpha channel (an opaque one added where only tRNS gives it) for the caller to composite.
    png_set_expand(s.png);
    png_set_scale_16(s.png);
    png_set_gray_to_rgb(s.png);
    if (s.has_alpha) {
        png_set_add_alpha(s.png, 0xFF, PNG_FILLER_AFTER);
    }
    s.passes = png_set_interlace_handling(s.png);
    png_read_update_info(s.png, s.info);
    return true;
}

void CompositeRow(const uint8_t* rgba, size_t width, uint8_t* rgb) {
    for (size_t x = 0; x < width; ++x) {
        const uint32_t alpha = rgba[4 * x + 3];
        for (size_t c = 0; c < 3; ++c) {
            rgb[3 * x + c] = OverWhite(rgba[4 * x + c], alpha);
        }
    }
}

// Opaque files: libpng writes RGB rows into the Image itself. Over all passes of an interlaced
// file every pixel is written exactly once.
bool ReadRgbGuarded(PngDecodeState& s, Image& out) {
    if (setjmp(png_jmpbuf(s.png))) {
        return false;
    }
    for (int pass = 0; pass < s.passes; ++pass) {
        for (png_uint_32 y = 0; y < s.height; ++y) {
            png_read_row(s.png, out.row(static_cast<int>(y)), nullptr);
        }
    }
    return true;
}

// `rgba` holds one row, or the whole image when the file is interlaced.
bool ReadRgbaGuarded(PngDecodeState& s, uint8_t* rgba, Image& out) {
    if (setjmp(png_jmpbuf(s.png))) {
        return false;
    }
    const size_t row_bytes = 4 * static_cast<size_t>(s.width);
    if (s.passes > 1) {
        for (int pass = 0; pass < s.passes; ++pass) {
            for (png_uint_32 y = 0; y < s.height; ++y) {
                png_read_row(s.png, rgba + y * row_bytes, nullptr);
            }
        }
        for (png_uint_32 y = 0; y < s.height; ++y) {
            CompositeRow(rgba + y * row_bytes, s.width, out.row(static_cast<int>(y)));
        }
    } else {
        for (png_uint_32 y = 0; y < s.height; ++y) {
            png_read_row(s.png, rgba, nullptr);
            CompositeRow(rgba, s.width, out.row(static_cast<int>(y)));
        }
    }
    // The rest of the file (text chunks, IEND) is not needed for the pixels.
    return true;
}

}  // namespace

Result<ImageHeader> ProbePng(ByteView bytes) {
    // Signature (8), IHDR length (4) and type (4), then width and height.
    if (bytes.size() < 24 || ReadBe32(bytes, 12) != 0x49484452) {
        return CorruptError(imagelib_texts::kPngNoIhdr);
    }
    const int64_t width = ReadBe32(bytes, 16);
    const int64_t height = ReadBe32(bytes, 20);
    if (Status size = CheckDimensions(width, height, kMaxPngSide); !size) {
        return size.error();
    }
    return ImageHeader{ImageFormat::kPng, static_cast<int>(width), static_cast<int>(height)};
}

Status DecodePng(ByteView bytes, Image& out) {
    if (Result<ImageHeader> header = ProbePng(bytes); !header) {
        return header.error();
    }
    PngReadGuard guard;
    PngDecodeState& s = guard.state();
    s.reader = {bytes.data(), bytes.size(), 0};
    s.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &s.message, PngErrorCallback, PngWarningCallback);
    if (s.png == nullptr || (s.info = png_create_info_struct(s.png)) == nullptr) {
        return CorruptError(imagelib_texts::kPngReadSetupFailed);
    }
    png_set_user_limits(s.png, static_cast<png_uint_32>(kMaxPngSide), static_cast<png_uint_32>(kMaxPngSide));
    png_set_keep_unknown_chunks(s.png, PNG_HANDLE_CHUNK_NEVER, kUnusedChunks,
                                static_cast<int>(sizeof kUnusedChunks / 5));
    if (!ReadInfoGuarded(s)) {
        return CorruptError(std::string("PNG: ") + s.message.text);
    }
    // libpng writes whole rows of this many bytes; they must match the rows they are read into.
    if (png_get_rowbytes(s.png, s.info) != (s.has_alpha ? 4 : 3) * static_cast<size_t>(s.width)) {
        return CorruptError(imagelib_texts::kPngCannotConvert);
    }
    out.Reset(static_cast<int>(s.width), static_cast<int>(s.height));
    bool pixels_read = false;
    if (s.has_alpha) {
        const size_t rows = s.passes > 1 ? s.height : 1;
        std::vector<uint8_t> rgba(4 * static_cast<size_t>(s.width) * rows);
        pixels_read = ReadRgbaGuarded(s, rgba.data(), out);
    } else {
        pixels_read = ReadRgbGuarded(s, out);
    }
    if (!pixels_read) {
        out.Reset(0, 0);
        return CorruptError(std::string("PNG: ") + s.message.text);
    }
    return {};
}

}  // namespace pelimon::imagelib_detail
