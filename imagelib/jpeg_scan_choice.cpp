// Progressive scan scripts for the coefficient writer, and the choice among them. Which script
// codes a photograph smallest follows mostly from the quality: only between qualities where two
// scripts take turns does each of them code a band of the picture's middle MCU rows, and the
// smaller file's script is used for all. Every script starts with the DC of all three components
// interleaved, the order in which the DC trellis counts its differences.
#include <algorithm>
#include <array>
#include <vector>

#include "imagelib/jpeg_coefficients.h"

namespace pelimon::imagelib_detail {

namespace {

constexpr jpeg_scan_info Scan(int component, int first, int last, int high = 0, int low = 0) {
    return {1, {component, 0, 0, 0}, first, last, high, low};
}
constexpr jpeg_scan_info AllDc(int high = 0, int low = 0) {
    return {3, {0, 1, 2, 0}, 0, 0, high, low};
}

// Spectral selection only: the two lowest luma frequencies first, then the rest of each component.
constexpr jpeg_scan_info kSpectralLow[] = {AllDc(), Scan(0, 1, 2), Scan(0, 3, 63), Scan(1, 1, 63), Scan(2, 1, 63)};
// libjpeg's standard progression: spectral selection with one bit of successive approximation.
constexpr jpeg_scan_info kApproximated[] = {
    AllDc(0, 1),          Scan(0, 1, 5, 0, 2), Scan(2, 1, 63, 0, 1), Scan(1, 1, 63, 0, 1), Scan(0, 6, 63, 0, 2),
    Scan(0, 1, 63, 2, 1), AllDc(1, 0),         Scan(2, 1, 63, 1, 0), Scan(1, 1, 63, 1, 0), Scan(0, 1, 63, 1, 0)};
// Luma refined by one bit, chroma whole.
constexpr jpeg_scan_info kLumaRefined[] = {AllDc(),        Scan(0, 1, 8, 0, 1), Scan(0, 9, 63, 0, 1),
                                           Scan(1, 1, 63), Scan(2, 1, 63),      Scan(0, 1, 63, 1, 0)};

// On the bench's photographs at 640x480, against the smallest of the three scripts here and one
// sequential scan for each image: successive approximation was within 0.1 % at quality 95 and
// lost 2-5 % below 85; luma refinement was within 0.4 % from 90 to 92 (a trial there gained at
// most 0.2 %, for an eighth of the encoding time); spectral selection alone was within 0.4 %
// below 80; between those luma refinement and spectral selection alternated, each 0.4-0.7 %
// behind the better of the two (sequential coding was 2.6-3.6 % larger everywhere). A sample of
// fewer blocks misjudges the scripts, whose Huffman tables weigh more in it than in the picture.
// At 1600x1200 the same choice was within 0.4 % of the smallest at qualities 70 to 90.
constexpr int kApproximatedFrom = 93;
constexpr int kLumaRefinedFrom = 90;
constexpr int kTrialsFrom = 78;
const std::array<ScanScript, 2> kTrialCandidates = {ScanScript{kLumaRefined}, ScanScript{kSpectralLow}};

// The sample: about this many luma blocks of middle rows (all rows of a smaller picture).
constexpr int kSampleBlocks = 1200;

}  // namespace

ScanScript ChooseScanScript(const CoefficientPicture& picture, int quality) {
    std::vector<ScanScript> candidates;
    if (quality >= kApproximatedFrom) {
        candidates = {kApproximated};
    } else if (quality >= kLumaRefinedFrom) {
        candidates = {kLumaRefined};
    } else if (quality >= kTrialsFrom) {
        candidates = {kTrialCandidates.begin(), kTrialCandidates.end()};
    } else {
        candidates = {kSpectralLow};
    }
    const int mcu_side = picture.subsampled ? 16 : 8;
    const int mcu_columns = (picture.width + mcu_side - 1) / mcu_side;
    const int mcu_rows = (picture.height + mcu_side - 1) / mcu_side;
    const int luma_blocks_per_mcu = picture.subsampled ? 4 : 1;
    const int sample_rows = std::clamp(kSampleBlocks / (mcu_columns * luma_blocks_per_mcu), 1, mcu_rows);
    // A picture no larger than the sample is tried whole, and there one sequential scan, whose
    // single set of Huffman tables weighs less, may be the smallest.
    if (sample_rows == mcu_rows) {
        candidates.push_back(ScanScript{});
    }
    if (candidates.size() == 1) {
        return candidates.front();
    }
    const int first_row = (mcu_rows - sample_rows) / 2;
    ScanScript best = candidates.front();
    size_t best_size = SIZE_MAX;
    Bytes trial;
    for (ScanScript script : candidates) {
        JpegErrorManager errors;
        if (!WriteCoefficients(picture, script, trial, errors, first_row, sample_rows)) {
            continue;
        }
        if (trial.size() < best_size) {
            best_size = trial.size();
            best = script;
        }
    }
    return best;
}

}  // namespace pelimon::imagelib_detail
