#include "batch/target_size.h"

#include <algorithm>
#include <limits>

namespace pelimon {
namespace {

// "Rounded": truncation of x + 0.5 toward zero, saturated to the 32-bit range so that absurd
// settings cannot overflow the conversion.
int32_t Nearest(double x) {
    const double rounded = x + 0.5;
    if (!(rounded < static_cast<double>(std::numeric_limits<int32_t>::max()))) {
        return std::numeric_limits<int32_t>::max();
    }
    if (!(rounded > static_cast<double>(std::numeric_limits<int32_t>::min()))) {
        return std::numeric_limits<int32_t>::min();
    }
    return static_cast<int32_t>(rounded);
}

// A computed side: rounded, and at least one pixel, so that a source of 2000 x 1 still gives an
// image whatever the rule.
int32_t Side(double x) {
    return std::max<int32_t>(1, Nearest(x));
}

class SizeRules {
  public:
    SizeRules(const AppSettings& settings, int32_t width, int32_t height)
        : s_(settings), w_(static_cast<double>(width)), h_(static_cast<double>(height)) {}

    std::optional<TargetSize> Compute() const {
        if (IsPresetBase(s_.Base)) {
            return FitRectangle();
        }
        if (s_.Base != kBaseCustom) {
            return std::nullopt;
        }
        if (s_.Aspect == kAspectFree) {
            return FreeAspect();
        }
        if (s_.Aspect == kAspectKeep) {
            return s_.Method == kMethodPixels ? KeptAspectPixels() : KeptAspectPercent();
        }
        return std::nullopt;
    }

  private:
    // Makes an odd pixel count even when PixEven asks for it.
    int32_t Even(int32_t n) const {
        if (s_.PixEven == kOn && n % 2 != 0 && n < std::numeric_limits<int32_t>::max()) {
            return n + 1;
        }
        return n;
    }

    double WidthSetting() const { return static_cast<double>(s_.Width); }
    double HeightSetting() const { return static_cast<double>(s_.Height); }
    double WidthRatio() const { return static_cast<double>(s_.WidthRatio) / 100.0; }
    double HeightRatio() const { return static_cast<double>(s_.HeightRatio) / 100.0; }

    // Fits inside Width x Height; the height limits on a tie.
    TargetSize FitRectangle() const {
        if (HeightSetting() / h_ <= WidthSetting() / w_) {
            return {Even(Side((w_ / h_) * HeightSetting())), s_.Height};
        }
        return {s_.Width, Even(Side((h_ / w_) * WidthSetting()))};
    }

    std::optional<TargetSize> FreeAspect() const {
        if (s_.Method == kMethodPixels) {
            return TargetSize{s_.Width, s_.Height};
        }
        if (s_.Method == kMethodRatio) {
            return TargetSize{Side(WidthRatio() * w_), Side(h_ * HeightRatio())};
        }
        return std::nullopt;
    }

    std::optional<TargetSize> KeptAspectPixels() const {
        switch (s_.Rect) {
            case kRectByWidth:
                return TargetSize{s_.Width, Even(Side((h_ / w_) * WidthSetting()))};
            case kRectByHeight:
                return TargetSize{Even(Side((w_ / h_) * HeightSetting())), s_.Height};
            case kRectFitInto:
                return FitRectangle();
            default:
                return std::nullopt;
        }
    }

    // The second dimension follows from the unrounded first one.
    TargetSize KeptAspectPercent() const {
        switch (s_.Rect) {
            case kRectByWidth: {
                const double scaled_width = w_ * WidthRatio();
                return {Even(Side(scaled_width)), Even(Side((h_ / w_) * scaled_width))};
            }
            case kRectByHeight: {
                const double scaled_height = h_ * HeightRatio();
                return {Even(Side((w_ / h_) * scaled_height)), Even(Side(scaled_height))};
            }
            case kRectFitInto: {
                const double r = s_.WidthRatio < s_.HeightRatio ? WidthRatio() : HeightRatio();
                return {Even(Side(w_ * r)), Even(Side(r * h_))};
            }
            default:
                return {Even(Side(w_)), Even(Side(h_))};
        }
    }

    const AppSettings& s_;
    double w_;
    double h_;
};

bool IsLargerThanSource(const AppSettings& settings, TargetSize target, int32_t width, int32_t height) {
    if (settings.Equal == kEqualIsLarger) {
        // A side of one pixel cannot shrink: that it stays does not make a 2000 x 1 source's
        // 640 x 1 target larger.
        return target.width > width || target.height > height || (target.width == width && width > 1) ||
               (target.height == height && height > 1);
    }
    return target.width > width || target.height > height;
}

}  // namespace

std::optional<TargetSize> ComputeTargetSize(const AppSettings& settings, int32_t width, int32_t height) {
    if (width <= 0 || height <= 0) {
        return std::nullopt;
    }
    return SizeRules(settings, width, height).Compute();
}

void ComputeTargetSizes(const AppSettings& settings, std::span<ImageJob> jobs) {
    for (ImageJob& job : jobs) {
        if (const auto target = ComputeTargetSize(settings, job.SrcWidth, job.SrcHeight)) {
            job.TargetWidth = target->width;
            job.TargetHeight = target->height;
        }
        const TargetSize current{job.TargetWidth, job.TargetHeight};
        job.LargerThanSource = IsLargerThanSource(settings, current, job.SrcWidth, job.SrcHeight) ? 1 : 0;
    }
}

}  // namespace pelimon
