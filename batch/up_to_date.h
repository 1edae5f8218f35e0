// Which sources of a run still have their output: the manifest of the output folder says which
// source, in which state and with which settings, made each output. Deciding takes a stat of the
// source and of the output, never a read of either.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "batch/output_manifest.h"
#include "filelist/file_list.h"
#include "settings/app_settings.h"

namespace pelimon {

// What the manifest records of a source besides its path.
struct SourceStamp {
    int64_t size = 0;
    int64_t mtime_ns = 0;
    uint64_t settings_hash = 0;
    bool known = false;  // false: the row is not checked or its source cannot be examined
};

// The manifest's name of the source `path`: its path from `source_folder`, or itself when it lies
// outside that folder.
std::string ManifestSourceName(const std::string& path, const std::string& source_folder);

struct UpToDateCheck {
    std::vector<SourceStamp> stamps;  // per row of the list
    std::vector<bool> up_to_date;     // per row: checked, and its output is in place and current
    std::vector<std::string> kept;    // the output paths (output_root + entry) of those rows
    int up_to_date_count = 0;
};

// Stamps every checked row of `list` (its path from the source folder, size, modification time,
// and the hash of the settings that shape outputs with the row's rotation folded in) and, against
// `manifest` (empty: nothing is up to date), marks those whose entry has the same stamp and whose
// output is a file in `output_root`.
UpToDateCheck CheckUpToDate(const AppSettings& settings, const FileList& list, const std::string& output_root,
                            const std::vector<ManifestEntry>& manifest);

}  // namespace pelimon
