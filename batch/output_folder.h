// The output folder of a run: where it is, whether it can be written, and creating it on request.
#pragma once

#include <string>

#include "batch/interaction.h"
#include "common/result.h"
#include "settings/app_settings.h"
#include "settings/output_folder_path.h"

namespace pelimon {

// The run's output folder as OutputFolderOf gives it. Fails (with a message for the person) when
// a folder inside ImagePath is needed but ImagePath is empty.
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
