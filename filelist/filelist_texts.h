// Texts of the source file list, in Japanese and English, kept in one place.
#pragma once

#include <string>

#include "common/language.h"

namespace pelimon::filelist_texts {

// The file count beside the list: "（selected/listed）", in English "(selected/listed)".
inline std::string FileCount(int selected, int listed) {
    const std::string count = std::to_string(selected) + "/" + std::to_string(listed);
    return InEnglish() ? "(" + count + ")" : "（" + count + "）";
}

}  // namespace pelimon::filelist_texts
