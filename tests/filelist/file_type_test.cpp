// Types by file name: the list's type filter and the output type of "same as the source".
#include "filelist/file_type.h"

#include <gtest/gtest.h>

#include "settings/app_settings.h"

namespace pelimon {
namespace {

TEST(FileType, NewerExtensionsInAnyCase) {
    struct Row {
        const char* name;
        int type;
        int output;
    };
    const Row rows[] = {
        {"IMG_0001.HEIC", kTypeHeif, kTypeJpeg},
        {"a.heif", kTypeHeif, kTypeJpeg},
        {"b.Hif", kTypeHeif, kTypeJpeg},
        {"c.AVIF", kTypeHeif, kOutputAvif},
        {"d.WebP", kTypeWebp, kOutputWebp},
        {"photo.webp.jpg", kTypeJpeg, kTypeJpeg},
        {"photo.jpg.webp", kTypeWebp, kOutputWebp},
        {".webp", 0, 0},
        {"notes.heic.txt", 0, 0},
        {"scan.png", kTypePng, kTypePng},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(FileTypeOfName(row.name), row.type);
        EXPECT_EQ(OutputTypeOfName(row.name), row.output);
    }
}

}  // namespace
}  // namespace pelimon
