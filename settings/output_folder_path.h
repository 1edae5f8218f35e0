// Where the settings put a run's outputs: the output folder as OutputPath, ImagePath and Resize
// name it. The batch writes there; the source listing leaves it out when it lies inside the source.
#pragma once

#include <ctime>
#include <optional>
#include <string>

#include "settings/app_settings.h"

namespace pelimon {

// The local date of `now` as "%d%02d%02d" text (20070502), for the "resize" + date folder.
std::string LocalDateText(std::time_t now);
// Today's local date as LocalDateText gives it; what callers of RunBatch pass as `today`.
std::string TodayDateText();

struct OutputFolderPlan {
    std::string folder;             // absolute working folder of the run, ends with '/'
    std::string saved_output_path;  // what OutputPath holds after the run ("resize" + date with Resize 1)
};

// The run's output folder from OutputPath, ImagePath and Resize: with Resize 1 the folder
// "resize" + `today`; a folder not starting with '/' lies inside ImagePath; an empty one is
// ImagePath itself. nullopt when a folder inside ImagePath is needed but ImagePath is empty.
std::optional<OutputFolderPlan> OutputFolderOf(const AppSettings& settings, const std::string& today);

}  // namespace pelimon
