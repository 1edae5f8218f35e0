// AVIF encoding to memory with libheif's AV1 encoder (aom on Debian): 8-bit 4:2:0, full range,
// BT.601 matrix, at aom's fast real-time speed so that batches stay quick; the quality maps to
// libheif's lossy quality. Exif becomes an Exif item, XMP an XMP item, an ICC profile a 'prof'
// colour box; without a profile the file says sRGB through nclx.
#include <algorithm>
#include <cstring>
#include <memory>

#include "imagelib/codec_support.h"
#include "imagelib/format_table.h"
#include "imagelib/heif_support.h"
#include "imagelib/imagelib.h"

namespace pelimon {

using namespace imagelib_detail;

namespace {

// aom's fastest preset: at 640x480 an encode takes a small fraction of a second on one core.
constexpr int kAomSpeed = 9;

struct EncodingOptionsFree {
    void operator()(heif_encoding_options* options) const { heif_encoding_options_free(options); }
};
struct NclxFree {
    void operator()(heif_color_profile_nclx* nclx) const { heif_nclx_color_profile_free(nclx); }
};

Error AvifError(const heif_error& error) {
    return EncodeError(std::string(FormatRowOf(ImageFormat::kAvif).display_name) + ": " +
                       (error.message != nullptr ? error.message : ""));
}

heif_error WriteToVector(heif_context* /*context*/, const void* data, size_t size, void* userdata) {
    auto* out = static_cast<Bytes*>(userdata);
    const auto* bytes = static_cast<const uint8_t*>(data);
    out->insert(out->end(), bytes, bytes + size);
    return heif_error{heif_error_Ok, heif_suberror_Unspecified, "ok"};
}

Result<HeifImagePtr> ToHeifImage(const Image& image) {
    heif_image* created = nullptr;
    if (heif_error error = heif_image_create(image.width(), image.height(), heif_colorspace_RGB,
                                             heif_chroma_interleaved_RGB, &created);
        error.code != heif_error_Ok) {
        return AvifError(error);
    }
    HeifImagePtr owned(created);
    if (heif_error error = heif_image_add_plane(created, heif_channel_interleaved, image.width(), image.height(), 8);
        error.code != heif_error_Ok) {
        return AvifError(error);
    }
    int stride = 0;
    uint8_t* plane = heif_image_get_plane(created, heif_channel_interleaved, &stride);
    if (plane == nullptr) {
        return EncodeError(imagelib_texts::kAvifOutOfMemory);
    }
    for (int y = 0; y < image.height(); ++y) {
        std::memcpy(plane + static_cast<size_t>(y) * static_cast<size_t>(stride), image.row(y), image.stride());
    }
    return owned;
}

}  // namespace

Result<Bytes> EncodeAvif(const Image& image, const EncodeOptions& options) {
    const EncodeMetadata& metadata = options.metadata;
    if (image.empty()) {
        return EncodeError(imagelib_texts::kAvifEmptyImage);
    }
    EnsureHeifInitialised();
    const HeifContextPtr context(heif_context_alloc());
    heif_encoder* encoder_raw = nullptr;
    if (!context) {
        return EncodeError(FormatRowOf(ImageFormat::kAvif).display_name);
    }
    if (heif_error error = heif_context_get_encoder_for_format(context.get(), heif_compression_AV1, &encoder_raw);
        error.code != heif_error_Ok) {
        return AvifError(error);
    }
    const HeifEncoderPtr encoder(encoder_raw);
    heif_encoder_set_lossy_quality(encoder.get(), std::clamp(options.quality, 1, 100));
    // Parameters another AV1 plugin may not know are set where it has them and skipped otherwise.
    heif_encoder_set_parameter_integer(encoder.get(), "speed", kAomSpeed);
    heif_encoder_set_parameter_integer(encoder.get(), "threads", 1);
    heif_encoder_set_parameter_string(encoder.get(), "chroma", "420");

    Result<HeifImagePtr> pixels = ToHeifImage(image);
    if (!pixels) {
        return pixels.error();
    }
    const std::unique_ptr<heif_color_profile_nclx, NclxFree> nclx(heif_nclx_color_profile_alloc());
    if (!nclx) {
        return EncodeError(FormatRowOf(ImageFormat::kAvif).display_name);
    }
    nclx->color_primaries = heif_color_primaries_ITU_R_BT_709_5;
    nclx->transfer_characteristics = heif_transfer_characteristic_IEC_61966_2_1;
    nclx->matrix_coefficients = heif_matrix_coefficients_ITU_R_BT_601_6;
    nclx->full_range_flag = 1;
    if (!metadata.icc_profile.empty()) {
        heif_image_set_raw_color_profile(pixels.value().get(), "prof", metadata.icc_profile.data(),
                                         metadata.icc_profile.size());
    } else {
        heif_image_set_nclx_color_profile(pixels.value().get(), nclx.get());
    }
    const std::unique_ptr<heif_encoding_options, EncodingOptionsFree> encoding(heif_encoding_options_alloc());
    if (!encoding) {
        return EncodeError(FormatRowOf(ImageFormat::kAvif).display_name);
    }
    encoding->save_alpha_channel = 0;
    // The YCbCr conversion follows this nclx even when the file names an ICC profile instead.
    encoding->output_nclx_profile = nclx.get();

    heif_image_handle* handle_raw = nullptr;
    if (heif_error error =
            heif_context_encode_image(context.get(), pixels.value().get(), encoder.get(), encoding.get(), &handle_raw);
        error.code != heif_error_Ok) {
        return AvifError(error);
    }
    const HeifHandlePtr handle(handle_raw);
    if (!metadata.exif.empty()) {
        if (heif_error error = heif_context_add_exif_metadata(context.get(), handle.get(), metadata.exif.data(),
                                                              static_cast<int>(metadata.exif.size()));
            error.code != heif_error_Ok) {
            return AvifError(error);
        }
    }
    if (!metadata.xmp.empty()) {
        if (heif_error error = heif_context_add_XMP_metadata(context.get(), handle.get(), metadata.xmp.data(),
                                                             static_cast<int>(metadata.xmp.size()));
            error.code != heif_error_Ok) {
            return AvifError(error);
        }
    }
    Bytes out;
    heif_writer writer{1, WriteToVector};
    if (heif_error error = heif_context_write(context.get(), &writer, &out); error.code != heif_error_Ok) {
        return AvifError(error);
    }
    return out;
}

}  // namespace pelimon
