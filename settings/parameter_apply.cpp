// Applying parameter lines to AppSettings, and the entries of the name block.
#include "common/text.h"
#include "settings/parameter_file.h"
#include "settings/parameter_syntax.h"
#include "settings/settings_table.h"

namespace pelimon {
namespace {

void ApplyLine(std::string_view line, AppSettings& settings) {
    const KeyValue parts = SplitKeyValue(StripComment(line));
    const SettingRow* row = SettingRowOfParameter(parts.key);
    if (row == nullptr) {
        return;
    }
    std::string value(parts.value.value_or(std::string_view{}));
    if (value.empty() && row->empty_parameter == EmptyParameter::kToDefault) {
        row->Reset(settings);
        return;
    }
    if (value.empty() && row->IsNumber()) {
        return;  // a number without a value changes nothing
    }
    // A folder gets its trailing '/'; an empty one stays empty (for OutputPath: the source
    // folder) instead of becoming "/", the root of the file system.
    if (row->kind == SettingKind::kFolder && !value.empty() && !value.ends_with('/')) {
        value += '/';
    }
    row->SetFromText(settings, value);
}

}  // namespace

void ApplyParameterLines(const std::vector<std::string>& lines, AppSettings& settings) {
    for (const std::string& line : lines) {
        ApplyLine(line, settings);
        settings.Select = 1;
    }
}

NameEntry SplitNameEntry(std::string_view entry) {
    const size_t comma = entry.find(',');
    if (comma == std::string_view::npos) {
        return {std::string(TrimBlanks(entry)), 0};
    }
    return {std::string(TrimBlanks(entry.substr(0, comma))), LeadingInt(TrimBlanks(entry.substr(comma + 1)))};
}

}  // namespace pelimon
