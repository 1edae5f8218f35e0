// Texts of the progress dialog (CProcMsg), kept in one place (their translations are in po/).
#pragma once

#include "common/message.h"

namespace pelimon::progress_texts {

inline constexpr Message kTitle = Message("Making images");
inline constexpr Message kText = Message("Making the images. Please wait.");
// The percentage: %1 is the number with one decimal, right-aligned in five columns (" 42.0").
inline constexpr Message kPercentFormat = Message("%1 % done");
// xgettext:no-c-format
inline constexpr Message kInitial = Message("0% done");
inline constexpr Message kCancel = Message("Cancel");
inline constexpr char kCountFormat[] = "%1 / %2";

}  // namespace pelimon::progress_texts
