#include "filelist/file_type.h"

#include <string>

#include "common/text.h"

namespace pelimon {

int FileTypeOfName(std::string_view name) {
    const std::string lower = ToLowerAscii(name);
    int type = 0;
    if (lower.find(".bmp") != std::string::npos) {
        type = 1;
    }
    if (lower.find(".jpg") != std::string::npos || lower.find(".jpeg") != std::string::npos) {
        type = 2;
    }
    const size_t png = lower.find(".png", 1);
    if (png != std::string::npos) {
        type = 4;
    }
    const size_t gif = lower.find(".gif", 1);
    if (gif != std::string::npos) {
        type = 8;
    }
    return type;
}

}  // namespace pelimon
