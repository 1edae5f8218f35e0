// GIF encoding: libimagequant picks a palette of up to 256 colours and remaps the image with
// Floyd-Steinberg dithering; giflib writes a single-frame GIF89a to memory.
#include <algorithm>
#include <memory>
#include <new>
#include <vector>

#include <gif_lib.h>
#include <libimagequant.h>

#include "imagelib/codec_support.h"
#include "imagelib/gif_support.h"

namespace pelimon {

using namespace imagelib_detail;

namespace {

constexpr float kDitheringLevel = 1.0f;
constexpr int kQuantizeSpeed = 4;  // libimagequant's default trade-off between speed and quality

struct LiqAttrDeleter {
    void operator()(liq_attr* attr) const { liq_attr_destroy(attr); }
};
struct LiqImageDeleter {
    void operator()(liq_image* image) const { liq_image_destroy(image); }
};
struct LiqResultDeleter {
    void operator()(liq_result* result) const { liq_result_destroy(result); }
};
struct GifWriterCloser {
    void operator()(GifFileType* gif) const {
        int error = 0;
        EGifCloseFile(gif, &error);
    }
};

struct OutputSink {
    Bytes* out;
    bool failed;
};

int WriteToVector(GifFileType* gif, const GifByteType* data, int length) {
    auto* sink = static_cast<OutputSink*>(gif->UserData);
    try {
        sink->out->insert(sink->out->end(), data, data + length);
    } catch (const std::bad_alloc&) {
        sink->failed = true;
        return 0;
    }
    return length;
}

struct Quantized {
    std::vector<uint8_t> indices;
    std::vector<GifColorType> palette;
};

Result<Quantized> Quantize(const Image& image) {
    const auto pixels = static_cast<size_t>(image.width()) * static_cast<size_t>(image.height());
    std::vector<uint8_t> rgba(pixels * 4);
    for (size_t i = 0; i < pixels; ++i) {
        std::copy_n(image.data() + 3 * i, 3, rgba.data() + 4 * i);
        rgba[4 * i + 3] = 255;
    }
    const std::unique_ptr<liq_attr, LiqAttrDeleter> attr(liq_attr_create());
    if (!attr) {
        return EncodeError(imagelib_texts::kGifQuantizeSetupFailed);
    }
    liq_set_speed(attr.get(), kQuantizeSpeed);
    const std::unique_ptr<liq_image, LiqImageDeleter> input(
        liq_image_create_rgba(attr.get(), rgba.data(), image.width(), image.height(), 0));
    if (!input) {
        return EncodeError(imagelib_texts::kGifQuantizeSetupFailed);
    }
    liq_result* raw_result = nullptr;
    if (liq_image_quantize(input.get(), attr.get(), &raw_result) != LIQ_OK) {
        return EncodeError(imagelib_texts::kGifQuantizeFailed);
    }
    const std::unique_ptr<liq_result, LiqResultDeleter> result(raw_result);
    liq_set_dithering_level(result.get(), kDitheringLevel);
    Quantized quantized;
    quantized.indices.resize(pixels);
    if (liq_write_remapped_image(result.get(), input.get(), quantized.indices.data(), pixels) != LIQ_OK) {
        return EncodeError(imagelib_texts::kGifQuantizeFailed);
    }
    const liq_palette* palette = liq_get_palette(result.get());
    for (unsigned i = 0; i < palette->count; ++i) {
        quantized.palette.push_back(GifColorType{palette->entries[i].r, palette->entries[i].g, palette->entries[i].b});
    }
    return quantized;
}

}  // namespace

Result<Bytes> EncodeGif(const Image& image, const EncodeOptions& /*options*/) {
    if (image.empty() || image.width() > 65535 || image.height() > 65535) {
        return EncodeError(imagelib_texts::CannotEncodeSize("GIF", image.width(), image.height()));
    }
    Result<Quantized> quantized = Quantize(image);
    if (!quantized) {
        return quantized.error();
    }
    Quantized& q = quantized.value();
    // giflib wants a power-of-two table; unused entries stay black.
    const int bits = std::max(1, GifBitSize(static_cast<int>(q.palette.size())));
    q.palette.resize(size_t{1} << bits, GifColorType{0, 0, 0});

    Bytes out;
    OutputSink sink{&out, false};
    int error = 0;
    std::unique_ptr<GifFileType, GifWriterCloser> gif(EGifOpen(&sink, WriteToVector, &error));
    if (!gif) {
        return EncodeError("GIF: " + GifErrorText(error));
    }
    EGifSetGifVersion(gif.get(), true);
    ColorMapObject* map = GifMakeMapObject(1 << bits, q.palette.data());
    if (map == nullptr) {
        return EncodeError(imagelib_texts::kGifOutOfMemory);
    }
    const int put_screen = EGifPutScreenDesc(gif.get(), image.width(), image.height(), bits, 0, map);
    GifFreeMapObject(map);  // giflib keeps its own copy
    bool ok = put_screen == GIF_OK &&
              EGifPutImageDesc(gif.get(), 0, 0, image.width(), image.height(), false, nullptr) == GIF_OK;
    for (int y = 0; ok && y < image.height(); ++y) {
        GifByteType* row = q.indices.data() + static_cast<size_t>(y) * static_cast<size_t>(image.width());
        ok = EGifPutLine(gif.get(), row, image.width()) == GIF_OK;
    }
    if (!ok || sink.failed) {
        return EncodeError("GIF: " + GifErrorText(gif->Error));
    }
    if (EGifCloseFile(gif.release(), &error) != GIF_OK || sink.failed) {
        return EncodeError("GIF: " + GifErrorText(error));
    }
    return out;
}

}  // namespace pelimon
