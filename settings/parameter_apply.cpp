// Applying parameter lines to AppSettings, and the entries of the name block.
#include <algorithm>
#include <iterator>

#include "common/text.h"
#include "settings/parameter_file.h"
#include "settings/parameter_syntax.h"

namespace pelimon {
namespace {

enum class Kind {
    kInteger,   // leading decimal integer; a line without a value changes nothing
    kFolder,    // a folder path, given a trailing '/'
    kText,      // taken as written
    kBaseName,  // taken as written; empty means "resize"
};

struct ParameterKey {
    const char* key;
    Kind kind;
    int32_t AppSettings::*integer = nullptr;
    std::string AppSettings::*text = nullptr;
};

// The file's keys are matched whole and ignoring case, so their order does not matter.
// RISEZFOLDER (sic) selects the output-folder rule and RESIZE the reduction algorithm: the
// names users' files already use.
const ParameterKey kParameterKeys[] = {
    {"IMAGETYPE", Kind::kInteger, &AppSettings::ImageType},
    {"IMAGEPATH", Kind::kFolder, nullptr, &AppSettings::ImagePath},
    {"OUTPUTPATH", Kind::kFolder, nullptr, &AppSettings::OutputPath},
    {"RISEZFOLDER", Kind::kInteger, &AppSettings::Resize},
    {"ASPECT", Kind::kInteger, &AppSettings::Aspect},
    {"RECT", Kind::kInteger, &AppSettings::Rect},
    {"METHOD", Kind::kInteger, &AppSettings::Method},
    {"WIDTH", Kind::kInteger, &AppSettings::Width},
    {"HEIGHT", Kind::kInteger, &AppSettings::Height},
    {"WRATIO", Kind::kInteger, &AppSettings::WidthRatio},
    {"HRATIO", Kind::kInteger, &AppSettings::HeightRatio},
    {"SETSIZE", Kind::kInteger, &AppSettings::SetSize},
    {"DATASIZE", Kind::kInteger, &AppSettings::DataSize},
    {"LIMITQUALITY", Kind::kInteger, &AppSettings::LimitQuality},
    {"JPEGCOMP", Kind::kInteger, &AppSettings::JpegComp},
    {"BIGSIZE", Kind::kInteger, &AppSettings::BigSize},
    {"EQUALSIZE", Kind::kInteger, &AppSettings::Equal},
    {"EXIF", Kind::kInteger, &AppSettings::Exif},
    {"EXDATE", Kind::kInteger, &AppSettings::ExifDate},
    {"FILETYPE", Kind::kInteger, &AppSettings::FileType},
    {"NAMERULE", Kind::kInteger, &AppSettings::NameRule},
    {"ADDTEXT", Kind::kText, nullptr, &AppSettings::AddText},
    {"BASENAME", Kind::kBaseName, nullptr, &AppSettings::BaseName},
    {"STARTNUM", Kind::kInteger, &AppSettings::StartNum},
    {"SAVENUM", Kind::kInteger, &AppSettings::SaveNum},
    {"0-PADDING", Kind::kInteger, &AppSettings::ZeroPadding},
    {"DIGIT", Kind::kInteger, &AppSettings::Digit},
    {"RESIZE", Kind::kInteger, &AppSettings::Reduction},
    {"EFFECT", Kind::kInteger, &AppSettings::Effect},
    {"SHARPGAIN", Kind::kInteger, &AppSettings::Gain},
    {"CONTRAST", Kind::kInteger, &AppSettings::Contrast},
    {"AUTOROTATE", Kind::kInteger, &AppSettings::AutoRotate},
    {"TOSRGB", Kind::kInteger, &AppSettings::ToSRGB},
    {"NOLOCATION", Kind::kInteger, &AppSettings::NoLocation},
};

const ParameterKey* FindKey(std::string_view key) {
    const auto found = std::find_if(std::begin(kParameterKeys), std::end(kParameterKeys),
                                    [key](const ParameterKey& entry) { return EqualsIgnoreCase(entry.key, key); });
    return found == std::end(kParameterKeys) ? nullptr : found;
}

void ApplyLine(std::string_view line, AppSettings& settings) {
    const KeyValue parts = SplitKeyValue(StripComment(line));
    const ParameterKey* key = FindKey(parts.key);
    if (key == nullptr) {
        return;
    }
    const std::string value(parts.value.value_or(std::string_view{}));
    switch (key->kind) {
        case Kind::kInteger:
            if (!value.empty()) {
                settings.*(key->integer) = LeadingInt(value);
            }
            break;
        case Kind::kFolder:
            // An empty folder stays empty (for OutputPath: the source folder) instead of
            // becoming "/", the root of the file system.
            settings.*(key->text) = (value.empty() || value.back() == '/') ? value : value + '/';
            break;
        case Kind::kText:
            settings.*(key->text) = value;
            break;
        case Kind::kBaseName:
            settings.*(key->text) = value.empty() ? std::string("resize") : value;
            break;
    }
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
