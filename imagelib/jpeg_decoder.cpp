// JPEG decoding with libjpeg-turbo: baseline, progressive, greyscale, CMYK and YCCK (Adobe
// inverted CMYK included), with DCT-domain shrink-on-load, scanline by scanline into a RowSink
// (straight into the Image rows when the sink holds the whole image). A progressive file whose
// coefficients would take more than kMaxJpegCoefficientBytes goes to the DC-only decoder when 1/8
// of its size is enough, and is refused with the memory it needs otherwise.
//
// Damaged data: libjpeg only warns when the data ends early or the entropy-coded data is corrupt
// and then fills the rest with grey. Such an image is refused, so that a batch reports the broken
// source instead of writing a picture with a grey band as if all were well. A file whose pixel data
// is complete but which lacks the final EOI marker is accepted.
#include <algorithm>
#include <vector>

#include "imagelib/codec_support.h"
#include "imagelib/formats.h"
#include "imagelib/imagelib_texts.h"
#include "imagelib/jpeg_support.h"

namespace pelimon::imagelib_detail {

namespace {

// Bounds what a hostile header can make libjpeg allocate for its own buffers (the coefficient
// buffer of a progressive image is the big one), and what a progressive file can make it loop on.
// Above the coefficient budget, which is checked first, by what libjpeg needs besides.
constexpr long kMaxLibjpegMemory = static_cast<long>(kMaxJpegCoefficientBytes + (int64_t{256} << 20));
constexpr int kMaxProgressiveScans = 1000;
constexpr JDIMENSION kRowsPerRead = 16;

// Plain data only: it is used inside setjmp frames.
struct JpegDecodeState {
    jpeg_decompress_struct info;
    JpegErrorManager errors;
    jpeg_progress_mgr progress;
    bool created;
};

// Owns the libjpeg object; destroys it however the decode ends.
class JpegDecompressor {
  public:
    JpegDecompressor() : state_{} {}
    JpegDecompressor(const JpegDecompressor&) = delete;
    JpegDecompressor& operator=(const JpegDecompressor&) = delete;
    ~JpegDecompressor() {
        if (state_.created) {
            jpeg_destroy_decompress(&state_.info);
        }
    }
    JpegDecodeState& state() { return state_; }

  private:
    JpegDecodeState state_;
};

void LimitScans(j_common_ptr info) {
    const auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
    if (decompress->input_scan_number > kMaxProgressiveScans) {
        FailJpeg(info, "too many progressive scans");
    }
}

// Where libjpeg reads from: a buffer, or a file from its current position.
struct JpegInput {
    ByteView bytes;
    std::FILE* file = nullptr;
    int64_t file_bytes = 0;  // the length of what `file` holds from its position
};

// A Huffman-coded JPEG spends at least one bit on every block (its DC code), so a header that
// claims more blocks than eight per byte of the file lies; it is refused before libjpeg allocates
// for it. Arithmetic coding can spend less, and is not checked.
bool FileCanHoldBlocks(const jpeg_decompress_struct& info, int64_t file_bytes) {
    if (info.arith_code) {
        return true;
    }
    int64_t blocks = 0;
    for (int c = 0; c < info.num_components; ++c) {
        blocks += int64_t{info.comp_info[c].width_in_blocks} * info.comp_info[c].height_in_blocks;
    }
    return blocks <= 8 * file_bytes;
}

bool ReadHeaderGuarded(JpegDecodeState& s, const JpegInput& input) {
    s.info.err = InitJpegErrorManager(s.errors);
    if (setjmp(s.errors.jump)) {
        return false;
    }
    jpeg_create_decompress(&s.info);
    s.created = true;
    s.info.mem->max_memory_to_use = kMaxLibjpegMemory;
    s.progress.progress_monitor = LimitScans;
    s.info.progress = &s.progress;
    if (input.file != nullptr) {
        jpeg_stdio_src(&s.info, input.file);
    } else {
        jpeg_mem_src(&s.info, input.bytes.data(), static_cast<unsigned long>(input.bytes.size()));
    }
    jpeg_read_header(&s.info, TRUE);
    return true;
}

bool CalcOutputGuarded(JpegDecodeState& s) {
    if (setjmp(s.errors.jump)) {
        return false;
    }
    jpeg_calc_output_dimensions(&s.info);
    return true;
}

// CMYK as Adobe writes it is stored inverted (0 = full ink); other writers store plain ink.
void CmykRowToRgb(const uint8_t* cmyk, size_t width, bool inverted, uint8_t* rgb) {
    for (size_t x = 0; x < width; ++x) {
        const uint8_t* p = cmyk + 4 * x;
        const uint32_t k = inverted ? p[3] : 255u - p[3];
        for (size_t c = 0; c < 3; ++c) {
            const uint32_t v = inverted ? p[c] : 255u - p[c];
            rgb[3 * x + c] = static_cast<uint8_t>((v * k + 127) / 255);
        }
    }
}

// Decodes every scanline into `sink`, whose Begin has accepted the output size: into the rows
// the sink offers, else through `buffer` (kRowsPerRead rows of RGB), and through `cmyk_row` (one
// row of 4-byte pixels) when the output colour space is CMYK.
bool ReadPixelsGuarded(JpegDecodeState& s, RowSink& sink, uint8_t* buffer, uint8_t* cmyk_row) {
    if (setjmp(s.errors.jump)) {
        return false;
    }
    jpeg_start_decompress(&s.info);
    const bool inverted = s.info.saw_Adobe_marker != 0;
    const size_t stride = 3 * static_cast<size_t>(s.info.output_width);
    JSAMPROW rows[kRowsPerRead];
    while (s.info.output_scanline < s.info.output_height) {
        const JDIMENSION first = s.info.output_scanline;
        if (cmyk_row != nullptr) {
            uint8_t* target = sink.RowBuffer(static_cast<int>(first));
            target = target != nullptr ? target : buffer;
            rows[0] = cmyk_row;
            jpeg_read_scanlines(&s.info, rows, 1);
            CmykRowToRgb(cmyk_row, s.info.output_width, inverted, target);
            sink.Row(target);
            continue;
        }
        const JDIMENSION count = std::min(kRowsPerRead, s.info.output_height - first);
        for (JDIMENSION i = 0; i < count; ++i) {
            uint8_t* target = sink.RowBuffer(static_cast<int>(first + i));
            rows[i] = target != nullptr ? target : buffer + i * stride;
        }
        const JDIMENSION read = jpeg_read_scanlines(&s.info, rows, count);
        for (JDIMENSION i = 0; i < read; ++i) {
            sink.Row(rows[i]);
        }
    }
    if (s.errors.truncated || s.errors.corrupt) {
        return false;
    }
    jpeg_finish_decompress(&s.info);
    return true;
}

// What libjpeg would allocate for the coefficients of a progressive image, which it keeps whole:
// every block of every component, in whole MCU rows and columns, 64 coefficients of 2 bytes.
int64_t CoefficientBytes(const jpeg_decompress_struct& info) {
    int64_t total = 0;
    for (int c = 0; c < info.num_components; ++c) {
        const jpeg_component_info& component = info.comp_info[c];
        const int64_t h = component.h_samp_factor;
        const int64_t v = component.v_samp_factor;
        const int64_t columns = (int64_t{component.width_in_blocks} + h - 1) / h * h;
        const int64_t rows = (int64_t{component.height_in_blocks} + v - 1) / v * v;
        total += columns * rows * 64 * 2;
    }
    return total;
}

Error JpegError(const JpegDecodeState& s) {
    if (s.errors.truncated) {
        return CorruptError(imagelib_texts::kFileTruncated);
    }
    if (s.errors.corrupt) {
        return CorruptError(imagelib_texts::kJpegBadCompressedData);
    }
    return CorruptError(std::string("JPEG: ") + s.errors.message);
}

}  // namespace

// Only 1/8, 2/8, 4/8 and 8/8 are used: libjpeg-turbo has SIMD inverse DCTs for exactly these sizes.
// Measured on a 4000 x 3000 camera JPEG, 3/8 decodes no faster than 4/8, and 5/8 to 7/8 are far
// slower than a full decode, while each gives a less accurate image than the next larger power of two.
int ChooseJpegScale(int width, int height, int min_width, int min_height) {
    for (int num = 1; num < 8; num *= 2) {
        // libjpeg rounds scaled sizes up.
        const int64_t w = (int64_t{width} * num + 7) / 8;
        const int64_t h = (int64_t{height} * num + 7) / 8;
        if (w >= min_width && h >= min_height) {
            return num;
        }
    }
    return 8;
}

namespace {

// Decodes through libjpeg into `sink`. A progressive image over the coefficient budget sets
// `dc_only` and returns without decoding when shrink-on-load at 1/8 is allowed (the caller then
// runs the DC-only decoder), and fails with the memory it would need otherwise.
Status DecodeWithLibjpeg(const JpegInput& input, const DecodeOptions& options, RowSink& sink, bool& dc_only) {
    dc_only = false;
    JpegDecompressor decompressor;
    JpegDecodeState& s = decompressor.state();
    if (!ReadHeaderGuarded(s, input)) {
        return JpegError(s);
    }
    const auto width = static_cast<int>(s.info.image_width);
    const auto height = static_cast<int>(s.info.image_height);
    if (width <= 0 || height <= 0) {
        return BadSizeError(width, height);
    }
    int scale = 8;
    if (options.min_width > 0 || options.min_height > 0) {
        scale = ChooseJpegScale(width, height, options.min_width, options.min_height);
        s.info.scale_num = static_cast<unsigned>(scale);
        s.info.scale_denom = 8;
    }
    if (s.info.progressive_mode) {
        if (const int64_t need = CoefficientBytes(s.info); need > kMaxJpegCoefficientBytes) {
            dc_only = scale == 1;
            return dc_only ? Status{} : MemoryError(width, height, need);
        }
    }
    const bool cmyk = s.info.jpeg_color_space == JCS_CMYK || s.info.jpeg_color_space == JCS_YCCK;
    s.info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    s.info.dct_method = JDCT_ISLOW;
    if (!CalcOutputGuarded(s)) {
        return JpegError(s);
    }
    if (Status begun = sink.Begin(static_cast<int>(s.info.output_width), static_cast<int>(s.info.output_height));
        !begun) {
        return begun;
    }
    // Checked once the sink has accepted the size: a sink holding the whole image refuses one
    // over the pixel limit as too large, whatever the file holds.
    if (!FileCanHoldBlocks(s.info, input.file_bytes)) {
        return BadSizeError(width, height);
    }
    const size_t stride = 3 * static_cast<size_t>(s.info.output_width);
    std::vector<uint8_t> buffer(stride * (cmyk ? 1 : kRowsPerRead));
    std::vector<uint8_t> cmyk_row(cmyk ? static_cast<size_t>(s.info.output_width) * 4 : 0);
    if (!ReadPixelsGuarded(s, sink, buffer.data(), cmyk ? cmyk_row.data() : nullptr)) {
        return JpegError(s);
    }
    return {};
}

}  // namespace

Status DecodeJpeg(ByteView bytes, const DecodeOptions& options, Image& out) {
    // The marker walk gives the same size messages as the probe before libjpeg allocates anything.
    if (Result<ImageHeader> header = ProbeJpeg(bytes); !header) {
        return header.error();
    }
    ImageSink sink(out);
    bool dc_only = false;
    if (Status decoded =
            DecodeWithLibjpeg({bytes, nullptr, static_cast<int64_t>(bytes.size())}, options, sink, dc_only);
        !decoded || !dc_only) {
        return decoded;
    }
    const MemoryFile file(bytes);
    if (file.get() == nullptr) {
        return CorruptError(imagelib_texts::kJpegReadSetupFailed);
    }
    return DecodeJpegDc(file.get(), sink);
}

Status DecodeJpegRows(std::FILE* file, const DecodeOptions& options, RowSink& sink) {
    const off_t start = ftello(file);
    const int64_t length = RemainingBytes(file);
    bool dc_only = false;
    if (Status decoded = DecodeWithLibjpeg({{}, file, length}, options, sink, dc_only); !decoded || !dc_only) {
        return decoded;
    }
    if (fseeko(file, start, SEEK_SET) != 0) {
        return CorruptError(imagelib_texts::kCannotReread);
    }
    return DecodeJpegDc(file, sink);
}

}  // namespace pelimon::imagelib_detail
