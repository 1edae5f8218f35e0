// Types by file name: the list's type filter and the output type of "same as the source".
#include "filelist/file_type.h"

#include <gtest/gtest.h>

#include "tests/support/format_codes.h"

namespace pelimon {
namespace {

int ImageTypeOrNone(ImageFormat format) {
    return format == ImageFormat::kUnknown ? 0 : test::ImageTypeOf(format);
}
int OutputTypeOrNone(ImageFormat format) {
    return format == ImageFormat::kUnknown ? 0 : test::OutputTypeOf(format);
}

TEST(FileType, ExtensionsInAnyCase) {
    struct Row {
        const char* name;
        ImageFormat listed_as;  // kUnknown: not listed
        ImageFormat written_as;
    };
    constexpr ImageFormat kNone = ImageFormat::kUnknown;
    const Row rows[] = {
        {"IMG_0001.HEIC", ImageFormat::kHeif, ImageFormat::kJpeg},
        {"a.heif", ImageFormat::kHeif, ImageFormat::kJpeg},
        {"b.Hif", ImageFormat::kHeif, ImageFormat::kJpeg},
        {"c.AVIF", ImageFormat::kAvif, ImageFormat::kAvif},
        {"d.WebP", ImageFormat::kWebp, ImageFormat::kWebp},
        {"photo.webp.jpg", ImageFormat::kJpeg, ImageFormat::kJpeg},
        {"photo.jpg.webp", ImageFormat::kWebp, ImageFormat::kWebp},
        {".webp", kNone, kNone},
        {"notes.heic.txt", kNone, kNone},
        {"scan.png", ImageFormat::kPng, ImageFormat::kPng},
        {"photo.bmp.jpg", ImageFormat::kJpeg, ImageFormat::kJpeg},
        {"scan.png.bmp", ImageFormat::kPng, ImageFormat::kPng},
        {"old.JPEG.txt", ImageFormat::kJpeg, ImageFormat::kJpeg},
        {".png", kNone, kNone},
        {".bmp", ImageFormat::kBmp, ImageFormat::kBmp},
        {"anim.GIF", ImageFormat::kGif, ImageFormat::kGif},
        {"README", kNone, kNone},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(FileTypeOfName(row.name), ImageTypeOrNone(row.listed_as));
        EXPECT_EQ(OutputTypeOfName(row.name), OutputTypeOrNone(row.written_as));
    }
}

}  // namespace
}  // namespace pelimon
