// The format table: every written format's own output is sniffed, probed and decoded as that
// format, and every code names one format only.
#include "imagelib/format_table.h"

#include <gtest/gtest.h>

#include <set>

#include "settings/setting_values.h"
#include "tests/imagelib/test_images.h"

namespace pelimon {
namespace {

TEST(FormatTable, EveryWrittenFormatReadsItsOwnOutput) {
    const Image image = test::MakeGradient(24, 16);
    for (const FormatRow& format : FormatTable()) {
        if (!format.Written()) {
            continue;
        }
        SCOPED_TRACE(format.display_name);
        const Result<Bytes> encoded = format.encode(image, {.quality = 90});
        ASSERT_TRUE(encoded.ok()) << encoded.error().message;
        EXPECT_EQ(FormatOfBytes(encoded.value()), &format);
        const Result<ImageHeader> header = ProbeImage(encoded.value());
        ASSERT_TRUE(header.ok());
        EXPECT_EQ(header.value().format, format.format);
        const Result<Image> decoded = DecodeImage(encoded.value());
        ASSERT_TRUE(decoded.ok());
        EXPECT_EQ(decoded.value().width(), 24);
        EXPECT_EQ(FormatOfName("photo" + std::string(format.OutputExtension())), &format);
        EXPECT_EQ(FormatOfFileType(format.codes.file_type), &format);
        EXPECT_EQ(FormatOfOutputType(format.codes.output_type), &format);
        EXPECT_EQ(FormatOfCommandName(format.name), &format);
    }
}

TEST(FormatTable, CodesAndNamesAreEachOneFormats) {
    std::set<int32_t> file_types;
    std::set<int32_t> output_types;
    std::set<std::string_view> names;
    std::set<std::string_view> extensions;
    for (const FormatRow& format : FormatTable()) {
        SCOPED_TRACE(format.display_name);
        EXPECT_TRUE(names.insert(format.name).second);
        for (const std::string_view extension : format.extensions) {
            EXPECT_TRUE(extensions.insert(extension).second) << extension;
        }
        EXPECT_TRUE(FormatRowOf(format.same_as_source).Written());
        EXPECT_NE(format.codes.image_type & AllImageTypes(), 0);
        if (format.Written()) {
            EXPECT_TRUE(file_types.insert(format.codes.file_type).second);
            EXPECT_TRUE(output_types.insert(format.codes.output_type).second);
        }
    }
    EXPECT_FALSE(file_types.contains(kFileTypeSame));
}

}  // namespace
}  // namespace pelimon
