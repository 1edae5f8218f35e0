#include "app/posix_options.h"

#include <charconv>
#include <filesystem>
#include <string_view>

#include "app/app_texts.h"
#include "common/text.h"
#include "imagelib/format_table.h"
#include "settings/setting_values.h"

namespace pelimon {
namespace {

constexpr int32_t kMaxPixels = 100000;  // per side; the renderer refuses images beyond its pixel limit

template <typename... Args>
Error OptionError(const Message& format, const Args&... args) {
    return Error{Format(format, args...), {}};
}

// One option being parsed: its name as written (for messages) and its value.
struct Given {
    std::string name;
    std::string value;
};

Result<int32_t> Number(const Given& given, int32_t min, int32_t max) {
    int64_t number = 0;
    const char* end = given.value.data() + given.value.size();
    const auto [ptr, error] = std::from_chars(given.value.data(), end, number);
    if (given.value.empty() || error != std::errc() || ptr != end) {
        return OptionError(app_texts::kNotANumber, given.name, given.value);
    }
    if (number < min || number > max) {
        return OptionError(app_texts::kOutOfRange, given.name, given.value, min, max);
    }
    return static_cast<int32_t>(number);
}

// "WxH" (or "WXH"), each side 1..kMaxPixels.
Status SetFit(const Given& given, PosixOptions& options) {
    const size_t x = given.value.find_first_of("xX");
    if (x == std::string::npos) {
        return OptionError(app_texts::kBadSize, given.name, given.value);
    }
    const Result<int32_t> width = Number({given.name, given.value.substr(0, x)}, 1, kMaxPixels);
    const Result<int32_t> height = Number({given.name, given.value.substr(x + 1)}, 1, kMaxPixels);
    if (!width || !height) {
        return !width ? width.error() : height.error();
    }
    options.width = width.value();
    options.height = height.value();
    return {};
}

// The -f value of kFileTypeSame; every other value is a format's command-line name or alias.
constexpr std::string_view kSameFormatName = "same";

Result<int32_t> FileTypeNamed(const Given& given) {
    if (given.value == kSameFormatName) {
        return int32_t{kFileTypeSame};
    }
    if (const FormatRow* format = FormatOfCommandName(given.value)) {
        return format->codes.file_type;
    }
    return OptionError(app_texts::kBadChoice, given.name, given.value, JoinTexts(FormatChoiceNames(), ", "));
}

// Records an option of a group that excludes its other members (size rule, naming rule,
// metadata rule): a second, different member fails.
Status Exclusive(std::string& taken, const std::string& name) {
    if (!taken.empty() && taken != name) {
        return OptionError(app_texts::kExcludes, taken, name);
    }
    taken = name;
    return {};
}

struct Groups {
    std::string size;
    std::string naming;
    std::string metadata;
};

using Setter = Status (*)(const Given&, PosixOptions&, Groups&);

struct OptionRule {
    char short_name;  // 0: none
    std::string_view long_name;
    bool takes_value;
    Setter set;
};

Status SetSize(const Given& given, PosixOptions& options, Groups& groups, SizeOption size, int32_t min, int32_t max,
               int32_t PosixOptions::*field) {
    if (Status ok = Exclusive(groups.size, given.name); !ok) {
        return ok;
    }
    options.size = size;
    if (size == SizeOption::kFit) {
        return SetFit(given, options);
    }
    const Result<int32_t> number = Number(given, min, max);
    if (!number) {
        return number.error();
    }
    options.*field = number.value();
    return {};
}

Status SetNaming(const Given& given, PosixOptions& options, Groups& groups, int32_t rule) {
    if (Status ok = Exclusive(groups.naming, given.name); !ok) {
        return ok;
    }
    options.name_rule = rule;
    options.name_text = given.value;
    return {};
}

Status SetMetadata(const Given& given, PosixOptions& options, Groups& groups, bool keep) {
    if (Status ok = Exclusive(groups.metadata, given.name); !ok) {
        return ok;
    }
    options.keep_exif = keep;
    return {};
}

Status SetNumber(const Given& given, std::optional<int32_t>& field, int32_t min, int32_t max) {
    const Result<int32_t> number = Number(given, min, max);
    if (!number) {
        return number.error();
    }
    field = number.value();
    return {};
}

// Every option, in the order of the usage page.
constexpr OptionRule kOptions[] = {
    {0, "settings", true,
     [](const Given& g, PosixOptions& o, Groups&) -> Status {
         if (g.value.empty()) {
             return OptionError(app_texts::kMissingValue, g.name);
         }
         o.settings_file = g.value;
         return {};
     }},
    {'o', "output", true,
     [](const Given& g, PosixOptions& o, Groups&) -> Status {
         o.output_folder = g.value;
         return {};
     }},
    {'s', "size", true,
     [](const Given& g, PosixOptions& o, Groups& gr) {
         return SetSize(g, o, gr, SizeOption::kFit, 1, kMaxPixels, &PosixOptions::width);
     }},
    {0, "width", true,
     [](const Given& g, PosixOptions& o, Groups& gr) {
         return SetSize(g, o, gr, SizeOption::kWidth, 1, kMaxPixels, &PosixOptions::width);
     }},
    {0, "height", true,
     [](const Given& g, PosixOptions& o, Groups& gr) {
         return SetSize(g, o, gr, SizeOption::kHeight, 1, kMaxPixels, &PosixOptions::height);
     }},
    {'p', "percent", true,
     [](const Given& g, PosixOptions& o, Groups& gr) {
         return SetSize(g, o, gr, SizeOption::kPercent, 1, 1000, &PosixOptions::percent);
     }},
    {0, "enlarge", false,
     [](const Given&, PosixOptions& o, Groups&) -> Status {
         o.enlarge = true;
         return {};
     }},
    {'f', "format", true,
     [](const Given& g, PosixOptions& o, Groups&) -> Status {
         const Result<int32_t> type = FileTypeNamed(g);
         if (!type) {
             return type.error();
         }
         o.file_type = type.value();
         return {};
     }},
    {'q', "quality", true, [](const Given& g, PosixOptions& o, Groups&) { return SetNumber(g, o.quality, 1, 100); }},
    {0, "target-size", true,
     [](const Given& g, PosixOptions& o, Groups&) { return SetNumber(g, o.target_size_kb, 1, 1000000); }},
    {0, "min-quality", true,
     [](const Given& g, PosixOptions& o, Groups&) { return SetNumber(g, o.min_quality, 1, 100); }},
    {0, "sampling", false,
     [](const Given&, PosixOptions& o, Groups&) -> Status {
         o.sampling = true;
         return {};
     }},
    {0, "sharpen", false,
     [](const Given&, PosixOptions& o, Groups&) -> Status {
         o.effect_bits |= kEffectSharpen;
         return {};
     }},
    {0, "grey", false,
     [](const Given&, PosixOptions& o, Groups&) -> Status {
         o.effect_bits |= kEffectGrayscale;
         return {};
     }},
    {0, "sepia", false,
     [](const Given&, PosixOptions& o, Groups&) -> Status {
         o.effect_bits |= kEffectSepia;
         return {};
     }},
    {0, "contrast", true, [](const Given& g, PosixOptions& o, Groups&) { return SetNumber(g, o.contrast, -128, 128); }},
    {0, "rotate", true,
     [](const Given& g, PosixOptions& o, Groups&) -> Status {
         if (g.value != "90" && g.value != "180" && g.value != "270") {
             return OptionError(app_texts::kBadChoice, g.name, g.value, "90, 180, 270");
         }
         o.rotation = std::stoi(g.value);
         return {};
     }},
    {0, "suffix", true,
     [](const Given& g, PosixOptions& o, Groups& gr) { return SetNaming(g, o, gr, kNameAppendText); }},
    {0, "prefix", true,
     [](const Given& g, PosixOptions& o, Groups& gr) { return SetNaming(g, o, gr, kNamePrependText); }},
    {0, "number", true, [](const Given& g, PosixOptions& o, Groups& gr) { return SetNaming(g, o, gr, kNameSerial); }},
    {0, "keep-exif", false, [](const Given& g, PosixOptions& o, Groups& gr) { return SetMetadata(g, o, gr, true); }},
    {0, "strip", false, [](const Given& g, PosixOptions& o, Groups& gr) { return SetMetadata(g, o, gr, false); }},
    {0, "no-location", false,
     [](const Given&, PosixOptions& o, Groups&) -> Status {
         o.no_location = true;
         return {};
     }},
    {0, "exif-date", false,
     [](const Given&, PosixOptions& o, Groups&) -> Status {
         o.exif_date = true;
         return {};
     }},
    {0, "no-auto-rotate", false,
     [](const Given&, PosixOptions& o, Groups&) -> Status {
         o.no_auto_rotate = true;
         return {};
     }},
    {0, "keep-profile", false,
     [](const Given&, PosixOptions& o, Groups&) -> Status {
         o.keep_profile = true;
         return {};
     }},
    {'j', "jobs", true,
     [](const Given& g, PosixOptions& o, Groups&) -> Status {
         std::optional<int32_t> jobs;
         if (Status ok = SetNumber(g, jobs, 1, 1024); !ok) {
             return ok;
         }
         o.jobs = *jobs;
         return {};
     }},
    {'n', "dry-run", false,
     [](const Given&, PosixOptions& o, Groups&) -> Status {
         o.dry_run = true;
         return {};
     }},
    {0, "quiet", false,
     [](const Given&, PosixOptions& o, Groups&) -> Status {
         o.verbosity = Verbosity::kQuiet;
         return {};
     }},
    {0, "verbose", false,
     [](const Given&, PosixOptions& o, Groups&) -> Status {
         o.verbosity = Verbosity::kVerbose;
         return {};
     }},
    {'h', "help", false,
     [](const Given&, PosixOptions& o, Groups&) -> Status {
         o.help = true;
         return {};
     }},
    {'V', "version", false,
     [](const Given&, PosixOptions& o, Groups&) -> Status {
         o.version = true;
         return {};
     }},
};

// `path` taken from `current_directory` when relative, normalised, ending with '/'.
std::string FolderOf(const std::string& current_directory, const std::string& path) {
    std::string text = (std::filesystem::path(current_directory) / path).lexically_normal().string();
    if (!text.ends_with('/')) {
        text += '/';
    }
    return text;
}

const OptionRule* FindLong(std::string_view name) {
    for (const OptionRule& option : kOptions) {
        if (option.long_name == name) {
            return &option;
        }
    }
    return nullptr;
}

const OptionRule* FindShort(char name) {
    for (const OptionRule& option : kOptions) {
        if (option.short_name != 0 && option.short_name == name) {
            return &option;
        }
    }
    return nullptr;
}

}  // namespace

std::vector<std::string_view> FormatChoiceNames() {
    std::vector<std::string_view> names = {kSameFormatName};
    for (const FormatRow& format : FormatTable()) {
        if (format.Written()) {
            names.push_back(format.name);
        }
    }
    return names;
}

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
    Groups groups;
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
        const OptionRule* option = nullptr;
        Given given;
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
        if (!option->takes_value && attached) {
            return OptionError(app_texts::kUnexpectedValue, given.name);
        }
        if (option->takes_value) {
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
