// JPEG encoding to memory with libjpeg-turbo: libjpeg's defaults (JFIF header, 4:2:0 chroma
// subsampling below quality 90, 4:4:4 from 90 on as jpeg_set_quality leaves it, ISLOW DCT) plus
// optimised Huffman tables, which make files smaller at no cost in quality. The metadata blocks
// go into APPn segments right after SOI (jpeg_app_segments.h).
#include <algorithm>
#include <new>

#include "imagelib/codec_support.h"
#include "imagelib/jpeg_app_segments.h"
#include "imagelib/jpeg_support.h"

namespace pelimon {

using namespace imagelib_detail;

namespace {

constexpr size_t kInitialOutputBytes = size_t{64} * 1024;

// A libjpeg destination that grows a Bytes vector. Plain data plus a pointer, for setjmp frames.
struct VectorDestination {
    jpeg_destination_mgr base;  // must stay first
    Bytes* out;
};

VectorDestination& DestinationOf(j_compress_ptr info) {
    return *reinterpret_cast<VectorDestination*>(info->dest);
}

void InitDestination(j_compress_ptr info) {
    VectorDestination& dest = DestinationOf(info);
    bool failed = false;
    try {
        dest.out->resize(kInitialOutputBytes);
    } catch (const std::bad_alloc&) {
        failed = true;
    }
    if (failed) {
        FailJpeg(reinterpret_cast<j_common_ptr>(info), "out of memory");
    }
    dest.base.next_output_byte = dest.out->data();
    dest.base.free_in_buffer = dest.out->size();
}

boolean EmptyOutputBuffer(j_compress_ptr info) {
    VectorDestination& dest = DestinationOf(info);
    const size_t used = dest.out->size();
    bool failed = false;
    try {
        dest.out->resize(used * 2);
    } catch (const std::bad_alloc&) {
        failed = true;
    }
    if (failed) {
        FailJpeg(reinterpret_cast<j_common_ptr>(info), "out of memory");
    }
    dest.base.next_output_byte = dest.out->data() + used;
    dest.base.free_in_buffer = dest.out->size() - used;
    return TRUE;
}

void TermDestination(j_compress_ptr info) {
    VectorDestination& dest = DestinationOf(info);
    dest.out->resize(dest.out->size() - dest.base.free_in_buffer);
}

struct JpegEncodeState {
    jpeg_compress_struct info;
    JpegErrorManager errors;
    VectorDestination destination;
    bool created;
};

class JpegCompressor {
  public:
    JpegCompressor() : state_{} {}
    JpegCompressor(const JpegCompressor&) = delete;
    JpegCompressor& operator=(const JpegCompressor&) = delete;
    ~JpegCompressor() {
        if (state_.created) {
            jpeg_destroy_compress(&state_.info);
        }
    }
    JpegEncodeState& state() { return state_; }

  private:
    JpegEncodeState state_;
};

bool CompressGuarded(JpegEncodeState& s, const Image& image, int quality) {
    s.info.err = InitJpegErrorManager(s.errors);
    if (setjmp(s.errors.jump)) {
        return false;
    }
    jpeg_create_compress(&s.info);
    s.created = true;
    s.destination.base.init_destination = InitDestination;
    s.destination.base.empty_output_buffer = EmptyOutputBuffer;
    s.destination.base.term_destination = TermDestination;
    s.info.dest = &s.destination.base;
    s.info.image_width = static_cast<JDIMENSION>(image.width());
    s.info.image_height = static_cast<JDIMENSION>(image.height());
    s.info.input_components = 3;
    s.info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&s.info);
    jpeg_set_quality(&s.info, quality, TRUE);
    s.info.optimize_coding = TRUE;
    jpeg_start_compress(&s.info, TRUE);
    while (s.info.next_scanline < s.info.image_height) {
        // libjpeg takes non-const rows but only reads them.
        JSAMPROW row = const_cast<uint8_t*>(image.row(static_cast<int>(s.info.next_scanline)));
        jpeg_write_scanlines(&s.info, &row, 1);
    }
    jpeg_finish_compress(&s.info);
    return true;
}

}  // namespace

Result<Bytes> EncodeJpeg(const Image& image, const EncodeOptions& options) {
    if (image.empty() || image.width() > 65500 || image.height() > 65500) {
        return EncodeError(imagelib_texts::CannotEncodeSize("JPEG", image.width(), image.height()));
    }
    Bytes out;
    JpegCompressor compressor;
    JpegEncodeState& s = compressor.state();
    s.destination.out = &out;
    if (!CompressGuarded(s, image, std::clamp(options.quality, 1, 100))) {
        return EncodeError(std::string("JPEG: ") + s.errors.message);
    }
    const EncodeMetadata& metadata = options.metadata;
    if (metadata.exif.empty() && metadata.xmp.empty() && metadata.extended_xmp.empty() &&
        metadata.icc_profile.empty() && metadata.photoshop.empty()) {
        return out;
    }
    return PlaceInJpeg(out, metadata);
}

}  // namespace pelimon
