#include "app/posix_options.h"

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
        if (Status set = option->set(given, options, groups); !set) {
            return set.error();
        }
    }
    if (options.paths.empty() && !options.help && !options.version) {
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
    if (options.file_type) {
        settings.FileType = *options.file_type;
    }
    if (options.quality) {
        settings.JpegComp = *options.quality;
        settings.SetSize = kOff;
    }
    if (options.target_size_kb) {
        settings.SetSize = kOn;
        settings.DataSize = *options.target_size_kb;
    }
    if (options.min_quality) {
        settings.LimitQuality = *options.min_quality;
    }
    if (options.sampling) {
        settings.Reduction = kReductionSampling;
    }
    settings.Effect |= options.effect_bits;
    if (options.contrast) {
        settings.Contrast = *options.contrast;
    }
    if (options.name_rule) {
        settings.NameRule = *options.name_rule;
        (*options.name_rule == kNameSerial ? settings.BaseName : settings.AddText) = options.name_text;
    }
    if (options.keep_exif) {
        settings.Exif = *options.keep_exif ? kOn : kOff;
    }
    if (options.no_location) {
        settings.NoLocation = kOn;
    }
    if (options.exif_date) {
        settings.ExifDate = kOn;
    }
    if (options.keep_profile) {
        settings.ToSRGB = kOff;
    }
    if (options.no_auto_rotate) {
        settings.AutoRotate = kOff;
    }
    settings.ImageNum = 0;
}

}  // namespace pelimon
