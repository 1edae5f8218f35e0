// Which image type a file name denotes, by its extension text.
#pragma once

#include <string_view>

namespace pelimon {

// kTypeBmp, kTypeJpeg, kTypePng, kTypeGif, kTypeWebp or kTypeHeif (settings/setting_values.h), 0
// for none of these. The test runs on a lower-case copy and looks for the extension anywhere in
// the name; later tests override earlier ones, so "photo.bmp.jpg" gives 2 and "scan.png.bmp"
// gives 4. ".png" and ".gif" count only after the first character, so a hidden file named ".png"
// is no PNG. The newer extensions (.webp, .heic, .heif, .hif, .avif) count only at the end of a
// name that has more than them.
int FileTypeOfName(std::string_view name);

// The OutputType of "same as the source" for a file of this name: the type of FileTypeOfName,
// except that WebP gives kOutputWebp, AVIF kOutputAvif, and HEIF/HEIC JPEG.
int OutputTypeOfName(std::string_view name);

}  // namespace pelimon
