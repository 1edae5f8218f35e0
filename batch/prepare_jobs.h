// The preparation phase: one job per checked file that exists, named and measured from headers.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "batch/image_job.h"
#include "batch/interaction.h"
#include "filelist/file_list.h"
#include "settings/app_settings.h"

namespace pelimon {

struct PrepareInput {
    AppSettings& settings;             // the run's copy; ImageNum is updated here
    const FileList& list;              // rows in list order
    const std::string& output_folder;  // the resolved working folder, ends with '/'
    Interaction& ui;                   // progress and cancel
    int checked_files = 0;             // checked rows of the list: the run's count of files
    std::time_t now = 0;               // stands for the local time (a zero shooting year becomes it)
};

struct PreparedJobs {
    std::vector<ImageJob> jobs;  // in list order
    bool cancelled = false;
};

// The source folder of a run (ImagePath), ending with '/' unless empty.
std::string SourceFolderOf(const AppSettings& settings);
// The file of `row`: <row folder or source_folder>/<name>.
inline std::string SourcePathOf(const FileRow& row, const std::string& source_folder) {
    return (row.folder.empty() ? source_folder : row.folder) + row.name;
}
// A list rotation as 0, 90, 180 or 270 (any multiple of 90 clockwise, negative ones too).
inline int32_t NormalRotation(int rotation) {
    return ((rotation % 360) + 360) % 360;
}

// Walks the list rows (a row's file is <row folder or ImagePath>/<name>), polling cancel before
// each and, before each checked one, reporting its name and progress 0 of checked_files (no
// file is finished while they are examined). Every checked row whose file exists becomes a job: source fields,
// OutputType, output name (running number from StartNum + ImageNum + position), upright size from the image header,
// Exif length, shooting date and, with AutoRotate 1, the Exif Orientation of a JPEG or WebP (a HEIF/AVIF is turned by
// its decoder). Pixels are never decoded. A checked file that no longer exists takes no job; one whose header cannot be
// read, or that has no output format (FileType names none, or "same as the source" of a name that shows no format:
// OutputType 0, no extension), keeps its job (and number) with PrepareError set. ImageNum becomes 0 first when SaveNum
// is 0, and grows by the number of jobs unless the walk was cancelled.
PreparedJobs PrepareJobs(const PrepareInput& input);

}  // namespace pelimon
