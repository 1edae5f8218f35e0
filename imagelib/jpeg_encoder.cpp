// JPEG encoding to memory: by default the rate-distortion optimised encoder (jpeg_rd_encoder.h);
// with fast_jpeg libjpeg-turbo's own encoder with libjpeg's defaults (JFIF header, 4:2:0 chroma
// subsampling at every quality, ISLOW DCT, one sequential scan) plus optimised Huffman tables.
// The metadata blocks go into APPn segments right after SOI (jpeg_app_segments.h).
#include <algorithm>

#include "imagelib/codec_support.h"
#include "imagelib/jpeg_app_segments.h"
#include "imagelib/jpeg_compressor.h"
#include "imagelib/jpeg_rd_encoder.h"

namespace pelimon {

using namespace imagelib_detail;

namespace {

bool CompressGuarded(JpegEncodeState& s, const Image& image, int quality, Bytes& out) {
    s.info.err = InitJpegErrorManager(s.errors);
    if (setjmp(s.errors.jump)) {
        return false;
    }
    CreateCompressor(s, out);
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
    const int quality = std::clamp(options.quality, 1, 100);
    Bytes out;
    if (!options.fast_jpeg) {
        Result<Bytes> encoded = EncodeJpegOptimised(image, quality);
        if (!encoded.ok()) {
            return encoded.error();
        }
        out = std::move(encoded).value();
    } else {
        JpegCompressor compressor;
        JpegEncodeState& s = compressor.state();
        if (!CompressGuarded(s, image, quality, out)) {
            return EncodeError(std::string("JPEG: ") + s.errors.message);
        }
    }
    const EncodeMetadata& metadata = options.metadata;
    if (metadata.exif.empty() && metadata.xmp.empty() && metadata.extended_xmp.empty() &&
        metadata.icc_profile.empty() && metadata.photoshop.empty()) {
        return out;
    }
    return PlaceInJpeg(out, metadata);
}

}  // namespace pelimon
