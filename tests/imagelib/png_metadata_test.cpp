// The Exif and XMP of PNG files: from eXIf and iTXt chunks, from the "Raw profile type" text
// chunks older tools write (tEXt, zTXt or iTXt, hexadecimal), and from a file read without its
// image data.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdio>
#include <string>
#include <vector>

#include "imagelib/embedded_metadata.h"
#include "imagelib/imagelib.h"
#include "imagelib/png_chunks.h"
#include "test_images.h"
#include "tests/support/png_chunks.h"

namespace pelimon {
namespace {

using test::PngChunkData;

const Bytes kTiff = {'I', 'I', 42, 0, 8, 0, 0, 0, 1, 0, 0x12, 1, 3, 0, 1, 0, 0, 0, 6, 0, 0, 0, 0, 0, 0, 0};
const std::string kXmpText = "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"/>";

Bytes Text(const std::string& text) {
    return Bytes(text.begin(), text.end());
}
Bytes Joined(const Bytes& a, const Bytes& b) {
    Bytes joined = a;
    joined.insert(joined.end(), b.begin(), b.end());
    return joined;
}
Bytes Compressed(const Bytes& bytes) {
    uLongf size = compressBound(static_cast<uLong>(bytes.size()));
    Bytes out(size);
    EXPECT_EQ(compress(out.data(), &size, bytes.data(), static_cast<uLong>(bytes.size())), Z_OK);
    out.resize(size);
    return out;
}
// "Raw profile type" text: name, length, hexadecimal in lines of 72 digits.
Bytes RawProfile(const std::string& name, const Bytes& bytes) {
    std::string text = "\n" + name + "\n" + std::string(8 - std::to_string(bytes.size()).size(), ' ') +
                       std::to_string(bytes.size()) + "\n";
    for (size_t i = 0; i < bytes.size(); ++i) {
        char digits[3];
        std::snprintf(digits, sizeof digits, "%02x", bytes[i]);
        text += digits;
        if (i % 36 == 35) {
            text += '\n';
        }
    }
    return Text(text + "\n");
}

Bytes ITxt(const std::string& keyword, const Bytes& text, bool compressed) {
    Bytes data = Text(keyword);
    data.insert(data.end(), {0, static_cast<uint8_t>(compressed ? 1 : 0), 0, 0, 0});
    const Bytes body = compressed ? Compressed(text) : text;
    data.insert(data.end(), body.begin(), body.end());
    return data;
}

// png_rgb.png with `extra` chunks after its IHDR (or, with `after_image`, before its IEND).
Bytes PngWith(const std::vector<PngChunkData>& extra, bool after_image = false) {
    std::vector<PngChunkData> chunks = test::SplitPng(test::ReadFixture("png_rgb.png"));
    chunks.insert(after_image ? chunks.end() - 1 : chunks.begin() + 1, extra.begin(), extra.end());
    return test::JoinPng(chunks);
}

TEST(PngMetadataTest, ExifAndXmpFromEveryChunkThatCarriesThem) {
    const Bytes exif_prefixed = Joined(Text(std::string("Exif\0\0", 6)), kTiff);
    const Bytes raw = RawProfile("exif", exif_prefixed);
    struct Case {
        const char* what;
        std::vector<PngChunkData> chunks;
        bool has_exif;
        bool has_xmp;
    };
    const Case cases[] = {
        {"eXIf and iTXt", {{"eXIf", kTiff}, {"iTXt", ITxt("XML:com.adobe.xmp", Text(kXmpText), false)}}, true, true},
        {"eXIf after Exif\\0\\0, compressed iTXt",
         {{"eXIf", exif_prefixed}, {"iTXt", ITxt("XML:com.adobe.xmp", Text(kXmpText), true)}},
         true,
         true},
        {"raw profile in tEXt", {{"tEXt", Joined(Text(std::string("Raw profile type exif\0", 22)), raw)}}, true, false},
        {"raw profile in zTXt",
         {{"zTXt", Joined(Text(std::string("Raw profile type APP1\0\0", 23)), Compressed(raw))},
          {"zTXt",
           Joined(Text(std::string("Raw profile type xmp\0\0", 22)), Compressed(RawProfile("xmp", Text(kXmpText))))}},
         true,
         true},
        {"raw profile in iTXt", {{"iTXt", ITxt("Raw profile type exif", raw, true)}}, true, false},
        {"XMP under another keyword", {{"iTXt", ITxt("Comment", Text(kXmpText), false)}}, false, false},
        {"a raw profile with digits missing",
         {{"tEXt", Joined(Text(std::string("Raw profile type exif\0", 22)), Bytes(raw.begin(), raw.end() - 10))}},
         false,
         false},
    };
    for (const Case& c : cases) {
        for (const bool after_image : {false, true}) {
            SCOPED_TRACE(std::string(c.what) + (after_image ? ", after the image data" : ""));
            const Bytes png = PngWith(c.chunks, after_image);
            const EmbeddedMetadata read = ReadEmbeddedMetadata(png);
            EXPECT_EQ(read.exif, c.has_exif ? kTiff : Bytes{});
            EXPECT_EQ(read.xmp, c.has_xmp ? Text(kXmpText) : Bytes{});
            EXPECT_FALSE(read.decoder_orients);
            EXPECT_TRUE(DecodeImage(png).ok());
        }
    }
}

TEST(PngMetadataTest, ExifChunkComesBeforeARawProfileAndDamagedChunksArePassedOver) {
    Bytes other = kTiff;
    other[18] = 3;  // Orientation 3
    std::vector<PngChunkData> chunks = test::SplitPng(
        PngWith({{"tEXt", Joined(Text(std::string("Raw profile type exif\0", 22)), RawProfile("exif", other))},
                 {"eXIf", kTiff}}));
    EXPECT_EQ(ReadEmbeddedMetadata(test::JoinPng(chunks)).exif, kTiff);
    std::swap(chunks[1], chunks[2]);  // the eXIf first, then the raw profile
    Bytes exif_damaged = test::JoinPng(chunks);
    exif_damaged[8 + 25 + 8] ^= 1;  // into the eXIf chunk's data
    EXPECT_EQ(ReadEmbeddedMetadata(exif_damaged).exif, other);
}

TEST(PngMetadataTest, ReadWithoutImageDataKeepsEveryOtherChunk) {
    const Bytes png = PngWith({{"eXIf", kTiff}, {"iTXt", ITxt("XML:com.adobe.xmp", Text(kXmpText), false)}}, true);
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    std::fwrite(png.data(), 1, png.size(), file);
    std::rewind(file);
    const Result<Bytes> without = ReadPngWithoutImageData(file, size_t{1} << 20);
    std::rewind(file);
    const Result<Bytes> bounded = ReadPngWithoutImageData(file, 8 + 25 + 12 + kTiff.size() + 12);
    std::fclose(file);
    ASSERT_TRUE(without.ok() && bounded.ok());
    std::vector<std::string> types;
    for (const PngChunk& chunk : WalkPngChunks(without.value())) {
        EXPECT_TRUE(chunk.intact);
        types.emplace_back(chunk.type);
    }
    EXPECT_EQ(types, (std::vector<std::string>{"IHDR", "eXIf", "iTXt", "IEND"}));
    const EmbeddedMetadata read = ReadEmbeddedMetadata(without.value());
    EXPECT_EQ(read.exif, kTiff);
    EXPECT_EQ(read.xmp, Text(kXmpText));
    // A chunk beyond the bound is left out, the smaller ones after it still come.
    EXPECT_EQ(ReadEmbeddedMetadata(bounded.value()).exif, kTiff);
    EXPECT_TRUE(ReadEmbeddedMetadata(bounded.value()).xmp.empty());
}

}  // namespace
}  // namespace pelimon
