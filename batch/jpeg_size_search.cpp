#include "batch/jpeg_size_search.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "settings/setting_values.h"

namespace pelimon {
namespace {

// The bracket narrows by at least one quality per step and ordinary size curves close it in a
// handful; the bound only ends a curve so irregular that the secant keeps landing beside one end
// (the answer fits even then).
constexpr int kMaxSecantSteps = 30;

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

  private:
    const JpegTrial& trial_;
    std::map<int, size_t> sizes_;
};

// One end of the search's bracket: a quality and ln(size / target), which the Illinois rule
// scales.
struct BracketEnd {
    int quality;
    double excess;
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
    const int64_t target = int64_t{goal.data_size} * 1024;
    TrialLog trials(trial);

    const Result<size_t> low = trials.SizeAt(limit);
    if (!low.ok()) {
        return low.error();
    }
    if (static_cast<int64_t>(low.value()) >= target) {
        return limit;
    }
    const Result<size_t> high = trials.SizeAt(100);
    if (!high.ok()) {
        return high.error();
    }
    if (static_cast<int64_t>(high.value()) <= target) {
        return 100;
    }

    // The bracket: `fits` is the highest quality known to fit, `over` the lowest known not to.
    // Every step tries a quality strictly between them and moves one end, so the search ends with
    // the two ends one quality apart and `fits` the answer. The secant through the ends picks the
    // quality, on the logarithm of the size: file sizes grow roughly exponentially with quality,
    // so that line is far straighter than the sizes themselves. When one end has stayed for two
    // steps in a row, its distance from the target is halved for the next secant (the Illinois
    // rule), which keeps a curve from letting the other end creep towards the answer.
    const auto excess = [target](size_t size) {
        return std::log(std::max(static_cast<double>(size), 1.0) / static_cast<double>(target));
    };
    BracketEnd fits{limit, excess(low.value())};
    BracketEnd over{100, excess(high.value())};
    int last_moved = 0;  // -1: `fits` moved last, +1: `over` did
    for (int step = 1; step <= kMaxSecantSteps && over.quality - fits.quality > 1; ++step) {
        const double secant = SecantQuality(fits.quality, fits.excess, over.quality, over.excess, 0.0);
        const int quality = std::clamp(static_cast<int>(secant), fits.quality + 1, over.quality - 1);
        const Result<size_t> size = trials.SizeAt(quality);
        if (!size.ok()) {
            return size.error();
        }
        const int moved = static_cast<int64_t>(size.value()) <= target ? -1 : 1;
        (moved < 0 ? fits : over) = BracketEnd{quality, excess(size.value())};
        if (moved == last_moved) {
            (moved < 0 ? over : fits).excess /= 2;
        }
        last_moved = moved;
    }
    return fits.quality;
}

Result<JpegChoice> ChooseQuality(const JpegSizeGoal& goal, const QualityEncoder& encode) {
    // Only two encodes are worth keeping: the highest quality that fits so far (the answer unless
    // a later trial fits better) and the latest one (the answer when nothing fits).
    const int64_t target = int64_t{goal.data_size} * 1024;
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

}  // namespace pelimon
