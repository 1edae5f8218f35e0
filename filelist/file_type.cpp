#include "filelist/file_type.h"

#include <string>

#include "common/text.h"
#include "settings/setting_values.h"

namespace pelimon {

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
    return type;
}

}  // namespace pelimon
