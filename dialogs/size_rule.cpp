#include "dialogs/size_rule.h"

#include <algorithm>
#include <limits>

#include "common/text.h"
#include "dialogs/csetsize_texts.h"

namespace pelimon {
namespace {

int32_t Saturate(int64_t value) {
    return static_cast<int32_t>(
        std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

}  // namespace

SizeWorkingCopy LoadSizeWorkingCopy(const AppSettings& settings) {
    SizeWorkingCopy copy;
    copy.Base = settings.Base;
    copy.Method = settings.Method;
    copy.Aspect = settings.Aspect;
    copy.Width = settings.Width;
    copy.Height = settings.Height;
    copy.WidthRatio = settings.WidthRatio;
    copy.HeightRatio = settings.HeightRatio;
    copy.Rect = settings.Rect;
    copy.SetSize = settings.SetSize;
    copy.DataSize = settings.DataSize;
    copy.LimitQuality = settings.LimitQuality;
    if (IsPresetBase(copy.Base)) {
        copy.Aspect = kAspectKeep;
        copy.Method = kMethodPixels;
        copy.Rect = kRectFitInto;
    }
    return copy;
}

void StoreSizeWorkingCopy(const SizeWorkingCopy& copy, AppSettings& settings) {
    settings.Base = copy.Base;
    settings.Method = copy.Method;
    settings.Aspect = copy.Aspect;
    settings.Width = copy.Width;
    settings.Height = copy.Height;
    settings.WidthRatio = copy.WidthRatio;
    settings.HeightRatio = copy.HeightRatio;
    settings.Rect = copy.Rect;
    settings.SetSize = copy.SetSize;
    settings.DataSize = copy.DataSize;
    settings.LimitQuality = copy.LimitQuality;
}

void LeavePreset(SizeWorkingCopy& copy) {
    if (IsPresetBase(copy.Base)) {
        copy.Base = kBaseCustom;
    }
}

std::optional<SizeEditEnabling> SizeEditsEnabled(const SizeWorkingCopy& copy) {
    if (copy.Method != kMethodPixels && copy.Method != kMethodRatio) {
        return std::nullopt;
    }
    bool width = true;
    bool height = true;
    if (copy.Aspect == kAspectKeep && copy.Rect == kRectByWidth) {
        height = false;
    } else if (copy.Aspect == kAspectKeep && copy.Rect == kRectByHeight) {
        width = false;
    }
    SizeEditEnabling enabling;
    if (copy.Method == kMethodPixels) {
        enabling.pixel_width = width;
        enabling.pixel_height = height;
    } else {
        enabling.ratio_width = width;
        enabling.ratio_height = height;
    }
    return enabling;
}

AspectRadioState AspectRadios(const SizeWorkingCopy& copy) {
    AspectRadioState state;
    if (copy.Aspect != kAspectKeep || (copy.Method & kMethodKeepsAspectBit) != 0) {
        return state;
    }
    state.enabled = true;
    if (copy.Rect & kRectByWidth) {
        state.checked_rect = kRectByWidth;
    } else if (copy.Rect & kRectByHeight) {
        state.checked_rect = kRectByHeight;
    } else if (copy.Rect & kRectFitInto) {
        state.checked_rect = kRectFitInto;
    }
    return state;
}

void ClearAspect(SizeWorkingCopy& copy) {
    LeavePreset(copy);
    // A Method of kMethodKeepsAspectBit has no rule without the aspect ratio, so the box stays on.
    copy.Aspect = copy.Method == kMethodKeepsAspectBit ? kAspectKeep : kAspectFree;
}

int32_t HalveSize(int32_t value) {
    return value / 2;
}

int32_t DoubleSize(int32_t value, bool pixels) {
    const int32_t doubled = Saturate(int64_t{value} * 2);
    return pixels ? std::min(doubled, kMaxDoubledPixels) : doubled;
}

DataSizeCheck CheckDataSize(const SizeWorkingCopy& copy) {
    if (copy.SetSize != kOn) {
        return DataSizeCheck::kOk;
    }
    if (copy.DataSize <= 0) {
        return DataSizeCheck::kInvalid;
    }
    return copy.DataSize >= kLargeDataSize ? DataSizeCheck::kAskLarge : DataSizeCheck::kOk;
}

bool KeepsPreset(int32_t base, const std::string& pixel_width_text, const std::string& pixel_height_text) {
    return (base == kBase640x480 && pixel_width_text == "640" && pixel_height_text == "480") ||
           (base == kBase480x360 && pixel_width_text == "480" && pixel_height_text == "360");
}

bool SizeValuesValid(const SizeWorkingCopy& copy, int32_t w, int32_t h) {
    if (copy.Method != kMethodPixels && copy.Method != kMethodRatio) {
        return false;
    }
    // Without the aspect ratio both dimensions are used as given; with it, Rect says which.
    const bool uses_width = copy.Aspect == kAspectFree || copy.Rect == kRectByWidth || copy.Rect == kRectFitInto;
    const bool uses_height = copy.Aspect == kAspectFree || copy.Rect == kRectByHeight || copy.Rect == kRectFitInto;
    const int32_t upper = copy.Method == kMethodPixels ? kMaxPixelSize : std::numeric_limits<int32_t>::max();
    const auto usable = [upper](int32_t v) { return v >= 1 && v <= upper; };
    return (!uses_width || usable(w)) && (!uses_height || usable(h));
}

std::optional<SizeDescription> DescribeSize(const SizeWorkingCopy& copy) {
    namespace t = size_texts;
    const bool pixels = copy.Method == kMethodPixels;
    if (!pixels && copy.Method != kMethodRatio) {
        return std::nullopt;
    }
    const int32_t w = pixels ? copy.Width : copy.WidthRatio;
    const int32_t h = pixels ? copy.Height : copy.HeightRatio;
    if (copy.Aspect != kAspectKeep) {
        return SizeDescription{pixels ? t::kPixelBoth : t::kRatioBoth, 2, w, h};
    }
    if (copy.Rect == kRectByWidth) {
        return SizeDescription{pixels ? t::kPixelWidthFixed : t::kRatioWidthFixed, 1, w};
    }
    if (copy.Rect == kRectByHeight) {
        return SizeDescription{pixels ? t::kPixelHeightFixed : t::kRatioHeightFixed, 1, h};
    }
    return SizeDescription{pixels ? t::kPixelRect : t::kRatioRect, 2, w, h};
}

QualityEditResult QualityFromEdit(const std::string& text) {
    const int32_t value = LeadingInt(text);
    if (value == 0) {
        return {true, 1};
    }
    if (value < 0 || value > 100) {
        return {false, 0};
    }
    return {true, value};
}

}  // namespace pelimon
