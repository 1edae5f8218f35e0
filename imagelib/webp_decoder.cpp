// WebP decoding with libwebp: lossy and lossless, still or animated (the first frame, on the full
// canvas, through the demuxer), alpha composited over white. With shrink-on-load options libwebp's
// own area-averaging rescaler decodes straight to the smallest size that still covers the minimum.
#include <webp/decode.h>
#include <webp/demux.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include "imagelib/codec_support.h"
#include "imagelib/formats.h"

namespace pelimon::imagelib_detail {

namespace {

constexpr int64_t kMaxWebpSide = 16383;  // the format's own limit

struct AnimDecoderDelete {
    void operator()(WebPAnimDecoder* decoder) const { WebPAnimDecoderDelete(decoder); }
};

Error WebpError(VP8StatusCode status) {
    return CorruptError("WebP: " + std::to_string(static_cast<int>(status)));
}

void CompositeRgba(const uint8_t* rgba, size_t rgba_stride, Image& out) {
    for (int y = 0; y < out.height(); ++y) {
        const uint8_t* src = rgba + static_cast<size_t>(y) * rgba_stride;
        uint8_t* dst = out.row(y);
        for (int x = 0; x < out.width(); ++x) {
            const uint32_t alpha = src[4 * x + 3];
            for (int c = 0; c < 3; ++c) {
                dst[3 * x + c] = OverWhite(src[4 * x + c], alpha);
            }
        }
    }
}

Status DecodeFirstFrame(ByteView bytes, Image& out) {
    WebPAnimDecoderOptions options;
    if (!WebPAnimDecoderOptionsInit(&options)) {
        return CorruptError(imagelib_texts::kWebpReadSetupFailed);
    }
    options.color_mode = MODE_RGBA;
    options.use_threads = 0;
    const WebPData data{bytes.data(), bytes.size()};
    const std::unique_ptr<WebPAnimDecoder, AnimDecoderDelete> decoder(WebPAnimDecoderNew(&data, &options));
    WebPAnimInfo info;
    if (!decoder || !WebPAnimDecoderGetInfo(decoder.get(), &info)) {
        return CorruptError(imagelib_texts::kWebpAnimationUnreadable);
    }
    if (Status size = CheckDimensions(info.canvas_width, info.canvas_height, kMaxWebpSide); !size) {
        return size;
    }
    uint8_t* frame = nullptr;
    int timestamp = 0;
    if (!WebPAnimDecoderGetNext(decoder.get(), &frame, &timestamp) || frame == nullptr) {
        return CorruptError(imagelib_texts::kWebpFirstFrameUnreadable);
    }
    out.Reset(static_cast<int>(info.canvas_width), static_cast<int>(info.canvas_height));
    CompositeRgba(frame, 4 * static_cast<size_t>(info.canvas_width), out);
    return {};
}

// The decode size: the stored size, or with shrink-on-load the smallest proportional size that is
// at least min_width x min_height.
void ScaledSize(int width, int height, const DecodeOptions& options, int& out_width, int& out_height) {
    out_width = width;
    out_height = height;
    if (options.min_width < 1 || options.min_height < 1 || options.min_width >= width || options.min_height >= height) {
        return;
    }
    const double scale =
        std::max(static_cast<double>(options.min_width) / width, static_cast<double>(options.min_height) / height);
    out_width = std::clamp(static_cast<int>(std::ceil(width * scale)), options.min_width, width);
    out_height = std::clamp(static_cast<int>(std::ceil(height * scale)), options.min_height, height);
}

}  // namespace

Result<ImageHeader> ProbeWebp(ByteView bytes) {
    WebPBitstreamFeatures features;
    if (const VP8StatusCode status = WebPGetFeatures(bytes.data(), bytes.size(), &features); status != VP8_STATUS_OK) {
        return WebpError(status);
    }
    if (Status size = CheckDimensions(features.width, features.height, kMaxWebpSide); !size) {
        return size.error();
    }
    return ImageHeader{ImageFormat::kWebp, features.width, features.height};
}

Status DecodeWebp(ByteView bytes, const DecodeOptions& options, Image& out) {
    WebPDecoderConfig config;
    if (!WebPInitDecoderConfig(&config)) {
        return CorruptError(imagelib_texts::kWebpReadSetupFailed);
    }
    if (const VP8StatusCode status = WebPGetFeatures(bytes.data(), bytes.size(), &config.input);
        status != VP8_STATUS_OK) {
        return WebpError(status);
    }
    if (config.input.has_animation) {
        return DecodeFirstFrame(bytes, out);
    }
    if (Status size = CheckDimensions(config.input.width, config.input.height, kMaxWebpSide); !size) {
        return size;
    }
    int width = 0;
    int height = 0;
    ScaledSize(config.input.width, config.input.height, options, width, height);
    if (width != config.input.width || height != config.input.height) {
        config.options.use_scaling = 1;
        config.options.scaled_width = width;
        config.options.scaled_height = height;
    }
    out.Reset(width, height);
    std::unique_ptr<uint8_t[]> rgba;
    WebPRGBABuffer& buffer = config.output.u.RGBA;
    config.output.is_external_memory = 1;
    if (config.input.has_alpha) {
        config.output.colorspace = MODE_RGBA;
        buffer.stride = 4 * width;
        buffer.size = static_cast<size_t>(buffer.stride) * static_cast<size_t>(height);
        rgba = std::make_unique_for_overwrite<uint8_t[]>(buffer.size);
        buffer.rgba = rgba.get();
    } else {
        config.output.colorspace = MODE_RGB;
        buffer.stride = static_cast<int>(out.stride());
        buffer.size = out.size_bytes();
        buffer.rgba = out.data();
    }
    if (const VP8StatusCode status = WebPDecode(bytes.data(), bytes.size(), &config); status != VP8_STATUS_OK) {
        WebPFreeDecBuffer(&config.output);
        return WebpError(status);
    }
    WebPFreeDecBuffer(&config.output);
    if (rgba) {
        CompositeRgba(rgba.get(), 4 * static_cast<size_t>(width), out);
    }
    return {};
}

}  // namespace pelimon::imagelib_detail
