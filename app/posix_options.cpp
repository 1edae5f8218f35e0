#include "app/posix_options.h"

#include <algorithm>
#include <filesystem>
#include <string_view>

#include "app/app_texts.h"
#include "app/posix_option_table.h"
#include "settings/setting_values.h"

namespace pelimon {
namespace {

// `path` taken from `current_directory` when relative, normalised, ending with '/'.
std::string FolderOf(const std::string& current_directory, const std::string& path) {
    std::string text = (std::filesystem::path(current_directory) / path).lexically_normal().string();
    if (!text.ends_with('/')) {
        text += '/';
    }
    return text;
}

const PosixOptionRow* FindLong(std::string_view name) {
    for (const PosixOptionRow& option : PosixOptionTable()) {
        if (option.long_name == name) {
            return &option;
        }
    }
    return nullptr;
}

const PosixOptionRow* FindShort(char name) {
    for (const PosixOptionRow& option : PosixOptionTable()) {
        if (option.short_name != 0 && option.short_name == name) {
            return &option;
        }
    }
    return nullptr;
}

}  // namespace

bool IsPosixCommandLine(std::span<const std::string> args) {
    for (const std::string& arg : args) {
        if (arg.starts_with('-')) {
            return true;
        }
    }
    return false;
}

Result<PosixOptions> ParsePosixOptions(std::span<const std::string> args) {
    PosixOptions options;
    OptionGroups groups;
    bool options_end = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!options_end && (arg == "/Q" || arg == "/F" || arg == "/G")) {
            return OptionError(app_texts::kSwitchWithOptions, arg);
        }
        if (options_end || arg.size() < 2 || arg[0] != '-') {
            options.paths.push_back(arg);  // "-" alone is a name too
            continue;
        }
        if (arg == "--") {
            options_end = true;
            continue;
        }
        const PosixOptionRow* option = nullptr;
        OptionValue given;
        std::optional<std::string> attached;  // "--name=value" or "-jVALUE"
        if (arg.starts_with("--")) {
            const size_t equals = arg.find('=');
            given.name = arg.substr(0, equals);
            option = FindLong(std::string_view(given.name).substr(2));
            if (equals != std::string::npos) {
                attached = arg.substr(equals + 1);
            }
        } else {
            given.name = arg.substr(0, 2);
            option = FindShort(arg[1]);
            if (arg.size() > 2) {
                attached = arg.substr(2);
            }
        }
        if (option == nullptr) {
            return OptionError(app_texts::kUnknownOption, given.name);
        }
        if (!option->TakesValue() && attached) {
            return OptionError(app_texts::kUnexpectedValue, given.name);
        }
        if (option->TakesValue()) {
            if (attached) {
                given.value = *attached;
            } else if (i + 1 < args.size()) {
                given.value = args[++i];
            } else {
                return OptionError(app_texts::kMissingValue, given.name);
            }
        }
        const size_t changes_before = options.changes.size();
        if (Status set = option->set(given, options, groups); !set) {
            return set.error();
        }
        for (size_t change = changes_before; change < options.changes.size(); ++change) {
            options.changes[change].option = static_cast<size_t>(option - PosixOptionTable().data());
        }
    }
    if (options.files_from && options.paths.size() > 1) {
        return OptionError(app_texts::kFilesFromOneFolder, "--files-from");
    }
    if (options.null_separated && !options.files_from) {
        return OptionError(app_texts::kNullWithoutFilesFrom, "-0");
    }
    const bool preset_command =
        options.list_presets || options.export_preset || options.import_preset || options.delete_preset;
    if (preset_command && (!options.paths.empty() || options.files_from)) {
        return OptionError(app_texts::kPresetCommandWithFiles);
    }
    if (options.save_preset && options.presets.size() > 1) {
        return OptionError(app_texts::kSaveOneOfPresets);
    }
    if (options.paths.empty() && !options.files_from && !options.help && !options.version && !preset_command &&
        !options.save_preset) {
        return OptionError(app_texts::kNoSources);
    }
    return options;
}

AppSettings PosixDefaults(const std::string& current_directory) {
    AppSettings settings;
    settings.NameRule = kNameAppendText;
    settings.AddText.clear();
    settings.OutputPath = FolderOf(current_directory, ".");
    settings.Resize = kResizeUserFolder;
    return settings;
}

void ApplyPosixOptions(const PosixOptions& options, const std::string& current_directory, AppSettings& settings) {
    if (options.output_folder) {
        settings.OutputPath = FolderOf(current_directory, *options.output_folder);
        settings.Resize = kResizeUserFolder;
    }
    if (options.size != SizeOption::kNone) {
        settings.Base = kBaseCustom;
        settings.Aspect = kAspectKeep;
        settings.Method = options.size == SizeOption::kPercent ? kMethodRatio : kMethodPixels;
    }
    switch (options.size) {
        case SizeOption::kNone:
            break;
        case SizeOption::kFit:
            settings.Rect = kRectFitInto;
            settings.Width = options.width;
            settings.Height = options.height;
            break;
        case SizeOption::kWidth:
            settings.Rect = kRectByWidth;
            settings.Width = options.width;
            break;
        case SizeOption::kHeight:
            settings.Rect = kRectByHeight;
            settings.Height = options.height;
            break;
        case SizeOption::kPercent:
            settings.Rect = kRectFitInto;
            settings.WidthRatio = options.percent;
            settings.HeightRatio = options.percent;
            break;
    }
    settings.BigSize = options.enlarge ? kBigSizeEnlarge : kBigSizeStripExif;
    if (options.name_rule) {
        settings.NameRule = *options.name_rule;
        (*options.name_rule == kNameSerial ? settings.BaseName : settings.AddText) = options.name_text;
    }
    std::vector<SettingChange> changes = options.changes;
    std::stable_sort(changes.begin(), changes.end(),
                     [](const SettingChange& a, const SettingChange& b) { return a.option < b.option; });
    for (const SettingChange& change : changes) {
        int32_t& value = settings.*change.setting;
        value = change.add_bits ? (value | change.value) : change.value;
    }
    settings.ImageNum = 0;
}

}  // namespace pelimon
