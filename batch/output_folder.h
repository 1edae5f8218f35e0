// The output folder of a run: where it is, whether it can be written, and creating it on request.
#pragma once

#include <ctime>
#include <string>

#include "batch/interaction.h"
#include "common/result.h"
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

// Works out the run's output folder from OutputPath, ImagePath and Resize: with Resize 1 the
// folder "resize" + `today`; a folder not starting with '/' lies inside ImagePath; an empty one
// is ImagePath itself. Fails (with a message for the person) when a folder inside ImagePath is
// needed but ImagePath is empty.
Result<OutputFolderPlan> ResolveOutputFolder(const AppSettings& settings, const std::string& today);

// Codes of CheckOutputFolder.
inline constexpr int kFolderUsable = 0;
inline constexpr int kFolderNotWritable = 2;  // read-only file system or no write permission
inline constexpr int kFolderMissing = 3;

// Examines the folder: kFolderMissing when it does not exist (and its nearest existing parent
// could take it), kFolderNotWritable when it, or its nearest existing parent, is on a read-only
// file system, is not writable by this process, or is not a folder at all; else kFolderUsable.
int CheckOutputFolder(const std::string& folder);

// Acts on a code of CheckOutputFolder: tells the person why an unwritable folder cannot be used,
// or offers to create a missing one with every missing level (ReportDone once it is made). Returns
// 0 to go on, 1 to stop (the person said no, or the folder could not be created, which is reported).
int ConfirmOutputFolder(int code, const std::string& folder, Interaction& ui);

}  // namespace pelimon
