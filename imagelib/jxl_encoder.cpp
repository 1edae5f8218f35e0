// JPEG XL encoding to memory with libjxl: lossy (VarDCT) 8-bit RGB at a distance derived from the
// 1..100 quality, Exif and XMP in their boxes, the ICC profile in the codestream (sRGB otherwise);
// and the lossless recompression of a JPEG file, which djxl turns back into the same JPEG.
#include <jxl/encode.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "imagelib/codec_support.h"
#include "imagelib/imagelib.h"

namespace pelimon {

using namespace imagelib_detail;

namespace {

// The encoder's effort (1 fastest .. 9 slowest); 7 is cjxl's default. At 4 an output of a batch
// costs no more time than in WebP at its default method (5 and up cost 1.5 to 3 times as much).
constexpr int64_t kJxlEffort = 4;
constexpr int64_t kMaxJxlEncodeSide = int64_t{1} << 30;

struct EncoderDelete {
    void operator()(JxlEncoder* encoder) const { JxlEncoderDestroy(encoder); }
};
using EncoderPtr = std::unique_ptr<JxlEncoder, EncoderDelete>;

// Prepares the container and the boxes; false when libjxl refuses them.
bool AddBoxes(JxlEncoder* encoder, const EncodeMetadata& metadata) {
    if (metadata.exif.empty() && metadata.xmp.empty()) {
        return true;
    }
    if (JxlEncoderUseContainer(encoder, JXL_TRUE) != JXL_ENC_SUCCESS ||
        JxlEncoderUseBoxes(encoder) != JXL_ENC_SUCCESS) {
        return false;
    }
    if (!metadata.exif.empty()) {
        // The Exif box starts with the offset of the TIFF header after these four bytes: none.
        Bytes exif(4, 0);
        exif.insert(exif.end(), metadata.exif.begin(), metadata.exif.end());
        if (JxlEncoderAddBox(encoder, "Exif", exif.data(), exif.size(), JXL_FALSE) != JXL_ENC_SUCCESS) {
            return false;
        }
    }
    if (!metadata.xmp.empty() &&
        JxlEncoderAddBox(encoder, "xml ", metadata.xmp.data(), metadata.xmp.size(), JXL_FALSE) != JXL_ENC_SUCCESS) {
        return false;
    }
    JxlEncoderCloseBoxes(encoder);
    return true;
}

Result<Bytes> Collect(JxlEncoder* encoder) {
    Bytes out(size_t{64} << 10);
    uint8_t* next = out.data();
    size_t available = out.size();
    for (;;) {
        const JxlEncoderStatus status = JxlEncoderProcessOutput(encoder, &next, &available);
        if (status == JXL_ENC_SUCCESS) {
            out.resize(out.size() - available);
            return out;
        }
        if (status != JXL_ENC_NEED_MORE_OUTPUT) {
            return EncodeError("JPEG XL: " + std::to_string(static_cast<int>(JxlEncoderGetError(encoder))));
        }
        const size_t written = static_cast<size_t>(next - out.data());
        out.resize(out.size() * 2);
        next = out.data() + written;
        available = out.size() - written;
    }
}

}  // namespace

float JxlDistanceOfQuality(int quality) {
    const int q = std::clamp(quality, 1, 100);
    if (q >= 30) {
        return 0.1f + static_cast<float>(100 - q) * 0.09f;
    }
    return std::min(6.4f + std::pow(2.5f, static_cast<float>(30 - q) / 5) / 6.25f, 25.0f);
}

Result<Bytes> EncodeJxl(const Image& image, const EncodeOptions& options) {
    const EncodeMetadata& metadata = options.metadata;
    if (image.empty() || image.width() > kMaxJxlEncodeSide || image.height() > kMaxJxlEncodeSide) {
        return EncodeError(imagelib_texts::kJxlEmptyImage);
    }
    const EncoderPtr encoder(JxlEncoderCreate(nullptr));
    if (!encoder || !AddBoxes(encoder.get(), metadata)) {
        return EncodeError(imagelib_texts::kJxlMetadata);
    }
    JxlBasicInfo info;
    JxlEncoderInitBasicInfo(&info);
    info.xsize = static_cast<uint32_t>(image.width());
    info.ysize = static_cast<uint32_t>(image.height());
    info.bits_per_sample = 8;
    info.num_color_channels = 3;
    info.uses_original_profile = JXL_FALSE;
    if (JxlEncoderSetBasicInfo(encoder.get(), &info) != JXL_ENC_SUCCESS) {
        return EncodeError("JPEG XL");
    }
    // A profile libjxl refuses for RGB pixels (a grey or CMYK source's, which the batch carries as
    // it is) gives way to sRGB rather than failing the output.
    JxlColorEncoding srgb;
    JxlColorEncodingSetToSRGB(&srgb, JXL_FALSE);
    const bool colour_set =
        (!metadata.icc_profile.empty() && JxlEncoderSetICCProfile(encoder.get(), metadata.icc_profile.data(),
                                                                  metadata.icc_profile.size()) == JXL_ENC_SUCCESS) ||
        JxlEncoderSetColorEncoding(encoder.get(), &srgb) == JXL_ENC_SUCCESS;
    if (!colour_set) {
        return EncodeError(imagelib_texts::kIccProfile);
    }
    JxlEncoderFrameSettings* settings = JxlEncoderFrameSettingsCreate(encoder.get(), nullptr);
    const JxlPixelFormat format{3, JXL_TYPE_UINT8, JXL_NATIVE_ENDIAN, 0};
    if (settings == nullptr ||
        JxlEncoderFrameSettingsSetOption(settings, JXL_ENC_FRAME_SETTING_EFFORT, kJxlEffort) != JXL_ENC_SUCCESS ||
        JxlEncoderSetFrameDistance(settings, JxlDistanceOfQuality(options.quality)) != JXL_ENC_SUCCESS ||
        JxlEncoderAddImageFrame(settings, &format, image.data(), image.size_bytes()) != JXL_ENC_SUCCESS) {
        return EncodeError("JPEG XL: " + std::to_string(static_cast<int>(JxlEncoderGetError(encoder.get()))));
    }
    JxlEncoderCloseInput(encoder.get());
    return Collect(encoder.get());
}

Result<Bytes> RecompressJpegAsJxl(ByteView jpeg) {
    const EncoderPtr encoder(JxlEncoderCreate(nullptr));
    if (!encoder || JxlEncoderUseContainer(encoder.get(), JXL_TRUE) != JXL_ENC_SUCCESS ||
        JxlEncoderStoreJPEGMetadata(encoder.get(), JXL_TRUE) != JXL_ENC_SUCCESS) {
        return EncodeError("JPEG XL");
    }
    JxlEncoderFrameSettings* settings = JxlEncoderFrameSettingsCreate(encoder.get(), nullptr);
    if (settings == nullptr ||
        JxlEncoderFrameSettingsSetOption(settings, JXL_ENC_FRAME_SETTING_EFFORT, kJxlEffort) != JXL_ENC_SUCCESS ||
        JxlEncoderAddJPEGFrame(settings, jpeg.data(), jpeg.size()) != JXL_ENC_SUCCESS) {
        return EncodeError(imagelib_texts::kJxlCannotRecompress);
    }
    JxlEncoderCloseInput(encoder.get());
    return Collect(encoder.get());
}

}  // namespace pelimon
