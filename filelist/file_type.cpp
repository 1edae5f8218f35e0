#include "filelist/file_type.h"

#include <string>

#include "common/text.h"
#include "settings/setting_values.h"

namespace pelimon {
namespace {

bool EndsWithExtension(std::string_view lower, std::string_view extension) {
    return lower.size() > extension.size() && lower.substr(lower.size() - extension.size()) == extension;
}

}  // namespace

int FileTypeOfName(std::string_view name) {
    const std::string lower = ToLowerAscii(name);
    int type = 0;
    if (lower.find(".bmp") != std::string::npos) {
        type = kTypeBmp;
    }
    if (lower.find(".jpg") != std::string::npos || lower.find(".jpeg") != std::string::npos) {
        type = kTypeJpeg;
    }
    const size_t png = lower.find(".png", 1);
    if (png != std::string::npos) {
        type = kTypePng;
    }
    const size_t gif = lower.find(".gif", 1);
    if (gif != std::string::npos) {
        type = kTypeGif;
    }
    if (EndsWithExtension(lower, ".webp")) {
        type = kTypeWebp;
    }
    for (const std::string_view extension : {".heic", ".heif", ".hif", ".avif"}) {
        if (EndsWithExtension(lower, extension)) {
            type = kTypeHeif;
        }
    }
    return type;
}

int OutputTypeOfName(std::string_view name) {
    switch (FileTypeOfName(name)) {
        case kTypeWebp:
            return kOutputWebp;
        case kTypeHeif:
            return EndsWithExtension(ToLowerAscii(name), ".avif") ? int{kOutputAvif} : int{kTypeJpeg};
        default:
            return FileTypeOfName(name);
    }
}

}  // namespace pelimon
