// The pixel size a run would give a source, without preparing a job: what the file list shows
// beside each file once the size settings are known.
#pragma once

#include <cstdint>
#include <optional>

#include "batch/target_size.h"
#include "settings/app_settings.h"

namespace pelimon {

// The output's size for an upright source of width x height pixels (after orientation and
// rotation) under `settings`, by the rules a run applies (target size, then BigSize for a target
// not smaller than the source). nullopt when the run would write nothing for it (BigSize leaves
// such files alone) or the settings define no size.
std::optional<TargetSize> OutputPixelSize(const AppSettings& settings, int32_t width, int32_t height);

}  // namespace pelimon
