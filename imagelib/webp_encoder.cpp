// WebP encoding to memory with libwebp (lossy, method 4 as cwebp's default), and the mux API for
// the EXIF, XMP and ICCP chunks when there is metadata to carry.
#include <webp/encode.h>
#include <webp/mux.h>

#include <algorithm>
#include <memory>

#include "imagelib/codec_support.h"
#include "imagelib/format_table.h"
#include "imagelib/imagelib.h"

namespace pelimon {

using namespace imagelib_detail;

namespace {

struct PictureOwner {
    WebPPicture picture;
    PictureOwner() { WebPPictureInit(&picture); }
    PictureOwner(const PictureOwner&) = delete;
    PictureOwner& operator=(const PictureOwner&) = delete;
    ~PictureOwner() { WebPPictureFree(&picture); }
};

struct WriterOwner {
    WebPMemoryWriter writer;
    WriterOwner() { WebPMemoryWriterInit(&writer); }
    WriterOwner(const WriterOwner&) = delete;
    WriterOwner& operator=(const WriterOwner&) = delete;
    ~WriterOwner() { WebPMemoryWriterClear(&writer); }
};

struct MuxDelete {
    void operator()(WebPMux* mux) const { WebPMuxDelete(mux); }
};

Result<Bytes> AddChunks(const WebPMemoryWriter& plain, const EncodeMetadata& metadata) {
    const std::unique_ptr<WebPMux, MuxDelete> mux(WebPMuxNew());
    if (!mux) {
        return EncodeError(FormatRowOf(ImageFormat::kWebp).display_name);
    }
    const WebPData image{plain.mem, plain.size};
    const WebPData exif{metadata.exif.data(), metadata.exif.size()};
    const WebPData icc{metadata.icc_profile.data(), metadata.icc_profile.size()};
    const WebPData xmp{metadata.xmp.data(), metadata.xmp.size()};
    if (WebPMuxSetImage(mux.get(), &image, 0) != WEBP_MUX_OK ||
        (!metadata.exif.empty() && WebPMuxSetChunk(mux.get(), "EXIF", &exif, 0) != WEBP_MUX_OK) ||
        (!metadata.xmp.empty() && WebPMuxSetChunk(mux.get(), "XMP ", &xmp, 0) != WEBP_MUX_OK) ||
        (!metadata.icc_profile.empty() && WebPMuxSetChunk(mux.get(), "ICCP", &icc, 0) != WEBP_MUX_OK)) {
        return EncodeError(imagelib_texts::kWebpMetadata);
    }
    WebPData assembled{nullptr, 0};
    if (WebPMuxAssemble(mux.get(), &assembled) != WEBP_MUX_OK) {
        WebPDataClear(&assembled);
        return EncodeError(imagelib_texts::kWebpMetadata);
    }
    Bytes out(assembled.bytes, assembled.bytes + assembled.size);
    WebPDataClear(&assembled);
    return out;
}

}  // namespace

Result<Bytes> EncodeWebp(const Image& image, const EncodeOptions& options) {
    const EncodeMetadata& metadata = options.metadata;
    if (image.empty() || image.width() > WEBP_MAX_DIMENSION || image.height() > WEBP_MAX_DIMENSION) {
        return EncodeError(imagelib_texts::kWebpTooLarge);
    }
    WebPConfig config;
    if (!WebPConfigInit(&config)) {
        return EncodeError(FormatRowOf(ImageFormat::kWebp).display_name);
    }
    config.quality = static_cast<float>(std::clamp(options.quality, 1, 100));
    config.method = 4;
    PictureOwner owner;
    WebPPicture& picture = owner.picture;
    picture.use_argb = 0;
    picture.width = image.width();
    picture.height = image.height();
    if (!WebPPictureImportRGB(&picture, image.data(), static_cast<int>(image.stride()))) {
        return EncodeError(imagelib_texts::kWebpOutOfMemory);
    }
    WriterOwner writer;
    picture.writer = WebPMemoryWrite;
    picture.custom_ptr = &writer.writer;
    if (!WebPEncode(&config, &picture)) {
        return EncodeError(std::string(FormatRowOf(ImageFormat::kWebp).display_name) + ": " +
                           std::to_string(static_cast<int>(picture.error_code)));
    }
    if (metadata.exif.empty() && metadata.xmp.empty() && metadata.icc_profile.empty()) {
        return Bytes(writer.writer.mem, writer.writer.mem + writer.writer.size);
    }
    return AddChunks(writer.writer, metadata);
}

}  // namespace pelimon
