// JPEG XL decoding with libjxl: lossy (VarDCT, XYB) and lossless (modular), JPEG recompressions,
// the first frame of an animation as shown (coalesced with the frames it is blended on), the
// file's orientation applied by libjxl, premultiplied alpha unpremultiplied, and alpha composited
// over white. 8-bit output comes in the colours jxl_support.h chooses; linear and HDR pixels are
// turned into sRGB here. libjxl's allocations are capped (kMaxJxlDecoderBytes).
#include <algorithm>
#include <optional>

#include "imagelib/codec_support.h"
#include "imagelib/formats.h"
#include "imagelib/jxl_colour.h"
#include "imagelib/jxl_support.h"

namespace pelimon::imagelib_detail {

namespace {

constexpr int64_t kMaxJxlSide = int64_t{1} << 30;  // the format's own limit

Status FailureOf(const JxlReader& reader, const JxlBasicInfo* info) {
    if (reader.ran_out_of_memory()) {
        return info != nullptr ? TooLargeError(info->xsize, info->ysize) : TooLargeError(0, 0);
    }
    return CorruptError(imagelib_texts::kJxlUnreadable);
}

// Receives the decoded pixels a scanline (or part of one) at a time and writes them into the
// image as 8-bit RGB over white.
struct PixelWriter {
    Image* out = nullptr;
    size_t channels = 3;
    std::optional<JxlFloatConverter> converter;  // for linear and HDR pixels

    static void Receive(void* opaque, size_t x, size_t y, size_t count, const void* pixels) {
        auto& self = *static_cast<PixelWriter*>(opaque);
        if (y >= static_cast<size_t>(self.out->height()) || x + count > static_cast<size_t>(self.out->width())) {
            return;
        }
        uint8_t* dst = self.out->row(static_cast<int>(y)) + 3 * x;
        if (self.converter) {
            self.converter->Convert(static_cast<const float*>(pixels), count, self.channels, dst);
            return;
        }
        const auto* src = static_cast<const uint8_t*>(pixels);
        for (size_t i = 0; i < count; ++i, src += self.channels, dst += 3) {
            const bool grey = self.channels <= 2;
            const uint32_t alpha = (self.channels == 2 || self.channels == 4) ? src[self.channels - 1] : 255;
            for (size_t c = 0; c < 3; ++c) {
                dst[c] = OverWhite(src[grey ? 0 : c], alpha);
            }
        }
    }
};

}  // namespace

Result<ImageHeader> ProbeJxl(ByteView bytes) {
    JxlReader reader(bytes);
    if (!reader || JxlDecoderSubscribeEvents(reader.get(), JXL_DEC_BASIC_INFO) != JXL_DEC_SUCCESS) {
        return CorruptError(imagelib_texts::kJxlReadSetupFailed);
    }
    const JxlDecoderStatus status = JxlDecoderProcessInput(reader.get());
    if (status == JXL_DEC_NEED_MORE_INPUT) {
        return CorruptError(imagelib_texts::kFileTruncated);
    }
    JxlBasicInfo info{};
    if (status != JXL_DEC_BASIC_INFO || JxlDecoderGetBasicInfo(reader.get(), &info) != JXL_DEC_SUCCESS) {
        return FailureOf(reader, nullptr).error();
    }
    // Without JxlDecoderSetKeepOrientation the size is as shown, after the file's orientation.
    if (Status size = CheckDimensions(info.xsize, info.ysize, kMaxJxlSide); !size) {
        return size.error();
    }
    return ImageHeader{ImageFormat::kJxl, static_cast<int>(info.xsize), static_cast<int>(info.ysize)};
}

Status DecodeJxl(ByteView bytes, const DecodeOptions& /*options*/, Image& out) {
    JxlReader reader(bytes);
    JxlDecoder* decoder = reader.get();
    if (!reader ||
        JxlDecoderSubscribeEvents(decoder, JXL_DEC_BASIC_INFO | JXL_DEC_COLOR_ENCODING | JXL_DEC_FULL_IMAGE) !=
            JXL_DEC_SUCCESS ||
        JxlDecoderSetUnpremultiplyAlpha(decoder, JXL_TRUE) != JXL_DEC_SUCCESS) {
        return CorruptError(imagelib_texts::kJxlReadSetupFailed);
    }
    JxlBasicInfo info{};
    bool have_info = false;
    PixelWriter writer;
    writer.out = &out;
    JxlPixelFormat format{3, JXL_TYPE_UINT8, JXL_NATIVE_ENDIAN, 0};
    for (;;) {
        switch (JxlDecoderProcessInput(decoder)) {
            case JXL_DEC_BASIC_INFO: {
                if (JxlDecoderGetBasicInfo(decoder, &info) != JXL_DEC_SUCCESS) {
                    return FailureOf(reader, nullptr);
                }
                have_info = true;
                if (Status size = CheckDimensions(info.xsize, info.ysize, kMaxJxlSide); !size) {
                    return size;
                }
                const uint32_t colour = info.num_color_channels == 1 ? 1 : 3;
                format.num_channels = colour + (info.alpha_bits > 0 ? 1 : 0);
                writer.channels = format.num_channels;
                break;
            }
            case JXL_DEC_COLOR_ENCODING: {
                const JxlColourPlan plan = PlanJxlColour(decoder, info);
                if (plan.float_to_srgb) {
                    writer.converter.emplace(plan.encoding, plan.intensity_target);
                    if (!writer.converter->ok()) {
                        return UnsupportedError(imagelib_texts::kJxlColourSpace);
                    }
                    format.data_type = JXL_TYPE_FLOAT;
                }
                break;
            }
            case JXL_DEC_NEED_IMAGE_OUT_BUFFER:
                out.Reset(static_cast<int>(info.xsize), static_cast<int>(info.ysize));
                if (out.empty() || JxlDecoderSetImageOutCallback(decoder, &format, &PixelWriter::Receive, &writer) !=
                                       JXL_DEC_SUCCESS) {
                    return CorruptError(imagelib_texts::kJxlReadSetupFailed);
                }
                break;
            case JXL_DEC_FULL_IMAGE:
                return {};  // the first frame: the rest of an animation is not read
            case JXL_DEC_NEED_MORE_INPUT:
                return CorruptError(imagelib_texts::kFileTruncated);
            case JXL_DEC_SUCCESS:  // the file ended before an image
                return CorruptError(imagelib_texts::kJxlUnreadable);
            default:
                return FailureOf(reader, have_info ? &info : nullptr);
        }
    }
}

}  // namespace pelimon::imagelib_detail
