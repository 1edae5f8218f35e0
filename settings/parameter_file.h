// The parameter file of unattended runs (pelimon /F job.txt): key lines that override settings
// and a LIST=<< ... >> block naming the files.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/result.h"
#include "settings/app_settings.h"

namespace pelimon {

struct ParameterFile {
    std::vector<std::string> lines;  // parameter lines in file order, comments and outer blanks removed
                                     // (the LIST=<< line included)
    std::vector<std::string> names;  // entries of the name block, trimmed; "name" or "name,angle"
};

// Reads and splits the file. Fails with the message to show when the file cannot be opened
// ("パラメータファイルが見つかりません。") or a line is unreasonably long.
Result<ParameterFile> ReadParameterFile(const std::string& path);

// Applies the parameter lines to the settings; Select becomes 1.
void ApplyParameterLines(const std::vector<std::string>& lines, AppSettings& settings);

// One entry of the name block: a file name relative to ImagePath and its rotation in degrees.
struct NameEntry {
    std::string name;
    int32_t rotation = 0;
};

// Splits "name" or "name,angle" at the first comma; blanks around both parts are dropped.
// No comma gives rotation 0; the angle is read as a leading decimal integer.
NameEntry SplitNameEntry(std::string_view entry);

}  // namespace pelimon
