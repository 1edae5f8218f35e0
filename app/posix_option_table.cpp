// The rows of the option table, and how each option's value is read.
#include "app/posix_option_table.h"

#include <charconv>

#include "app/app_texts.h"
#include "common/text.h"
#include "imagelib/format_table.h"
#include "settings/presets.h"
#include "settings/setting_values.h"
#include "settings/settings_table.h"

namespace pelimon {
namespace {

using enum OptionListing;
using enum ValueCompletion;

Result<int32_t> NumberIn(const OptionValue& given, int32_t min, int32_t max) {
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

// A number in the range of the setting it goes into.
Result<int32_t> NumberFor(const OptionValue& given, NumberField setting) {
    const SettingRow& row = SettingRowOf(setting);
    return NumberIn(given, row.min, row.max);
}

// "WxH" (or "WXH"), each side in the range of Width and Height.
Status SetFit(const OptionValue& given, PosixOptions& options) {
    const size_t x = given.value.find_first_of("xX");
    if (x == std::string::npos) {
        return OptionError(app_texts::kBadSize, given.name, given.value);
    }
    const Result<int32_t> width = NumberFor({given.name, given.value.substr(0, x)}, &AppSettings::Width);
    const Result<int32_t> height = NumberFor({given.name, given.value.substr(x + 1)}, &AppSettings::Height);
    if (!width || !height) {
        return !width ? width.error() : height.error();
    }
    options.width = width.value();
    options.height = height.value();
    return {};
}

// The -f value of kFileTypeSame; every other value is a format's command-line name or alias.
constexpr std::string_view kSameFormatName = "same";

Result<int32_t> FileTypeNamed(const OptionValue& given) {
    if (given.value == kSameFormatName) {
        return int32_t{kFileTypeSame};
    }
    if (const FormatRow* format = FormatOfCommandName(given.value)) {
        return format->codes.file_type;
    }
    return OptionError(app_texts::kBadChoice, given.name, given.value, JoinTexts(FormatChoiceNames(), ", "));
}

// Records an option of a group that excludes its other members: a second, different member fails.
Status Exclusive(std::string& taken, const std::string& name) {
    if (!taken.empty() && taken != name) {
        return OptionError(app_texts::kExcludes, taken, name);
    }
    taken = name;
    return {};
}

// Stores a value read from an option, or fails with the reason it could not be read.
template <typename Field>
Status Store(const Result<int32_t>& number, Field& field) {
    if (!number) {
        return number.error();
    }
    field = number.value();
    return {};
}

Status SetSize(const OptionValue& given, PosixOptions& options, OptionGroups& groups, SizeOption size,
               NumberField setting, int32_t PosixOptions::*field) {
    if (Status ok = Exclusive(groups.size, given.name); !ok) {
        return ok;
    }
    options.size = size;
    if (size == SizeOption::kFit) {
        return SetFit(given, options);
    }
    return Store(NumberFor(given, setting), options.*field);
}

Status SetNaming(const OptionValue& given, PosixOptions& options, OptionGroups& groups, int32_t rule) {
    if (Status ok = Exclusive(groups.naming, given.name); !ok) {
        return ok;
    }
    options.name_rule = rule;
    options.name_text = given.value;
    return {};
}

// An option that sets a setting to a value of its own.
template <NumberField kSetting, int32_t kValue>
Status SetTo(const OptionValue&, PosixOptions& options, OptionGroups&) {
    options.changes.push_back({kSetting, kValue});
    return {};
}

// An option that adds bits to a setting (--sharpen, --grey, --sepia to Effect).
template <NumberField kSetting, int32_t kBits>
Status AddBits(const OptionValue&, PosixOptions& options, OptionGroups&) {
    options.changes.push_back({kSetting, kBits, true});
    return {};
}

// Records the change of a setting to a value read from an option, or fails with the reason it
// could not be read.
Status Change(const Result<int32_t>& value, NumberField setting, PosixOptions& options) {
    if (!value) {
        return value.error();
    }
    options.changes.push_back({setting, value.value()});
    return {};
}

// An option whose value a setting takes, read in the setting's range.
template <NumberField kSetting>
Status NumberInto(const OptionValue& given, PosixOptions& options, OptionGroups&) {
    return Change(NumberFor(given, kSetting), kSetting, options);
}

Status SetMetadata(const OptionValue& given, PosixOptions& options, OptionGroups& groups, int32_t exif) {
    if (Status ok = Exclusive(groups.metadata, given.name); !ok) {
        return ok;
    }
    options.changes.push_back({&AppSettings::Exif, exif});
    return {};
}

template <bool PosixOptions::*kFlag>
Status Raise(const OptionValue&, PosixOptions& options, OptionGroups&) {
    options.*kFlag = true;
    return {};
}

template <Verbosity kVerbosity>
Status SetVerbosity(const OptionValue&, PosixOptions& options, OptionGroups&) {
    options.verbosity = kVerbosity;
    return {};
}

std::string FormatChoicesText() {
    return JoinTexts(FormatChoiceNames(), ", ");
}

std::string QualityFormatsText() {
    return JoinTexts(QualityFormatNames(), ", ");
}

constexpr std::string_view kRotations[] = {"90", "180", "270"};

Status SetRotation(const OptionValue& given, PosixOptions& options) {
    for (const std::string_view rotation : kRotations) {
        if (given.value == rotation) {
            options.rotation = LeadingInt(rotation);
            return {};
        }
    }
    return OptionError(app_texts::kBadChoice, given.name, given.value, JoinTexts(kRotations, ", "));
}

// An option naming a file; an empty name is no name.
template <std::optional<std::string> PosixOptions::*kField>
Status FileInto(const OptionValue& given, PosixOptions& options, OptionGroups&) {
    if (given.value.empty()) {
        return OptionError(app_texts::kMissingValue, given.name);
    }
    options.*kField = given.value;
    return {};
}

// A preset name option: the name must be able to name a preset.
Status PresetName(const OptionValue& given, std::optional<std::string>& into) {
    if (std::optional<std::string> problem = PresetNameProblem(given.value)) {
        return OptionError(app_texts::kBadPresetName, given.name, given.value, *problem);
    }
    into = given.value;
    return {};
}

template <std::optional<std::string> PosixOptions::*kField>
Status PresetNameInto(const OptionValue& given, PosixOptions& options, OptionGroups&) {
    return PresetName(given, options.*kField);
}

Status AddPreset(const OptionValue& given, PosixOptions& options) {
    std::optional<std::string> name;
    if (Status valid = PresetName(given, name); !valid) {
        return valid;
    }
    for (const std::string& earlier : options.presets) {
        if (EqualsIgnoreCase(earlier, *name)) {
            return OptionError(app_texts::kPresetGivenTwice, given.name, given.value);
        }
    }
    options.presets.push_back(*name);
    return {};
}

// The names of the options' values in the usage page.
constexpr Message kFileValue = Message("FILE", "option value");
constexpr Message kFolderValue = Message("DIR", "option value");
constexpr Message kNumberValue = Message("N", "option value");
constexpr Message kTextValue = Message("TEXT", "option value");
constexpr Message kNameValue = Message("NAME", "option value");

using O = OptionValue;
using P = PosixOptions;
using G = OptionGroups;

constexpr PosixOptionRow kOptions[] = {
    {.long_name = "settings",
     .value = kFileValue,
     .help = Message("start from this settings file (not written back); presets come from it"),
     .manual = R"man(Start from the settings of this settings file instead of the defaults; it is read, never
written, except for the preset sections that
.BR \-\-save\-preset ", " \-\-import\-preset " and " \-\-delete\-preset
store or remove.
It is also where presets are read from.
A file that cannot be read is an error (exit status 2); the preset options take a file that is not
there yet as one without presets, and
.BR \-\-save\-preset " and " \-\-import\-preset
make it.)man",
     .completion = kFile,
     .set = FileInto<&PosixOptions::settings_file>},
    {.long_name = "preset",
     .value = kNameValue,
     .help = Message("make the outputs of this preset; twice or more: each into a subfolder"),
     .manual = R"man(Start from the preset
.I NAME
of the settings file
.RB ( \-\-settings ,
else the user's settings file); the other options apply on top of it.
Presets are the one thing a command line takes from the user's settings file without being
asked to.
Given twice or more, each source's outputs are made for every preset named, each preset's into
its own subfolder of the output folder, named after the preset; each source is decoded once for
all of them.
A name that no preset has is an error (exit status 2).)man",
     .completion = kPresets,
     .set = [](const O& g, P& o, G&) { return AddPreset(g, o); }},
    {.long_name = "save-preset",
     .value = kNameValue,
     .help = Message("store the settings this command line gives as preset NAME"),
     .manual = R"man(Store the settings that the options of this command line give (on top of the defaults, of
.BR \-\-settings " or of " \-\-preset )
as the preset
.I NAME
in the settings file
.RB ( \-\-settings ,
else the user's settings file), replacing a preset of that name; only its
.BI [Preset: NAME ]
section is written.
Without files or folders nothing else is done.)man",
     .completion = kPresets,
     .set = PresetNameInto<&PosixOptions::save_preset>},
    {.long_name = "list-presets",
     .help = Message("print the names of the presets, one a line"),
     .manual = R"man(Print the names of the presets of the settings file, one a line, and exit.
A damaged preset is left out with a note on standard error.)man",
     .set = Raise<&PosixOptions::list_presets>},
    {.long_name = "export-preset",
     .value = kNameValue,
     .help = Message("print preset NAME as a file that --import-preset reads"),
     .manual = R"man(Print the preset
.I NAME
on standard output as a settings file of its own section, which
.B \-\-import\-preset
reads on another account or machine, and exit.)man",
     .completion = kPresets,
     .set = PresetNameInto<&PosixOptions::export_preset>},
    {.long_name = "import-preset",
     .value = kFileValue,
     .help = Message("store the presets of FILE; a name taken by other settings is refused"),
     .manual = R"man(Store every preset of
.I FILE
into the settings file and exit.
Each is checked first: a damaged one is left out with a note.
When a preset of the same name with other settings is there already, nothing is imported and the
exit status is 2: remove that one
.RB ( \-\-delete\-preset )
or rename the section in
.IR FILE .
A preset that is there already with the same settings is left as it is.)man",
     .completion = kFile,
     .set = FileInto<&PosixOptions::import_preset>},
    {.long_name = "delete-preset",
     .value = kNameValue,
     .help = Message("remove preset NAME from the settings file"),
     .manual = "Remove the preset\n.I NAME\nfrom the settings file and exit.",
     .completion = kPresets,
     .set = PresetNameInto<&PosixOptions::delete_preset>},
    {.short_name = 'o',
     .long_name = "output",
     .value = kFolderValue,
     .help = Message("output folder (default: the current folder; created when missing)"),
     .manual = R"man(Output folder, created (with every missing level) when missing.
Default: the current directory.)man",
     .completion = kFolder,
     .set = [](const O& g, P& o, G&) -> Status {
         o.output_folder = g.value;
         return {};
     }},
    {.short_name = 'r',
     .long_name = "recursive",
     .help = Message("also the files of every subfolder of a folder, mirrored below the output folder"),
     .manual = R"man(A folder argument lists the files of its subfolders too, at any depth, in name order, and
each output goes into the same subfolder below the output folder
.RI ( folder /2026/kyoto/a.heic
becomes
.IR output /2026/kyoto/a.jpg ).
Hidden folders, the output folder itself and symbolic links to folders are skipped;
a subfolder that cannot be read is reported and the rest goes on.)man",
     .set = SetTo<&AppSettings::Recurse, kOn>},
    {.long_name = "flat",
     .help = Message("write every output straight into the output folder"),
     .manual = R"man(Write every output straight into the output folder, not into the subfolders of its
source; outputs of the same name get " (2)", " (3)" ... before their extension.)man",
     .set = SetTo<&AppSettings::Flat, kOn>},
    {.long_name = "update",
     .help = Message("skip sources whose output is in place and was made from them with these settings"),
     .manual = R"man(Leave alone every source whose output is in place and was made from the source as it is
now (same size and modification time) with the settings that shape outputs as they are now; reduce
the others. pelimon knows by the manifest
.I .pelimon-manifest
in the output folder, which every run that writes there keeps up to date (see
.BR "KEEPING A COPY UP TO DATE" ).
Nothing is ever deleted.)man",
     .set = SetTo<&AppSettings::Update, kOn>},
    {.long_name = "files-from",
     .value = kFileValue,
     .help = Message("reduce the files named in FILE, one a line ('-': standard input)"),
     .manual = R"man(Reduce the files named in
.IR FILE ,
one a line, or with
.B \-0
separated by NUL bytes;
.B \-
reads standard input. Each name is a path relative to the source folder (the one
.I FOLDER
argument, or the current directory without one) or an absolute one; outputs mirror the source
folder's tree as with
.BR \-r .
Folders and files of no image type in the list are passed over; a name that is not there is
reported.)man",
     .completion = kFile,
     .set = [](const O& g, P& o, G&) -> Status {
         o.files_from = g.value;
         return {};
     }},
    {.short_name = '0',
     .long_name = "null",
     .help = Message("the names of --files-from are separated by NUL bytes (find -print0)"),
     .manual = R"man(The names of
.B \-\-files\-from
are separated by NUL bytes, as
.B find \-print0
writes them, so that any name, line breaks included, passes.)man",
     .set = Raise<&PosixOptions::null_separated>},
    {.long_name = "fast-jpeg",
     .help = Message("encode JPEG with libjpeg's baseline encoder: faster, larger files"),
     .manual = R"man(Encode JPEG outputs with libjpeg's baseline encoder (standard tables, one sequential scan)
instead of the default rate-distortion optimised progressive encoder, whose files are smaller at
the same quality and take longer to make.)man",
     .set = SetTo<&AppSettings::FastJpeg, kOn>},
    {.short_name = 's',
     .long_name = "size",
     .value = Message("WxH", "option value"),
     .help = Message("fit in W x H pixels, aspect ratio kept"),
     .manual = R"man(Fit in
.I W
x
.I H
pixels, aspect ratio kept.)man",
     .completion = kNone,
     .set = [](const O& g, P& o,
               G& gr) { return SetSize(g, o, gr, SizeOption::kFit, &AppSettings::Width, &PosixOptions::width); }},
    {.long_name = "width",
     .value = Message("W", "option value"),
     .help = Message("this width, aspect ratio kept"),
     .manual = "This width (or height), aspect ratio kept.",
     .completion = kNone,
     .set = [](const O& g, P& o,
               G& gr) { return SetSize(g, o, gr, SizeOption::kWidth, &AppSettings::Width, &PosixOptions::width); }},
    {.long_name = "height",
     .value = Message("H", "option value"),
     .help = Message("this height, aspect ratio kept"),
     .man = kWithOneBefore,
     .completion = kNone,
     .set = [](const O& g, P& o,
               G& gr) { return SetSize(g, o, gr, SizeOption::kHeight, &AppSettings::Height, &PosixOptions::height); }},
    {.short_name = 'p',
     .long_name = "percent",
     .value = kNumberValue,
     .help = Message("N per cent of the source"),
     .manual = R"man(.I N
per cent of the source (1\(en1000).
.PP
Only one of
.BR \-s ", " \-\-width ", " \-\-height " and " \-p
may be given.)man",
     .completion = kNone,
     .set =
         [](const O& g, P& o, G& gr) {
             return SetSize(g, o, gr, SizeOption::kPercent, &AppSettings::WidthRatio, &PosixOptions::percent);
         }},
    {.long_name = "enlarge",
     .help = Message("enlarge sources smaller than the target (default: keep their size)"),
     .manual = R"man(Enlarge sources smaller than the target.
Without it, such a source is written at its own size.)man",
     .set = Raise<&PosixOptions::enlarge>},
    {.short_name = 'f',
     .long_name = "format",
     .value = Message("FORMAT", "option value"),
     .help_values = FormatChoicesText,
     .manual = R"man(@PELIMON_MAN_FORMAT_CHOICES@
A JPEG source written as JPEG XL with its pixels as they are (no reduction,
turn, effect or colour conversion: \-p 100, or a target larger than the source
without \-\-enlarge) is stored as a lossless recompression of the JPEG, with the
metadata kept as asked: typically a fifth smaller, and
.BR djxl (1)
gives that JPEG back bit for bit.
With a target file size it is used when it fits.)man",
     .completion = kFormats,
     .set = [](const O& g, P& o, G&) { return Change(FileTypeNamed(g), &AppSettings::FileType, o); }},
    {.short_name = 'q',
     .long_name = "quality",
     .value = kNumberValue,
     .help = Message("quality 1-100 (%s)"),
     .help_values = QualityFormatsText,
     .manual = R"man(Quality 1\(en100 for @PELIMON_QUALITY_FORMATS@.
For JPEG XL it gives the encoder's distance as
.BR cjxl (1)
maps its own quality: from 30 up, 0.1 + (100 \(mi quality) \(mu 0.09 (100 gives 0.1,
90 gives 1.0, visually lossless, 30 gives 6.4); below 30,
6.4 + 2.5^((30 \(mi quality) / 5) / 6.25, at most 25.)man",
     .completion = kNone,
     // A quality turns the size search off.
     .set =
         [](const O& g, P& o, G& gr) {
             o.changes.push_back({&AppSettings::SetSize, kOff});
             return NumberInto<&AppSettings::JpegComp>(g, o, gr);
         }},
    {.long_name = "target-size",
     .value = Message("KB", "option value"),
     .help = Message("reach this file size (lowest quality: --min-quality=N)"),
     .manual = R"man(Reach this file size in kilobytes, lowering the quality no further than
.BR \-\-min\-quality =\fIN\fR
(default: the settings' lowest quality,
.BR LimitQuality ).)man",
     .completion = kNone,
     .set =
         [](const O& g, P& o, G& gr) {
             o.changes.push_back({&AppSettings::SetSize, kOn});
             return NumberInto<&AppSettings::DataSize>(g, o, gr);
         }},
    {.long_name = "min-quality",
     .value = kNumberValue,
     .usage = kInTextBefore,
     .man = kInTextBefore,
     .completion = kNone,
     .set = NumberInto<&AppSettings::LimitQuality>},
    {.long_name = "sampling",
     .help = Message("nearest-pixel sampling instead of area averaging"),
     .manual = "Nearest-pixel sampling instead of area averaging.",
     .set = SetTo<&AppSettings::Reduction, kReductionSampling>},
    {.long_name = "sharpen",
     .help = Message("effects (N from -128 to 128)"),
     .manual = "The effects; they add to the effects of the settings.",
     .set = AddBits<&AppSettings::Effect, kEffectSharpen>},
    {.long_name = "grey",
     .usage = kWithOneBefore,
     .man = kWithOneBefore,
     .set = AddBits<&AppSettings::Effect, kEffectGrayscale>},
    {.long_name = "sepia",
     .usage = kWithOneBefore,
     .man = kWithOneBefore,
     .set = AddBits<&AppSettings::Effect, kEffectSepia>},
    {.long_name = "contrast",
     .value = kNumberValue,
     .usage = kWithOneBefore,
     .manual = R"man(Contrast adjustment, \-128\(en128.)man",
     .completion = kNone,
     .set = NumberInto<&AppSettings::Contrast>},
    {.long_name = "rotate",
     .value = Message("90|180|270", "option value"),
     .help = Message("turn every file clockwise"),
     .manual = "Turn every file clockwise.",
     .completion = kChoices,
     .choices = kRotations,
     .set = [](const O& g, P& o, G&) { return SetRotation(g, o); }},
    {.long_name = "suffix",
     .value = kTextValue,
     .help = Message("put TEXT after the source's name"),
     .manual = R"man(The naming rule: the source's name followed by
.IR TEXT ,
.I TEXT
followed by the source's name, or
.I BASE
followed by a running number (from
.BR StartNum ,
.B Digit
digits).
Only one of them may be given.)man",
     .completion = kNone,
     .set = [](const O& g, P& o, G& gr) { return SetNaming(g, o, gr, kNameAppendText); }},
    {.long_name = "prefix",
     .value = kTextValue,
     .help = Message("put TEXT before the source's name"),
     .man = kWithOneBefore,
     .completion = kNone,
     .set = [](const O& g, P& o, G& gr) { return SetNaming(g, o, gr, kNamePrependText); }},
    {.long_name = "number",
     .value = Message("BASE", "option value"),
     .help = Message("name the outputs BASE and a running number"),
     .man = kWithOneBefore,
     .completion = kNone,
     .set = [](const O& g, P& o, G& gr) { return SetNaming(g, o, gr, kNameSerial); }},
    {.long_name = "keep-exif",
     .help = Message("keep the Exif data (and XMP, IPTC)"),
     .manual = "Keep the Exif data (and XMP and IPTC) in outputs that can hold it.",
     .set = [](const O& g, P& o, G& gr) { return SetMetadata(g, o, gr, kOn); }},
    {.long_name = "strip",
     .help = Message("keep no metadata"),
     .manual = "Keep no metadata.",
     .set = [](const O& g, P& o, G& gr) { return SetMetadata(g, o, gr, kOff); }},
    {.long_name = "no-location",
     .help = Message("remove the location (nothing else changes)"),
     .manual = "Remove the location (GPS data) from the outputs; nothing else changes.",
     .set = SetTo<&AppSettings::NoLocation, kOn>},
    {.long_name = "exif-date",
     .help = Message("set each output's modification time to its shooting date"),
     .manual = "Set each output's modification time to its shooting date.",
     .set = SetTo<&AppSettings::ExifDate, kOn>},
    {.long_name = "no-auto-rotate",
     .help = Message("do not apply the Exif orientation to the pixels"),
     .manual = R"man(Do not apply the Exif orientation to the pixels
.RB ( AutoRotate
0).)man",
     .set = SetTo<&AppSettings::AutoRotate, kOff>},
    {.long_name = "keep-profile",
     .help = Message("keep the colour profile instead of converting to sRGB"),
     .manual = R"man(Do not convert colours to sRGB; the colour profile travels with the image
.RB ( ToSRGB
0).)man",
     .set = SetTo<&AppSettings::ToSRGB, kOff>},
    {.short_name = 'j',
     .long_name = "jobs",
     .value = kNumberValue,
     .help = Message("worker threads (default: one per core)"),
     .manual = R"man(Worker threads (default: one per core).
The outputs do not depend on it.)man",
     .completion = kNone,
     .set = [](const O& g, P& o, G&) { return Store(NumberIn(g, 1, 1024), o.jobs); }},
    {.short_name = 'n',
     .long_name = "dry-run",
     .help = Message("print source, output, pixel size and format; write nothing"),
     .manual = R"man(Print, for each source, one line on standard output \(em the source, its output path, the
output's pixel size
.RI ( W x H )
and its format, separated by tabs \(em and write nothing.)man",
     .set = Raise<&PosixOptions::dry_run>},
    {.long_name = "quiet",
     .help = Message("print only errors on standard error"),
     .manual = "Print only errors on standard error.",
     .set = SetVerbosity<Verbosity::kQuiet>},
    {.long_name = "verbose",
     .help = Message("also print a line for every written output"),
     .manual = "Also print a line for every written output.",
     .set = SetVerbosity<Verbosity::kVerbose>},
    {.short_name = 'h',
     .long_name = "help",
     .help = Message("display this help and exit"),
     .manual = "Print the usage and exit.",
     .set = Raise<&PosixOptions::help>},
    {.short_name = 'V',
     .long_name = "version",
     .help = Message("output version information and exit"),
     .manual = "Print the version and exit.",
     .set = Raise<&PosixOptions::version>},
};

}  // namespace

std::span<const PosixOptionRow> PosixOptionTable() {
    return kOptions;
}

std::vector<std::string_view> FormatChoiceNames() {
    std::vector<std::string_view> names = {kSameFormatName};
    for (const FormatRow& format : FormatTable()) {
        if (format.Written()) {
            names.push_back(format.name);
        }
    }
    return names;
}

}  // namespace pelimon
