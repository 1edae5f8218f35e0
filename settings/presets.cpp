#include "settings/presets.h"

#include <algorithm>
#include <charconv>

#include "common/text.h"
#include "settings/settings_file.h"
#include "settings/settings_table.h"
#include "settings/settings_texts.h"

namespace pelimon {
namespace {

constexpr std::string_view kSectionPrefix = "Preset:";

std::string SectionOf(std::string_view name) {
    return std::string(kSectionPrefix) + std::string(name);
}

// The preset name a section stands for; nullopt for a section that is not a preset's.
std::optional<std::string> PresetNameOfSection(std::string_view section) {
    if (section.size() < kSectionPrefix.size() ||
        !EqualsIgnoreCase(section.substr(0, kSectionPrefix.size()), kSectionPrefix)) {
        return std::nullopt;
    }
    return std::string(section.substr(kSectionPrefix.size()));
}

size_t CharacterCount(std::string_view utf8) {
    return static_cast<size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Why a file's text cannot be the value of `row` in a preset; nullopt when it can.
std::optional<std::string> ValueProblem(const SettingRow& row, const std::string& text) {
    if (!row.IsNumber()) {
        return std::nullopt;
    }
    int64_t number = 0;
    const char* begin = text.data() + (text.starts_with('+') ? 1 : 0);
    const char* end = text.data() + text.size();
    const auto [ptr, error] = std::from_chars(begin, end, number);
    const bool whole =
        !text.empty() && error == std::errc() && ptr == end && number >= INT32_MIN && number <= INT32_MAX;
    const bool in_range = row.kind == SettingKind::kSwitch   ? (number == kOff || number == kOn)
                          : row.kind == SettingKind::kNumber ? (number >= row.min && number <= row.max)
                                                             : true;
    if (whole && in_range) {
        return std::nullopt;
    }
    return settings_texts::PresetValueDamaged(std::string(row.key), text);
}

}  // namespace

const Preset* PresetList::Find(std::string_view name) const {
    const auto found = std::find_if(presets.begin(), presets.end(),
                                    [name](const Preset& preset) { return EqualsIgnoreCase(preset.name, name); });
    return found == presets.end() ? nullptr : &*found;
}

std::optional<std::string> PresetNameProblem(std::string_view name) {
    if (name.empty()) {
        return settings_texts::kPresetNameEmpty.str();
    }
    if (CharacterCount(name) > kMaxPresetNameLength) {
        return Format(settings_texts::kPresetNameTooLong, kMaxPresetNameLength);
    }
    if (!IsValidUtf8(name) || std::any_of(name.begin(), name.end(), [](char c) {
            return static_cast<unsigned char>(c) < 0x20 || c == 0x7F || c == '[' || c == ']' || c == '/' || c == '\\';
        })) {
        return settings_texts::kPresetNameCharacters.str();
    }
    if (IsBlank(name.front()) || IsBlank(name.back())) {
        return settings_texts::kPresetNameBlanks.str();
    }
    if (name.front() == '.') {
        return settings_texts::kPresetNameDot.str();
    }
    return std::nullopt;
}

std::string PresetFolderName(std::string_view name) {
    std::string folder(name);
    std::replace_if(
        folder.begin(), folder.end(),
        [](char c) { return std::string_view(":*?\"<>|").find(c) != std::string_view::npos; }, '_');
    if (!folder.empty() && folder.back() == '.') {
        folder.back() = '_';
    }
    return folder;
}

Preset PresetOf(std::string name, const AppSettings& settings) {
    Preset preset{std::move(name), AppSettings()};
    ApplyPreset({{}, settings}, preset.values);
    return preset;
}

void ApplyPreset(const Preset& preset, AppSettings& settings) {
    for (const SettingRow& row : SettingsTable()) {
        if (row.InPreset()) {
            row.SetFromText(settings, row.Text(preset.values));
        }
    }
}

bool SameValues(const Preset& a, const Preset& b) {
    const std::span<const SettingRow> rows = SettingsTable();
    return std::all_of(rows.begin(), rows.end(), [&a, &b](const SettingRow& row) {
        return !row.InPreset() || row.Text(a.values) == row.Text(b.values);
    });
}

PresetList ReadPresets(const IniDocument& document, const std::string& origin) {
    PresetList list;
    for (const std::string& section : document.SectionNames()) {
        std::optional<std::string> name = PresetNameOfSection(section);
        if (!name) {
            continue;
        }
        std::optional<std::string> problem = PresetNameProblem(*name);
        if (!problem && list.Find(*name) != nullptr) {
            problem = settings_texts::kPresetTwice.str();
        }
        Preset preset{*name, AppSettings()};
        for (const SettingRow& row : SettingsTable()) {
            if (problem || !row.InPreset()) {
                continue;
            }
            if (const std::optional<std::string> value = document.Get(section, row.key)) {
                problem = ValueProblem(row, *value);
                row.SetFromText(preset.values, *value);
            }
        }
        if (problem) {
            list.notes.push_back(settings_texts::PresetIgnored(*name, origin, *problem));
            continue;
        }
        list.presets.push_back(std::move(preset));
    }
    return list;
}

void WritePreset(const Preset& preset, IniDocument& document) {
    const std::string section = SectionOf(preset.name);
    document.RemoveSection(section);
    for (const SettingRow& row : SettingsTable()) {
        if (row.InPreset()) {
            document.Set(section, row.key, row.Text(preset.values));
        }
    }
}

bool RemovePreset(std::string_view name, IniDocument& document) {
    return document.RemoveSection(SectionOf(name));
}

Result<PresetList> LoadPresets(const std::string& path) {
    Result<IniDocument> document = ReadSettingsDocument(path);
    if (!document) {
        return document.error();
    }
    return ReadPresets(document.value(), path);
}

Status StorePreset(const std::string& path, const Preset& preset) {
    return EditSettingsFile(path, [&preset](IniDocument& document) { WritePreset(preset, document); });
}

Status DeletePreset(const std::string& path, std::string_view name) {
    Result<IniDocument> document = ReadSettingsDocument(path);
    if (!document) {
        return document.error();
    }
    if (!RemovePreset(name, document.value())) {
        return Error{settings_texts::NoSuchPreset(std::string(name), path), path};
    }
    return EditSettingsFile(path, [name](IniDocument& edited) { RemovePreset(name, edited); });
}

}  // namespace pelimon
