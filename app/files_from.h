// The sources of --files-from: a list of names, one a line or NUL-separated, read from a file or
// standard input, each relative to the source folder or absolute.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/result.h"
#include "filelist/file_list.h"
#include "settings/app_settings.h"

namespace pelimon {

// The names in the list `path` ("-": standard input), split at line breaks or, with
// `null_separated`, at NUL bytes; empty names are dropped. Fails with one sentence naming the list.
Result<std::vector<std::string>> ReadFilesFrom(const std::string& path, bool null_separated);

struct NamedSources {
    FileList list;                     // one checked row per image file named, in list order
    std::vector<std::string> missing;  // names that are not there, as given
};

// Rows for `names` below `source_folder` (absolute, ends with '/'), which becomes ImagePath. A
// name inside the source folder keeps its path from there ("2026/kyoto/a.heic", so its output
// mirrors the tree whoever reduces it); one outside it is a file of its own folder. Folders and
// files whose type is not one of ImageType are passed over, as a folder listing passes them over,
// and so are the files below `output_folder` when it lies inside the source folder (the outputs of
// earlier runs that `find` lists with the sources).
NamedSources ListNamedSources(const std::vector<std::string>& names, const std::string& source_folder,
                              const std::string& output_folder, int32_t rotation, AppSettings& settings);

}  // namespace pelimon
