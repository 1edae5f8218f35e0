// The rows of the settings table, and the defaults of AppSettings they give.
#include "settings/settings_table.h"

#include <algorithm>
#include <cassert>
#include <limits>

#include "common/text.h"
#include "imagelib/format_table.h"

namespace pelimon {
namespace {

using enum SettingKind;

constexpr int32_t kMaxNumber = std::numeric_limits<int32_t>::max();
// Per side; the renderer refuses images beyond its pixel limit.
constexpr int32_t kMaxSide = 100000;

// A number setting: field, section, key, kind, default, range, parameter key.
SettingRow Number(NumberField field, std::string_view section, std::string_view key, SettingKind kind,
                  int32_t default_number, std::string_view parameter_key = {}, int32_t min = 0, int32_t max = 0) {
    return {.field = field,
            .section = section,
            .key = key,
            .kind = kind,
            .default_number = default_number,
            .default_text = {},
            .min = min,
            .max = max,
            .parameter_key = parameter_key};
}

SettingRow Text(TextField field, std::string_view section, std::string_view key, SettingKind kind,
                std::string_view default_text, std::string_view parameter_key = {}) {
    return {.field = field,
            .section = section,
            .key = key,
            .kind = kind,
            .default_text = default_text,
            .parameter_key = parameter_key};
}

SettingRow NeverSaved(SettingRow row) {
    row.saved = false;
    return row;
}

// A setting that leaves every output as it is (see SettingRow::shapes_output).
SettingRow AboutTheRun(SettingRow row) {
    row.shapes_output = false;
    return row;
}

SettingRow EmptyParameterGivesDefault(SettingRow row) {
    row.empty_parameter = EmptyParameter::kToDefault;
    return row;
}

// The parameter file's keys are matched whole and ignoring case. RISEZFOLDER (sic) selects the
// output-folder rule and RESIZE the reduction algorithm: the names users' files already use.
// ImagePath and OutputPath default to DefaultImageFolder (LoadSettings fills them in).
std::span<const SettingRow> Rows() {
    static const SettingRow rows[] = {
        AboutTheRun(Number(&AppSettings::Confirm, "General", "Confirm", kCode, kAskAgain)),
        AboutTheRun(Number(&AppSettings::Complete, "General", "Complete", kCode, kAskAgain)),
        AboutTheRun(Number(&AppSettings::DefConfirm, "General", "DefConfirm", kCode, kAskAgain)),
        AboutTheRun(Number(&AppSettings::ImageType, "General", "ImageType", kCode, AllImageTypes(), "IMAGETYPE")),
        AboutTheRun(Text(&AppSettings::ImagePath, "General", "ImagePath", kFolder, "", "IMAGEPATH")),
        AboutTheRun(Text(&AppSettings::OutputPath, "General", "OutputPath", kFolder, "", "OUTPUTPATH")),
        AboutTheRun(Number(&AppSettings::Select, "General", "Select", kCode, kSelectChecked)),
        AboutTheRun(Number(&AppSettings::Recurse, "General", "Recurse", kSwitch, kOff, "RECURSE")),
        AboutTheRun(Number(&AppSettings::ThumbnailGrid, "General", "ThumbnailGrid", kSwitch, kOff)),
        AboutTheRun(Number(&AppSettings::ShowOutput, "General", "ShowOutput", kSwitch, kOff)),
        AboutTheRun(Number(&AppSettings::OutputLayout, "General", "OutputLayout", kNumber, 1, {}, 0, 1)),
        AboutTheRun(Number(&AppSettings::OutputZoom, "General", "OutputZoom", kNumber, 0, {}, 0, 1)),
        Number(&AppSettings::Base, "ImageSize", "Base", kCode, kBase640x480),
        Number(&AppSettings::Width, "ImageSize", "Width", kNumber, 640, "WIDTH", 1, kMaxSide),
        Number(&AppSettings::Height, "ImageSize", "Height", kNumber, 480, "HEIGHT", 1, kMaxSide),
        Number(&AppSettings::WidthRatio, "ImageSize", "WidthRatio", kNumber, 70, "WRATIO", 1, 1000),
        Number(&AppSettings::HeightRatio, "ImageSize", "HeightRatio", kNumber, 70, "HRATIO", 1, 1000),
        Number(&AppSettings::Method, "ImageSize", "Method", kCode, kMethodPixels, "METHOD"),
        Number(&AppSettings::Aspect, "ImageSize", "Aspect", kCode, kAspectKeep, "ASPECT"),
        Number(&AppSettings::Rect, "ImageSize", "Rect", kCode, kRectByWidth, "RECT"),
        // Data, not a text: the window rewrites it in its language.
        AboutTheRun(Text(&AppSettings::SizeString, "ImageSize", "SizeString", kText, "幅・高さ固定：640 x 480 pxel")),
        Number(&AppSettings::SetSize, "ImageSize", "SetSize", kSwitch, kOff, "SETSIZE"),
        Number(&AppSettings::DataSize, "ImageSize", "DataSize", kNumber, 50, "DATASIZE", 1, 1000000),
        Number(&AppSettings::LimitQuality, "ImageSize", "LimitQuality", kNumber, 20, "LIMITQUALITY", 1, 100),
        NeverSaved(Number(&AppSettings::EvenMenu, "ImageSize", "EvenMenu", kSwitch, kOff)),
        NeverSaved(Number(&AppSettings::PixEven, "ImageSize", "PixEven", kSwitch, kOff)),
        Number(&AppSettings::FileType, "Option", "FileType", kCode, kFileTypeSame, "FILETYPE"),
        Number(&AppSettings::JpegComp, "Option", "JpegComp", kNumber, 90, "JPEGCOMP", 1, 100),
        AboutTheRun(Number(&AppSettings::DragDrop, "Option", "DragDrop", kSwitch, kOff)),
        Number(&AppSettings::BigSize, "Option", "BigSize", kCode, kBigSizeEnlarge, "BIGSIZE"),
        Number(&AppSettings::Equal, "Option", "Equal", kCode, kEqualIsLarger, "EQUALSIZE"),
        Number(&AppSettings::Exif, "Option", "Exif", kSwitch, kOff, "EXIF"),
        Number(&AppSettings::ExifDate, "Option", "ExifDate", kSwitch, kOff, "EXDATE"),
        Number(&AppSettings::Resize, "Option", "Resize", kCode, kResizeUserFolder, "RISEZFOLDER"),
        Number(&AppSettings::NameRule, "Option", "NameRule", kCode, kNameSerial, "NAMERULE"),
        Text(&AppSettings::AddText, "Option", "AddText", kText, "s", "ADDTEXT"),
        Number(&AppSettings::StartNum, "Option", "StartNum", kNumber, 1, "STARTNUM", 0, kMaxNumber),
        Number(&AppSettings::ZeroPadding, "Option", "0-Padding", kSwitch, kOn, "0-PADDING"),
        Number(&AppSettings::Digit, "Option", "Digit", kNumber, 4, "DIGIT", 1, 9),
        EmptyParameterGivesDefault(Text(&AppSettings::BaseName, "Option", "BaseName", kText, "resize", "BASENAME")),
        Number(&AppSettings::SaveNum, "Option", "SaveNum", kSwitch, kOn, "SAVENUM"),
        AboutTheRun(Number(&AppSettings::ImageNum, "Option", "ImageNum", kNumber, 0, {}, 0, kMaxNumber)),
        Number(&AppSettings::Reduction, "Option", "Reduction", kCode, kReductionAreaAverage, "RESIZE"),
        Number(&AppSettings::Effect, "Option", "Effect", kCode, 0, "EFFECT"),
        Number(&AppSettings::Contrast, "Option", "Contrast", kNumber, 0, "CONTRAST", -128, 128),
        Number(&AppSettings::Gain, "Option", "Gain", kNumber, 15, "SHARPGAIN", 0, 40),
        Number(&AppSettings::AutoRotate, "Option", "AutoRotate", kSwitch, kOn, "AUTOROTATE"),
        Number(&AppSettings::ToSRGB, "Option", "ToSRGB", kSwitch, kOn, "TOSRGB"),
        Number(&AppSettings::NoLocation, "Option", "NoLocation", kSwitch, kOff, "NOLOCATION"),
        Number(&AppSettings::Flat, "Option", "Flat", kSwitch, kOff, "FLAT"),
        AboutTheRun(Number(&AppSettings::Update, "Option", "Update", kSwitch, kOff, "UPDATE")),
        Number(&AppSettings::FastJpeg, "Option", "FastJpeg", kSwitch, kOff, "FASTJPEG"),
    };
    return rows;
}

template <typename Field>
const SettingRow& RowOf(Field field) {
    const std::span<const SettingRow> rows = SettingsTable();
    const auto found = std::find_if(rows.begin(), rows.end(), [field](const SettingRow& row) {
        const Field* own = std::get_if<Field>(&row.field);
        return own != nullptr && *own == field;
    });
    assert(found != rows.end() && "every persisted field has a row");
    return *found;
}

}  // namespace

std::span<const SettingRow> SettingsTable() {
    return Rows();
}

const SettingRow& SettingRowOf(NumberField field) {
    return RowOf(field);
}

const SettingRow& SettingRowOf(TextField field) {
    return RowOf(field);
}

const SettingRow* SettingRowOfParameter(std::string_view key) {
    for (const SettingRow& row : SettingsTable()) {
        if (!row.parameter_key.empty() && EqualsIgnoreCase(row.parameter_key, key)) {
            return &row;
        }
    }
    return nullptr;
}

std::string SettingRow::Text(const AppSettings& settings) const {
    if (const NumberField* number = std::get_if<NumberField>(&field)) {
        return std::to_string(settings.*(*number));
    }
    return settings.*std::get<TextField>(field);
}

void SettingRow::SetFromText(AppSettings& settings, std::string_view text) const {
    if (const NumberField* number = std::get_if<NumberField>(&field)) {
        settings.*(*number) = LeadingInt(text);
    } else {
        settings.*std::get<TextField>(field) = std::string(text);
    }
}

void SettingRow::Reset(AppSettings& settings) const {
    if (const NumberField* number = std::get_if<NumberField>(&field)) {
        settings.*(*number) = default_number;
    } else {
        settings.*std::get<TextField>(field) = std::string(default_text);
    }
}

AppSettings::AppSettings() {
    for (const SettingRow& row : SettingsTable()) {
        row.Reset(*this);
    }
}

}  // namespace pelimon
