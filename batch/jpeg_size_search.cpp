#include "batch/jpeg_size_search.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "settings/setting_values.h"

namespace pelimon {
namespace {

constexpr int kMaxSecantSteps = 30;
constexpr double kCloseEnoughBytes = 100.0;

int ClampQuality(int32_t quality) {
    return std::clamp(quality, 1, 100);
}

// Remembers the size of every quality tried, so that the secant steps and the final check never
// encode one quality twice.
class TrialLog {
  public:
    explicit TrialLog(const JpegTrial& trial) : trial_(trial) {}

    Result<size_t> SizeAt(int quality) {
        if (const auto found = sizes_.find(quality); found != sizes_.end()) {
            return found->second;
        }
        Result<size_t> size = trial_(quality);
        if (size.ok()) {
            sizes_.emplace(quality, size.value());
        }
        return size;
    }

    bool Tried(int quality) const { return sizes_.contains(quality); }

    // The highest quality tried whose size is within `target`; 0 when none.
    int HighestFitting(int64_t target) const {
        int best = 0;
        for (const auto& [quality, size] : sizes_) {
            if (static_cast<int64_t>(size) <= target) {
                best = quality;
            }
        }
        return best;
    }

  private:
    const JpegTrial& trial_;
    std::map<int, size_t> sizes_;
};

}  // namespace

double SecantQuality(double q1, double s1, double q2, double s2, double target) {
    return q2 - s2 * (q2 - q1) / (s2 - s1) + target * (q2 - q1) / (s2 - s1);
}

Result<int> SearchJpegQuality(const JpegSizeGoal& goal, const JpegTrial& trial) {
    if (goal.set_size != kOn) {
        return ClampQuality(goal.jpeg_comp);
    }
    const int limit = ClampQuality(goal.limit_quality);
    // Signed, so that metadata larger than the whole budget leaves nothing that fits.
    const int64_t target = int64_t{goal.data_size} * 1024 - static_cast<int64_t>(goal.added_bytes);
    TrialLog log(trial);

    const Result<size_t> low = log.SizeAt(limit);
    if (!low.ok()) {
        return low.error();
    }
    if (static_cast<int64_t>(low.value()) >= target) {
        return limit;
    }
    const Result<size_t> high = log.SizeAt(100);
    if (!high.ok()) {
        return high.error();
    }
    if (static_cast<int64_t>(high.value()) <= target) {
        return 100;
    }

    double q1 = limit;
    double s1 = static_cast<double>(low.value());
    double q2 = 100;
    double s2 = static_cast<double>(high.value());
    const auto goal_bytes = static_cast<double>(target);
    for (int step = 1; step <= kMaxSecantSteps && s1 != s2; ++step) {
        double q = SecantQuality(q1, s1, q2, s2, goal_bytes);
        q = std::clamp(q, static_cast<double>(limit), 100.0);
        const Result<size_t> size = log.SizeAt(static_cast<int>(q));
        if (!size.ok()) {
            return size.error();
        }
        q1 = q2;
        s1 = s2;
        q2 = q;
        s2 = static_cast<double>(size.value());
        if (std::fabs(s2 - goal_bytes) <= kCloseEnoughBytes || std::fabs(q1 - q2) <= 1.0) {
            break;
        }
    }

    // The secant may end just above the target; the file must not. The quality below the last
    // trial is the likeliest fit then, so it is tried before settling for an older one.
    const int last = static_cast<int>(q2);
    if (s2 > goal_bytes && last > limit && !log.Tried(last - 1)) {
        if (const Result<size_t> below = log.SizeAt(last - 1); !below.ok()) {
            return below.error();
        }
    }
    int best = log.HighestFitting(target);
    if (best < 100 && !log.Tried(best + 1)) {
        const Result<size_t> above = log.SizeAt(best + 1);
        if (!above.ok()) {
            return above.error();
        }
        if (static_cast<int64_t>(above.value()) <= target) {
            ++best;
        }
    }
    return best;
}

Result<JpegChoice> ChooseQuality(const JpegSizeGoal& goal, const QualityEncoder& encode) {
    // Only two encodes are worth keeping: the highest quality that fits so far (the answer unless
    // a later trial fits better) and the latest one (the answer when nothing fits).
    const int64_t target = int64_t{goal.data_size} * 1024 - static_cast<int64_t>(goal.added_bytes);
    JpegChoice best_fit;
    JpegChoice latest;
    const JpegTrial trial = [&](int quality) -> Result<size_t> {
        Result<Bytes> encoded = encode(quality);
        if (!encoded.ok()) {
            return encoded.error();
        }
        const size_t size = encoded.value().size();
        if (static_cast<int64_t>(size) <= target && quality > best_fit.quality) {
            best_fit = {quality, std::move(encoded).value()};
        } else {
            latest = {quality, std::move(encoded).value()};
        }
        return size;
    };
    const Result<int> quality = SearchJpegQuality(goal, trial);
    if (!quality.ok()) {
        return quality.error();
    }
    if (best_fit.quality == quality.value()) {
        return best_fit;
    }
    if (latest.quality == quality.value()) {
        return latest;
    }
    Result<Bytes> encoded = encode(quality.value());
    if (!encoded.ok()) {
        return encoded.error();
    }
    return JpegChoice{quality.value(), std::move(encoded).value()};
}

Result<JpegChoice> ChooseJpegQuality(const Image& image, const JpegSizeGoal& goal) {
    return ChooseQuality(goal, [&image](int quality) { return EncodeJpeg(image, quality); });
}

}  // namespace pelimon
