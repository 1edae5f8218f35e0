// Output quality (JPEG, WebP, AVIF): the fixed JpegComp, or the highest quality whose file does not exceed DataSize
// kilobytes, found by a secant search inside a bracket of trial encodes made in memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "common/result.h"
#include "imagelib/image.h"
#include "imagelib/imagelib.h"

namespace pelimon {

struct JpegSizeGoal {
    int32_t set_size = 0;        // SetSize; kOn: aim at data_size; otherwise use jpeg_comp
    int32_t data_size = 50;      // kilobytes of 1024 bytes, for the file as written
    int32_t limit_quality = 20;  // lowest quality the search may choose (1..100)
    int32_t jpeg_comp = 90;      // the fixed quality (1..100)
};

// The quality at which the straight line through (s1, q1) and (s2, q2) reaches `target`:
// q2 + (q2 - q1) * (target - s2) / (s2 - s1). The caller keeps s1 != s2.
double SecantQuality(double q1, double s1, double q2, double s2, double target);

// One trial encode at `quality`: the encoded size in bytes, or why encoding failed.
using JpegTrial = std::function<Result<size_t>(int quality)>;

// The quality for `goal`, asking `trial` for sizes (each quality at most once). With set_size 1:
// limit_quality when even that is too large for data_size * 1024; 100 when 100
// fits; otherwise secant steps (on the logarithm of the size) inside the bracket of the highest
// quality known to fit and the lowest known not to, starting from limit_quality and 100, until
// the two are one quality apart (at most 30 steps). The answer is the bracket's fitting end: a
// quality whose file fits while the next quality's does not. Unlike a plain secant search, which
// ends on its last trial, it never exceeds the target unless even limit_quality does.
Result<int> SearchJpegQuality(const JpegSizeGoal& goal, const JpegTrial& trial);

struct JpegChoice {
    int quality = 0;
    Bytes encoded;  // the encoder's file at that quality
};

// One encode at `quality` (1..100): the encoder's whole file, metadata included.
using QualityEncoder = std::function<Result<Bytes>(int quality)>;

// Encodes at the quality SearchJpegQuality chooses, reusing the bytes of the chosen trial rather
// than encoding it again. Serves every encoder with a 1..100 quality (FormatRow::takes_quality:
// JPEG, WebP, AVIF) under the same rule: the file never exceeds the target when a quality at or
// above limit_quality fits.
Result<JpegChoice> ChooseQuality(const JpegSizeGoal& goal, const QualityEncoder& encode);

}  // namespace pelimon
