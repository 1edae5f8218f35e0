// Texts of the source file list, kept in one place (their translations are in po/).
#pragma once

#include <string>

#include "common/message.h"

namespace pelimon::filelist_texts {

// The file count beside the list: "(selected/listed)".
inline std::string FileCount(int selected, int listed) {
    // TRANSLATORS: the checked files and all files of the list, beside the list.
    return Format(Message("(%d/%d)"), selected, listed);
}

// After the path of a subfolder that a listing of a tree could not read.
inline constexpr Message kUnreadableFolder = Message("cannot be read; its files are not listed");

}  // namespace pelimon::filelist_texts
