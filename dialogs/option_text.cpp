#include "dialogs/option_text.h"

#include <cstdio>

#include "settings/setting_values.h"

namespace pelimon {

std::string GainText(int32_t gain) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%-2.1f", gain / 10.0);
    return buffer;
}

std::string ContrastText(int32_t contrast) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%-3d", contrast);
    return buffer;
}

int32_t EffectFromChecks(int32_t effect, bool sharpen, bool grayscale, bool sepia) {
    int32_t result = effect & kEffectKeptBits;
    result |= sharpen ? kEffectSharpen : 0;
    result |= grayscale ? kEffectGrayscale : 0;
    result |= sepia ? kEffectSepia : 0;
    return result;
}

bool IsUsableNameText(std::string_view text) {
    return text.find('/') == std::string_view::npos;
}

}  // namespace pelimon
