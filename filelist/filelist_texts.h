// Texts of the source file list, kept in one place for translation.
#pragma once

#include <string>

namespace pelimon::filelist_texts {

// The file count beside the list: "（selected/listed）".
inline std::string FileCount(int selected, int listed) {
    return "（" + std::to_string(selected) + "/" + std::to_string(listed) + "）";
}

}  // namespace pelimon::filelist_texts
