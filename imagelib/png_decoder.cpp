// PNG decoding with libpng: every colour type and bit depth, palettes, tRNS and alpha channels.
// libpng expands everything to 8-bit RGB. Files with an alpha channel or a tRNS chunk are read as
// RGBA and composited over white, row by row. Rows go to a RowSink as they are decoded, straight
// into its rows when it holds the whole image; interlaced files need the whole image for libpng's
// passes (and the whole RGBA image when they have alpha), so only a whole-image sink takes them.
// Row by row, 8-bit RGB and RGBA files go to png_stream.cpp instead, which reads them faster.
#include <zlib.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "imagelib/codec_support.h"
#include "imagelib/formats.h"
#include "imagelib/imagelib_texts.h"
#include "imagelib/png_stream.h"
#include "imagelib/png_support.h"

namespace pelimon::imagelib_detail {

namespace {

constexpr int64_t kMaxPngSide = 1 << 20;
// The signature and the IHDR chunk, CRC included.
constexpr size_t kPngHeaderBytes = 33;
// The blocks a PNG is read from its file in.
constexpr size_t kFileBlockBytes = size_t{256} << 10;

// Ancillary chunks the decoder does not use. libpng would allocate each one's declared length
// (its size limit is only a warning for ancillary chunks), so a few bytes claiming a 1 GB text
// chunk cost a gigabyte; listed here, they are skipped without being buffered.
constexpr png_byte kUnusedChunks[] =
    "bKGD\0cHRM\0eXIf\0gAMA\0hIST\0iCCP\0iTXt\0oFFs\0pCAL\0pHYs\0"
    "sBIT\0sCAL\0sPLT\0sTER\0sRGB\0tEXt\0tIME\0zTXt";

// A buffer, or a file from its current position when `file` is set. A file is read in blocks of
// `buffer_size` bytes into `buffer`: libpng asks for a few bytes at a time (chunk headers, CRCs,
// 8 KiB of image data), and a read call for each would cost more than the copies.
struct PngReader {
    const uint8_t* data;
    size_t size;
    size_t position;
    std::FILE* file;
    uint8_t* buffer;
    size_t buffer_size;
};

void ReadPngBytes(png_structp png, png_bytep out, size_t length) {
    auto* reader = static_cast<PngReader*>(png_get_io_ptr(png));
    while (reader->file != nullptr && length > reader->size - reader->position) {
        const size_t buffered = reader->size - reader->position;
        std::copy_n(reader->data + reader->position, buffered, out);
        out += buffered;
        length -= buffered;
        reader->size = std::fread(reader->buffer, 1, reader->buffer_size, reader->file);
        reader->data = reader->buffer;
        reader->position = 0;
        if (reader->size == 0) {
            png_error(png, imagelib_texts::kFileTruncated.c_str());
        }
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

// `rgb` holds one row for rows the sink does not offer; `rgba`, when the file has alpha, one
// row, or the whole image when the file is interlaced (the sink then offers every row). Over all
// passes of an interlaced file every pixel is written exactly once.
bool ReadRowsGuarded(PngDecodeState& s, RowSink& sink, uint8_t* rgb, uint8_t* rgba) {
    if (setjmp(png_jmpbuf(s.png))) {
        return false;
    }
    // libpng reports a wrong Adler-32 of the image data, or data after its end, as a "benign"
    // error, a warning on reading; while the image data is read, such damage is an error.
    png_set_benign_errors(s.png, 0);
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
    std::vector<uint8_t> file_buffer(reader.file != nullptr ? kFileBlockBytes : 0);
    reader.buffer = file_buffer.data();
    reader.buffer_size = file_buffer.size();
    s.reader = reader;
    s.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &s.message, PngErrorCallback, PngWarningCallback);
    if (s.png == nullptr || (s.info = png_create_info_struct(s.png)) == nullptr) {
        return CorruptError(imagelib_texts::kPngReadSetupFailed);
    }
    png_set_user_limits(s.png, static_cast<png_uint_32>(kMaxPngSide), static_cast<png_uint_32>(kMaxPngSide));
    // libpng's defaults check every checksum: a critical chunk (IHDR, PLTE, IDAT, IEND) whose CRC
    // is wrong is an error, a damaged ancillary chunk is dropped with a warning.
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
    // Signature (8), IHDR length (4) and type (4), 13 bytes of data beginning with width and
    // height, then the CRC of type and data. The pixel count is not checked here: a PNG that is not
    // interlaced is decoded row by row.
    if (bytes.size() < kPngHeaderBytes || ReadBe32(bytes, 12) != 0x49484452) {
        return CorruptError(imagelib_texts::kPngNoIhdr);
    }
    if (crc32(0, bytes.data() + 12, 17) != ReadBe32(bytes, 29)) {
        return CorruptError(imagelib_texts::kPngIhdrDamaged);
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
    Status decoded = DecodePngWith({bytes.data(), bytes.size(), 0, nullptr, nullptr, 0}, sink);
    if (!decoded) {
        out.Reset(0, 0);
    }
    return decoded;
}

Status DecodePngRows(std::FILE* file, const DecodeOptions& /*options*/, RowSink& sink) {
    // Compressed rows hold at most about a thousand bytes of pixels per byte of the file (deflate's
    // limit); a header claiming far more than the file can hold is refused before anything else.
    uint8_t header[kPngHeaderBytes];
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
    if (std::optional<Status> streamed = DecodePngStream(file, sink)) {
        return *streamed;
    }
    if (fseeko(file, start, SEEK_SET) != 0) {
        return CorruptError(imagelib_texts::kCannotReread);
    }
    return DecodePngWith({nullptr, 0, 0, file, nullptr, 0}, sink);
}

}  // namespace pelimon::imagelib_detail
