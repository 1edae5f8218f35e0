#include "exif/exif_list_rows.h"

#include "common/text.h"
#include "exif/exif_texts.h"

namespace pelimon {
namespace {

constexpr int kNameColumns = 40;

void AddGroup(std::vector<ExifListRow>& rows, const Message& title, const std::vector<ExifEntry>& entries) {
    rows.push_back({title.str(), {}, true});
    for (const ExifEntry& entry : entries) {
        rows.push_back({entry.name, entry.value, false});
    }
}

}  // namespace

// IFD1 is listed whenever the file has one. (It does not depend on the Interoperability IFD:
// the two are unrelated directories.) The GPS IFD has a group of its own, so that the location
// is seen as such and its tag numbers, which other directories use for other tags, stay apart.
std::vector<ExifListRow> BuildExifRows(const ExifDirectories& directories) {
    namespace t = exif_texts;
    std::vector<ExifListRow> rows;
    AddGroup(rows, t::kMainGroup, directories.main);
    AddGroup(rows, t::kSubGroup, directories.has_sub ? directories.sub : std::vector<ExifEntry>{});
    if (directories.has_sub && directories.has_interop) {
        AddGroup(rows, t::kInteropGroup, directories.interop);
    }
    if (directories.has_gps) {
        AddGroup(rows, t::kGpsGroup, directories.gps);
    }
    if (directories.has_thumbnail) {
        AddGroup(rows, t::kThumbnailGroup, directories.thumbnail);
    }
    return rows;
}

std::string FormatExifClipboard(const std::vector<ExifListRow>& rows) {
    std::string text;
    for (size_t i = 0; i < rows.size(); ++i) {
        const ExifListRow& row = rows[i];
        const int width = DisplayWidth(row.name);
        text.append(static_cast<size_t>(width < kNameColumns ? kNameColumns - width : 0), ' ');
        text += row.name;
        if (!row.value.empty()) {
            text += " : ";
            text += row.value;
            if (i + 1 < rows.size()) {
                text += '\n';
            }
        } else {
            text += '\n';
        }
    }
    return text;
}

const char* ExifButtonMessage(int check_result) {
    if (check_result & 2) {
        return nullptr;
    }
    return ((check_result & 1) ? exif_texts::kNoExif : exif_texts::kNotJpeg).c_str();
}

}  // namespace pelimon
