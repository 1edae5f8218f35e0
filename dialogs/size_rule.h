// The size rule as the size settings dialog edits it: its working copy, which edits are active,
// halving and doubling, validation at OK and the one-line description. Qt-free.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "common/message.h"
#include "settings/app_settings.h"

namespace pelimon {

// Largest pixel size the dialog accepts for a dimension the rule fixes.
inline constexpr int32_t kMaxPixelSize = 2624;
// 2 倍にする never makes a pixel size larger than this.
inline constexpr int32_t kMaxDoubledPixels = 10496;
// Data sizes (KB) from this one on are questioned before they are accepted.
inline constexpr int32_t kLargeDataSize = 5000;

// The settings the size dialog edits; loaded when it opens, stored only by a successful OK.
struct SizeWorkingCopy {
    int32_t Base = kBase640x480;
    int32_t Method = kMethodPixels;
    int32_t Aspect = kAspectKeep;
    int32_t Width = 640;
    int32_t Height = 480;
    int32_t WidthRatio = 70;
    int32_t HeightRatio = 70;
    int32_t Rect = kRectByWidth;
    int32_t SetSize = kOff;
    int32_t DataSize = 50;
    int32_t LimitQuality = 20;
};

// Copies the size settings. A preset (Base 1 or 2) stands for pixels, keep aspect, fit into the
// rectangle, so those three are forced for it.
SizeWorkingCopy LoadSizeWorkingCopy(const AppSettings& settings);
void StoreSizeWorkingCopy(const SizeWorkingCopy& copy, AppSettings& settings);

// Any edit that leaves a preset's rule makes it the dialog's own rule (Base 4).
void LeavePreset(SizeWorkingCopy& copy);

// Which of the four size edits are enabled; std::nullopt for a Method that is neither pixels
// nor ratio (the edits then stay as they are).
struct SizeEditEnabling {
    bool pixel_width = false;
    bool pixel_height = false;
    bool ratio_width = false;
    bool ratio_height = false;
};
std::optional<SizeEditEnabling> SizeEditsEnabled(const SizeWorkingCopy& copy);

// State of the three aspect radios: enabled or not, and the Rect value whose radio is checked
// (0: leave the radios' check marks as they are).
struct AspectRadioState {
    bool enabled = false;
    int32_t checked_rect = 0;
};
AspectRadioState AspectRadios(const SizeWorkingCopy& copy);

// The aspect check box was cleared by the user.
void ClearAspect(SizeWorkingCopy& copy);

// 半分にする / 2 倍にする on one edit value. Halving rounds toward zero. Doubling a pixel value is
// limited to kMaxDoubledPixels; a percentage is doubled without a limit but saturates at the
// 32-bit range.
int32_t HalveSize(int32_t value);
int32_t DoubleSize(int32_t value, bool pixels);

// The data-size check of OK (only when SetSize is 1).
enum class DataSizeCheck { kOk, kInvalid, kAskLarge };
DataSizeCheck CheckDataSize(const SizeWorkingCopy& copy);

// The preset check of OK: Base 1 with "640" x "480" or Base 2 with "480" x "360" in the pixel
// edits keeps the preset.
bool KeepsPreset(int32_t base, const std::string& pixel_width_text, const std::string& pixel_height_text);

// Whether w x h (the pair of edits of the copy's Method) make a usable rule: every dimension
// the rule uses must be at least 1, and at most kMaxPixelSize for pixels. A Method that is
// neither pixels nor ratio is never valid.
bool SizeValuesValid(const SizeWorkingCopy& copy, int32_t w, int32_t h);

// The one-line description of the rule: a format of size_texts such as "Fit into: %1 x %2 pixel"
// and the numbers for its placeholders; std::nullopt for a Method that is neither pixels nor ratio.
// The window fills in the format in its language (SizeDescriptionText in csetsize.h).
struct SizeDescription {
    Message format;
    int32_t count = 1;   // placeholders in `format`: 1 (%1) or 2 (%1 and %2)
    int32_t first = 0;   // %1
    int32_t second = 0;  // %2, when count is 2
};
std::optional<SizeDescription> DescribeSize(const SizeWorkingCopy& copy);

// What a change of the quality edit (LimitQuality) does: 0 (or no digits) means 1, 1..100 are
// taken, anything else is refused with the range message.
struct QualityEditResult {
    bool in_range = false;
    int32_t quality = 0;  // the quality to take when in_range
};
QualityEditResult QualityFromEdit(const std::string& text);

}  // namespace pelimon
