// Which image type a file name denotes, by its extension text (the format table's extensions and
// NameMatch rules, imagelib/format_table.h).
#pragma once

#include <string_view>

namespace pelimon {

// The ImageType bit of the format the name shows (FormatOfName), 0 for none. The test runs on a
// lower-case copy, by each format's extensions and NameMatch rule; when several formats'
// extensions occur, the highest bit wins, so "photo.bmp.jpg" gives JPEG's and "scan.png.bmp" PNG's.
int FileTypeOfName(std::string_view name);

// The OutputType of "same as the source" for a file of this name: that of the format its format
// is written as (FormatRow::same_as_source, so HEIF/HEIC gives JPEG's), 0 when the name shows no
// format.
int OutputTypeOfName(std::string_view name);

}  // namespace pelimon
