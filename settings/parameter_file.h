// The parameter file of unattended runs (pelimon /F job.txt): key lines that override settings
// and a LIST=<< ... >> block naming the files.
#pragma once

#include <string>
#include <vector>

#include "common/result.h"
#include "settings/app_settings.h"

namespace pelimon {

struct ParameterFile {
    std::vector<std::string> lines;  // parameter lines in file order (the LIST=<< line included)
    std::vector<std::string> names;  // entries of the name block, trimmed; "name" or "name,angle"
};

// Reads and splits the file. Fails with the message to show when the file cannot be opened
// ("パラメータファイルが見つかりません。") or a line is unreasonably long.
Result<ParameterFile> ReadParameterFile(const std::string& path);

// Applies the parameter lines to the settings; Select becomes 1.
void ApplyParameterLines(const std::vector<std::string>& lines, AppSettings& settings);

}  // namespace pelimon
