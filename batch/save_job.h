// Writing one rendered output into place.
#pragma once

#include <span>

#include "batch/image_job.h"
#include "common/result.h"
#include "settings/app_settings.h"

namespace pelimon {

// Writes `bytes` to job.DestPath through a temporary file in the same folder that is renamed
// into place, so that no reader ever sees a partial file; an existing file there is replaced.
// Then, with ExifDate 1 and a ShotDate other than "0", sets the file's modification time to the
// shooting date. Fails with a Japanese message naming the output.
Status SaveJob(const AppSettings& settings, const ImageJob& job, std::span<const uint8_t> bytes);

}  // namespace pelimon
