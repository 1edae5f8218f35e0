// Which sources of a run still have their output: the manifest of the output folder says which
// source, in which state and with which settings, made each output. Deciding takes a stat of the
// source and of the output, never a read of either.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "batch/output_manifest.h"
#include "filelist/file_list.h"
#include "settings/app_settings.h"

namespace pelimon {

struct UpToDateCheck {
    // Per row of the list: what the manifest would record of its source, output left empty;
    // nullopt for a row that is not checked or whose source cannot be examined.
    std::vector<std::optional<ManifestEntry>> stamps;
    std::vector<bool> up_to_date;   // per row: checked, and its output is in place and current
    std::vector<std::string> kept;  // the output paths (output_root + entry) of those rows
    int up_to_date_count = 0;
};

// Stamps every checked row of `list` (its path from the source folder, size, modification time,
// and the hash of the settings that shape outputs with the row's rotation folded in) and, against
// `manifest` (empty: nothing is up to date), marks those whose entry has the same stamp and whose
// output is a file in `output_root`.
UpToDateCheck CheckUpToDate(const AppSettings& settings, const FileList& list, const std::string& output_root,
                            const std::vector<ManifestEntry>& manifest);

}  // namespace pelimon
