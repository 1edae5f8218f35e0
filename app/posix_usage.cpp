// The usage page of the POSIX command line, made from the option table.
#include <algorithm>

#include "app/app_texts.h"
#include "app/posix_option_table.h"
#include "app/posix_run.h"
#include "common/text.h"

namespace pelimon {
namespace {

// The help texts start in this column, or a few blanks after options that reach beyond it.
constexpr int kHelpColumn = 28;
constexpr int kLeastGap = 3;

// "--output=DIR", or "--enlarge" for an option without a value.
std::string NamedWithValue(const PosixOptionRow& row) {
    const std::string name = "--" + std::string(row.long_name);
    return row.value ? Format(app_texts::kOptionWithValue, name, row.value->str()) : name;
}

std::string HelpText(const PosixOptionRow& row) {
    if (!row.help) {
        return row.help_values();
    }
    return row.help_values != nullptr ? Format(*row.help, row.help_values()) : row.help->str();
}

// "  -o, --output=DIR          output folder ...": the option with those named on its line.
std::string UsageLine(std::span<const PosixOptionRow> rows, size_t index) {
    const PosixOptionRow& row = rows[index];
    std::string line = row.short_name != 0 ? std::string("  -") + row.short_name + ", " : std::string(6, ' ');
    line += NamedWithValue(row);
    for (size_t next = index + 1; next < rows.size() && rows[next].usage != OptionListing::kOwn; ++next) {
        if (rows[next].usage == OptionListing::kWithOneBefore) {
            line += ", " + NamedWithValue(rows[next]);
        }
    }
    line.append(static_cast<size_t>(std::max(kLeastGap, kHelpColumn - DisplayWidth(line))), ' ');
    return line + HelpText(row) + "\n";
}

}  // namespace

std::string PosixUsage() {
    std::string page = app_texts::kPosixUsageHead.str();
    const std::span<const PosixOptionRow> rows = PosixOptionTable();
    for (size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].usage == OptionListing::kOwn) {
            page += UsageLine(rows, i);
        }
    }
    return page + app_texts::kPosixUsageTail;
}

}  // namespace pelimon
