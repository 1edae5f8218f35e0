// Target sizes: how large each output is, from the size settings and the source's upright size.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "batch/image_job.h"
#include "settings/app_settings.h"

namespace pelimon {

struct TargetSize {
    int32_t width = 0;
    int32_t height = 0;
    friend bool operator==(const TargetSize&, const TargetSize&) = default;
};

// The target for a source of width x height pixels (after orientation and rotation) under the
// size settings (Base, Method, Aspect, Rect, Width, Height, WidthRatio, HeightRatio, PixEven).
// A side the rule computes from the source is at least 1 (a 2000 x 1 source fitted into 320 x 240
// gives 320 x 1); sides taken from the settings stay as they are. nullopt for the setting
// combinations that define no size, and for a source with a zero or negative dimension (nothing
// to scale from).
std::optional<TargetSize> ComputeTargetSize(const AppSettings& settings, int32_t width, int32_t height);

// Fills TargetWidth, TargetHeight and LargerThanSource of every job from its SrcWidth and
// SrcHeight. LargerThanSource is 1 when the target is not smaller than the source: with Equal 1
// a dimension equal to the source's counts as larger (unless it is one pixel, which cannot
// shrink), otherwise only a larger one does. Jobs without a defined size keep their targets
// (0 x 0 for a fresh job) and are refused by the renderer.
void ComputeTargetSizes(const AppSettings& settings, std::span<ImageJob> jobs);

}  // namespace pelimon
