// Which image type a file name denotes, by its extension text.
#pragma once

#include <string_view>

namespace pelimon {

// kTypeBmp, kTypeJpeg, kTypePng or kTypeGif (settings/setting_values.h), 0 for none of these. The test runs on a
// lower-case copy and looks for the extension anywhere in the name; later tests override earlier ones, so
// "photo.bmp.jpg" gives 2 and "scan.png.bmp" gives 4. ".png" and ".gif" count only after the first character, so a
// hidden file named ".png" is no PNG.
int FileTypeOfName(std::string_view name);

}  // namespace pelimon
