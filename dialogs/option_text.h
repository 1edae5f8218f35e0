// Qt-free pieces of the options dialog: the texts its pages show for numbers, and how its check
// boxes map onto the settings.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pelimon {

// The sharpening gain (tenths) as shown beside its slider: 15 -> "1.5".
std::string GainText(int32_t gain);

// The contrast as shown beside its slider: left-aligned in three places, -5 -> "-5 ".
std::string ContrastText(int32_t contrast);

// Effect bits from the three effect boxes. The other bits of the low byte (kEffectKeptBits) are
// kept, bits above it are cleared.
int32_t EffectFromChecks(int32_t effect, bool sharpen, bool grayscale, bool sepia);

// A text that goes into output file names (追加文字, 基本名) must not contain "/": it would put
// the outputs into another folder.
bool IsUsableNameText(std::string_view text);

}  // namespace pelimon
