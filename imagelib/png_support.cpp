#include "imagelib/png_support.h"

#include <cstdio>

namespace pelimon::imagelib_detail {

void PngErrorCallback(png_structp png, png_const_charp message) {
    auto* target = static_cast<PngMessage*>(png_get_error_ptr(png));
    if (target != nullptr) {
        std::snprintf(target->text, sizeof target->text, "%s", message);
    }
    png_longjmp(png, 1);
}

void PngWarningCallback(png_structp, png_const_charp) {}

}  // namespace pelimon::imagelib_detail
