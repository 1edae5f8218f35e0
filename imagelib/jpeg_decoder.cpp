// JPEG decoding with libjpeg-turbo: baseline, progressive, greyscale, CMYK and YCCK (Adobe
// inverted CMYK included), with DCT-domain shrink-on-load straight into the Image rows.
//
// Damaged data: libjpeg only warns when the data ends early or the entropy-coded data is corrupt
// and then fills the rest with grey. Such an image is refused, so that a batch reports the broken
// source instead of writing a picture with a grey band as if all were well. A file whose pixel data
// is complete but which lacks the final EOI marker is accepted.
#include <algorithm>
#include <vector>

#include "imagelib/codec_support.h"
#include "imagelib/formats.h"
#include "imagelib/jpeg_support.h"

namespace pelimon::imagelib_detail {

namespace {

// Bounds what a hostile header can make libjpeg allocate for its own buffers (the coefficient
// buffer of a progressive image is the big one), and what a progressive file can make it loop on.
constexpr long kMaxLibjpegMemory = long{1} << 30;
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

bool ReadHeaderGuarded(JpegDecodeState& s, ByteView bytes) {
    s.info.err = InitJpegErrorManager(s.errors);
    if (setjmp(s.errors.jump)) {
        return false;
    }
    jpeg_create_decompress(&s.info);
    s.created = true;
    s.info.mem->max_memory_to_use = kMaxLibjpegMemory;
    s.progress.progress_monitor = LimitScans;
    s.info.progress = &s.progress;
    jpeg_mem_src(&s.info, bytes.data(), static_cast<unsigned long>(bytes.size()));
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

// Decodes every scanline into `out`, whose size already matches the output dimensions.
// `cmyk_row` holds one row of 4-byte pixels when the output colour space is CMYK.
bool ReadPixelsGuarded(JpegDecodeState& s, Image& out, uint8_t* cmyk_row) {
    if (setjmp(s.errors.jump)) {
        return false;
    }
    jpeg_start_decompress(&s.info);
    const bool inverted = s.info.saw_Adobe_marker != 0;
    JSAMPROW rows[kRowsPerRead];
    while (s.info.output_scanline < s.info.output_height) {
        const JDIMENSION first = s.info.output_scanline;
        if (cmyk_row != nullptr) {
            rows[0] = cmyk_row;
            jpeg_read_scanlines(&s.info, rows, 1);
            CmykRowToRgb(cmyk_row, s.info.output_width, inverted, out.row(static_cast<int>(first)));
            continue;
        }
        const JDIMENSION count = std::min(kRowsPerRead, s.info.output_height - first);
        for (JDIMENSION i = 0; i < count; ++i) {
            rows[i] = out.row(static_cast<int>(first + i));
        }
        jpeg_read_scanlines(&s.info, rows, count);
    }
    if (s.errors.truncated || s.errors.corrupt) {
        return false;
    }
    jpeg_finish_decompress(&s.info);
    return true;
}

Error JpegError(const JpegDecodeState& s) {
    if (s.errors.truncated) {
        return CorruptError(imagelib_texts::kFileTruncated);
    }
    if (s.errors.corrupt) {
        return CorruptError("JPEG の圧縮データに誤りがあります");
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

Status DecodeJpeg(ByteView bytes, const DecodeOptions& options, Image& out) {
    // The marker walk gives the same size messages as the probe before libjpeg allocates anything.
    if (Result<ImageHeader> header = ProbeJpeg(bytes); !header) {
        return header.error();
    }
    JpegDecompressor decompressor;
    JpegDecodeState& s = decompressor.state();
    if (!ReadHeaderGuarded(s, bytes)) {
        return JpegError(s);
    }
    const auto width = static_cast<int>(s.info.image_width);
    const auto height = static_cast<int>(s.info.image_height);
    if (width <= 0 || height <= 0) {
        return BadSizeError(width, height);
    }
    if (options.min_width > 0 || options.min_height > 0) {
        s.info.scale_num = static_cast<unsigned>(ChooseJpegScale(width, height, options.min_width, options.min_height));
        s.info.scale_denom = 8;
    }
    const bool cmyk = s.info.jpeg_color_space == JCS_CMYK || s.info.jpeg_color_space == JCS_YCCK;
    s.info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    s.info.dct_method = JDCT_ISLOW;
    if (!CalcOutputGuarded(s)) {
        return JpegError(s);
    }
    const int64_t out_width = s.info.output_width;
    const int64_t out_height = s.info.output_height;
    if (out_width * out_height > kMaxDecodedPixels) {
        return TooLargeError(out_width, out_height);
    }
    out.Reset(static_cast<int>(out_width), static_cast<int>(out_height));
    std::vector<uint8_t> cmyk_row(cmyk ? static_cast<size_t>(out_width) * 4 : 0);
    if (!ReadPixelsGuarded(s, out, cmyk ? cmyk_row.data() : nullptr)) {
        return JpegError(s);
    }
    return {};
}

}  // namespace pelimon::imagelib_detail
