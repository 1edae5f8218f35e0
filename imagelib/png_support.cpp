#include "imagelib/png_support.h"

#include <cstdio>

#include "imagelib/codec_support.h"

namespace pelimon::imagelib_detail {

void PngErrorCallback(png_structp png, png_const_charp message) {
    auto* target = static_cast<PngMessage*>(png_get_error_ptr(png));
    if (target != nullptr) {
        std::snprintf(target->text, sizeof target->text, "%s", message);
    }
    png_longjmp(png, 1);
}

void PngWarningCallback(png_structp, png_const_charp) {}

void CompositeRow(const uint8_t* rgba, size_t width, uint8_t* rgb) {
    for (size_t x = 0; x < width; ++x) {
        const uint32_t alpha = rgba[4 * x + 3];
        for (size_t c = 0; c < 3; ++c) {
            rgb[3 * x + c] = OverWhite(rgba[4 * x + c], alpha);
        }
    }
}

}  // namespace pelimon::imagelib_detail
