// JPEG XL decoding with libjxl: lossy (VarDCT, XYB) and lossless (modular), JPEG recompressions,
// the first frame of an animation as shown (coalesced with the frames it is blended on), the
// file's orientation applied by libjxl, premultiplied alpha unpremultiplied, and alpha composited
// over white. 8-bit output comes in the colours jxl_support.h chooses; linear and HDR pixels are
// turned into sRGB here. libjxl's allocations are capped (kMaxJxlDecoderBytes).
#include <algorithm>
#include <optional>
#include <vector>

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
    if (reader.ran_out_of_time()) {
        return Error{imagelib_texts::JxlTooSlow(static_cast<int>(kMaxJxlDecodeTime.count())), {}};
    }
    return CorruptError(imagelib_texts::kJxlUnreadable);
}

// Where libjxl writes the pixels: straight into the image when they are 8-bit RGB (grey comes
// as RGB too), else into a buffer of 8-bit RGBA or of 16-bit samples (linear and HDR pixels)
// that Finish turns into 8-bit RGB over white. libjxl renders into a buffer with far less memory
// of its own than into a callback (about a third for a large still image).
struct PixelTarget {
    JxlPixelFormat format{3, JXL_TYPE_UINT8, JXL_NATIVE_ENDIAN, 0};
    std::optional<JxlFloatConverter> converter;  // for linear and HDR pixels
    std::vector<uint8_t> staging;                // when the pixels do not go straight into the image

    Status SetBuffer(JxlDecoder* decoder, Image& out) {
        size_t size = 0;
        if (JxlDecoderImageOutBufferSize(decoder, &format, &size) != JXL_DEC_SUCCESS) {
            return CorruptError(imagelib_texts::kJxlReadSetupFailed);
        }
        uint8_t* buffer = out.data();
        if (format.num_channels != 3 || format.data_type != JXL_TYPE_UINT8) {
            staging.resize(size);
            buffer = staging.data();
        } else if (size != out.size_bytes()) {
            return CorruptError(imagelib_texts::kJxlReadSetupFailed);
        }
        if (JxlDecoderSetImageOutBuffer(decoder, &format, buffer, size) != JXL_DEC_SUCCESS) {
            return CorruptError(imagelib_texts::kJxlReadSetupFailed);
        }
        return {};
    }

    void Finish(Image& out) {
        if (staging.empty()) {
            return;
        }
        const size_t width = static_cast<size_t>(out.width());
        const size_t channels = format.num_channels;
        std::vector<float> row(converter ? width * channels : 0);
        for (int y = 0; y < out.height(); ++y) {
            uint8_t* dst = out.row(y);
            if (converter) {
                const auto* src =
                    reinterpret_cast<const uint16_t*>(staging.data()) + static_cast<size_t>(y) * row.size();
                for (size_t i = 0; i < row.size(); ++i) {
                    row[i] = static_cast<float>(src[i]) / 65535.0f;
                }
                converter->Convert(row.data(), width, channels, dst);
                continue;
            }
            const uint8_t* src = staging.data() + static_cast<size_t>(y) * width * 4;
            for (size_t x = 0; x < width; ++x, src += 4, dst += 3) {
                for (size_t c = 0; c < 3; ++c) {
                    dst[c] = OverWhite(src[c], src[3]);
                }
            }
        }
        staging = {};
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
    PixelTarget target;
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
                target.format.num_channels = info.alpha_bits > 0 ? 4 : 3;
                break;
            }
            case JXL_DEC_COLOR_ENCODING: {
                const JxlColourPlan plan = PlanJxlColour(decoder, info);
                if (plan.float_to_srgb) {
                    target.converter.emplace(plan.encoding, plan.intensity_target);
                    if (!target.converter->ok()) {
                        return UnsupportedError(imagelib_texts::kJxlColourSpace);
                    }
                    target.format.data_type = JXL_TYPE_UINT16;
                }
                break;
            }
            case JXL_DEC_NEED_IMAGE_OUT_BUFFER:
                out.Reset(static_cast<int>(info.xsize), static_cast<int>(info.ysize));
                if (Status set = target.SetBuffer(decoder, out); !set) {
                    return set;
                }
                break;
            case JXL_DEC_FULL_IMAGE:
                target.Finish(out);
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
