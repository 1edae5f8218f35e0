// PNG decoding with libpng: every colour type and bit depth, palettes, tRNS and alpha channels.
// libpng expands everything to 8-bit RGB. Files with an alpha channel or a tRNS chunk are read as
// RGBA and composited over white, row by row. Rows go to a RowSink as they are decoded, straight
// into its rows when it holds the whole image; interlaced files need the whole image for libpng's
// passes (and the whole RGBA image when they have alpha), so only a whole-image sink takes them.
#include <algorithm>
#include <vector>

#include "imagelib/codec_support.h"
#include "imagelib/formats.h"
#include "imagelib/imagelib_texts.h"
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

// A buffer, or a file from its current position when `file` is set.
struct PngReader {
    const uint8_t* data;
    size_t size;
    size_t position;
    std::FILE* file;
};

void ReadPngBytes(png_structp png, png_bytep out, size_t length) {
    auto* reader = static_cast<PngReader*>(png_get_io_ptr(png));
    if (reader->file != nullptr) {
        if (std::fread(out, 1, length, reader->file) != length) {
            png_error(png, imagelib_texts::kFileTruncated.c_str());
        }
        return;
    }
    if (length > reader->size - reader->position) {
        png_error(png, imagelib_texts::kFileTruncated.c_str());
    }
    std::copy_n(reader->data + reader->position, length, out);
    reader->position += length;
}

// Plain data only: used inside setjmp frames.
struct PngDecodeState {
    png_structp png;
    png_infop info;
    PngMessage message;
    PngReader reader;
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
    png_set_read_fn(s.png, &s.reader, ReadPngBytes);
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

// `rgb` holds one row for rows the sink does not offer; `rgba`, when the file has alpha, one
// row, or the whole image when the file is interlaced (the sink then offers every row). Over all
// passes of an interlaced file every pixel is written exactly once.
bool ReadRowsGuarded(PngDecodeState& s, RowSink& sink, uint8_t* rgb, uint8_t* rgba) {
    if (setjmp(png_jmpbuf(s.png))) {
        return false;
    }
    const size_t rgba_bytes = 4 * static_cast<size_t>(s.width);
    if (s.passes > 1) {
        for (int pass = 0; pass < s.passes; ++pass) {
            for (png_uint_32 y = 0; y < s.height; ++y) {
                png_read_row(s.png, s.has_alpha ? rgba + y * rgba_bytes : sink.RowBuffer(static_cast<int>(y)), nullptr);
            }
        }
        for (png_uint_32 y = 0; y < s.height; ++y) {
            uint8_t* row = sink.RowBuffer(static_cast<int>(y));
            if (s.has_alpha) {
                CompositeRow(rgba + y * rgba_bytes, s.width, row);
            }
            sink.Row(row);
        }
        return true;
    }
    for (png_uint_32 y = 0; y < s.height; ++y) {
        uint8_t* offered = sink.RowBuffer(static_cast<int>(y));
        uint8_t* row = offered != nullptr ? offered : rgb;
        if (s.has_alpha) {
            png_read_row(s.png, rgba, nullptr);
            CompositeRow(rgba, s.width, row);
        } else {
            png_read_row(s.png, row, nullptr);
        }
        sink.Row(row);
    }
    // The rest of the file (text chunks, IEND) is not needed for the pixels.
    return true;
}

Status DecodePngWith(PngReader reader, RowSink& sink) {
    PngReadGuard guard;
    PngDecodeState& s = guard.state();
    s.reader = reader;
    s.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &s.message, PngErrorCallback, PngWarningCallback);
    if (s.png == nullptr || (s.info = png_create_info_struct(s.png)) == nullptr) {
        return CorruptError(imagelib_texts::kPngReadSetupFailed);
    }
    png_set_user_limits(s.png, static_cast<png_uint_32>(kMaxPngSide), static_cast<png_uint_32>(kMaxPngSide));
    // The image data's checksums (the IDAT chunks' CRC and the zlib stream's Adler-32) are not
    // verified: on a large PNG they cost a tenth of the decode, and damage that matters still
    // fails, since inflate rejects a broken deflate stream and a short file ends too early.
    // Ancillary chunks keep their CRC check.
    png_set_crc_action(s.png, PNG_CRC_QUIET_USE, PNG_CRC_DEFAULT);
    png_set_option(s.png, PNG_IGNORE_ADLER32, PNG_OPTION_ON);
    png_set_keep_unknown_chunks(s.png, PNG_HANDLE_CHUNK_NEVER, kUnusedChunks,
                                static_cast<int>(sizeof kUnusedChunks / 5));
    if (!ReadInfoGuarded(s)) {
        return CorruptError(std::string("PNG: ") + s.message.text);
    }
    // libpng writes whole rows of this many bytes; they must match the rows they are read into.
    if (png_get_rowbytes(s.png, s.info) != (s.has_alpha ? 4 : 3) * static_cast<size_t>(s.width)) {
        return CorruptError(imagelib_texts::kPngCannotConvert);
    }
    if (Status begun = sink.Begin(static_cast<int>(s.width), static_cast<int>(s.height)); !begun) {
        return begun;
    }
    if (s.passes > 1 && sink.RowBuffer(0) == nullptr) {
        return UnsupportedError(imagelib_texts::kInterlacedPngWholeOnly);
    }
    const size_t rows = s.passes > 1 ? s.height : 1;
    std::vector<uint8_t> rgb(s.passes > 1 ? 0 : 3 * static_cast<size_t>(s.width));
    std::vector<uint8_t> rgba(s.has_alpha ? 4 * static_cast<size_t>(s.width) * rows : 0);
    if (!ReadRowsGuarded(s, sink, rgb.data(), rgba.data())) {
        return CorruptError(std::string("PNG: ") + s.message.text);
    }
    return {};
}

}  // namespace

Result<ImageHeader> ProbePng(ByteView bytes) {
    // Signature (8), IHDR length (4) and type (4), then width and height. The pixel count is not
    // checked here: a PNG that is not interlaced is decoded row by row.
    if (bytes.size() < 24 || ReadBe32(bytes, 12) != 0x49484452) {
        return CorruptError(imagelib_texts::kPngNoIhdr);
    }
    const int64_t width = ReadBe32(bytes, 16);
    const int64_t height = ReadBe32(bytes, 20);
    if (Status size = CheckSides(width, height, kMaxPngSide); !size) {
        return size.error();
    }
    return ImageHeader{ImageFormat::kPng, static_cast<int>(width), static_cast<int>(height)};
}

bool PngIsInterlaced(ByteView bytes) {
    return bytes.size() > 28 && bytes[28] != 0;
}

Status DecodePng(ByteView bytes, const DecodeOptions& /*options*/, Image& out) {
    Result<ImageHeader> header = ProbePng(bytes);
    if (!header) {
        return header.error();
    }
    // The whole image is held: the pixel limit applies before libpng reads anything.
    if (Status size = CheckDimensions(header.value().width, header.value().height, kMaxPngSide); !size) {
        return size;
    }
    ImageSink sink(out);
    Status decoded = DecodePngWith({bytes.data(), bytes.size(), 0, nullptr}, sink);
    if (!decoded) {
        out.Reset(0, 0);
    }
    return decoded;
}

Status DecodePngRows(std::FILE* file, const DecodeOptions& /*options*/, RowSink& sink) {
    // Compressed rows hold at most about a thousand bytes of pixels per byte of the file (deflate's
    // limit); a header claiming far more than the file can hold is refused before anything else.
    uint8_t header[24];
    const int64_t length = RemainingBytes(file);
    const off_t start = ftello(file);
    if (std::fread(header, 1, sizeof header, file) != sizeof header || fseeko(file, start, SEEK_SET) != 0) {
        return CorruptError(imagelib_texts::kPngNoIhdr);
    }
    const Result<ImageHeader> probed = ProbePng(ByteView(header, sizeof header));
    if (!probed) {
        return probed.error();
    }
    const int64_t width = probed.value().width;
    const int64_t height = probed.value().height;
    if ((width / 8 + 1) * height > int64_t{1032} * length) {
        return BadSizeError(width, height);
    }
    return DecodePngWith({nullptr, 0, 0, file}, sink);
}

}  // namespace pelimon::imagelib_detail
