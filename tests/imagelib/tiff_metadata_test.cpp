// The directories of TIFF-structured files and the metadata found through them: the Exif block
// rebuilt from IFD0, the Exif, Interoperability and GPS IFDs, the blocks of IFD0, in both byte
// orders, and what damaged directories leave.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "imagelib/imagelib.h"
#include "imagelib/tiff_metadata.h"
#include "imagelib/tiff_structure.h"
#include "test_images.h"

namespace pelimon {
namespace {

Bytes Text(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

TiffOutEntry Ascii(uint16_t tag, const std::string& text) {
    Bytes value = Text(text);
    value.push_back(0);
    return TiffOutEntry{.tag = tag, .type = kTiffAscii, .count = static_cast<uint32_t>(value.size()), .value = value};
}

TiffOutEntry Blob(uint16_t tag, const Bytes& value) {
    return TiffOutEntry{
        .tag = tag, .type = kTiffUndefined, .count = static_cast<uint32_t>(value.size()), .value = value};
}

TiffOutEntry Short(bool little, uint16_t tag, uint16_t value) {
    return TiffOutEntry{.tag = tag, .type = kTiffShort, .count = 1, .value = TiffShortBytes(little, value)};
}

TiffOutEntry Link(uint16_t tag, int directory) {
    return TiffOutEntry{.tag = tag, .type = kTiffLong, .count = 1, .value = {}, .link = directory};
}

const Bytes kXmp = Text("<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"/>");
const Bytes kIcc = Bytes(48, 7);
const Bytes kIptc = {0x1C, 2, 5, 0, 3, 'S', 'e', 'a'};

// A TIFF (with no image) whose IFD0 has descriptive tags, the blocks, two SubIFDs and the Exif
// and GPS pointers; the Exif IFD holds a date, a maker note of `maker_note_size` bytes and the
// Interoperability pointer.
Bytes MetadataTiff(bool little, size_t maker_note_size = 40) {
    Bytes sub_ifds = TiffLongBytes(little, 1000);
    const Bytes second = TiffLongBytes(little, 2000);
    sub_ifds.insert(sub_ifds.end(), second.begin(), second.end());
    const std::vector<TiffOutDirectory> directories = {
        {Short(little, 0x0100, 2), Ascii(0x010F, "Maker"), Short(little, kTiffTagOrientation, 6),
         Short(little, kTiffTagPhotometric, 2), Blob(kTiffTagXmp, kXmp), Blob(kTiffTagIcc, kIcc),
         Blob(kTiffTagIptc, kIptc),
         TiffOutEntry{.tag = kTiffTagSubIfds, .type = kTiffLong, .count = 2, .value = sub_ifds},
         Link(kTiffTagExifIfd, 1), Link(kTiffTagGpsIfd, 3)},
        {Ascii(0x9003, "2007:05:02 14:03:09"), Blob(0x927C, Bytes(maker_note_size, 1)), Link(0xA005, 2)},
        {Ascii(0x0001, "R98")},
        {TiffOutEntry{.tag = 0x0000, .type = kTiffByte, .count = 4, .value = {2, 3, 0, 0}}},
    };
    return WriteTiffBlock(little, directories);
}

// The tags of each directory of an Exif block, IFD0 first, then as its pointers lead.
struct BlockTags {
    std::vector<uint16_t> ifd0, exif, interop, gps;
};

BlockTags TagsOf(const Bytes& block) {
    BlockTags tags;
    const MemoryTiffSource source(block);
    const std::optional<TiffStructure> tiff = TiffStructure::Open(source);
    if (!tiff) {
        return tags;
    }
    const auto tags_at = [&](std::optional<uint64_t> offset,
                             std::vector<uint16_t>& out) -> std::optional<TiffDirectory> {
        std::optional<TiffDirectory> directory = offset ? tiff->ReadDirectory(*offset) : std::nullopt;
        for (const TiffEntry& entry : directory ? directory->entries : std::vector<TiffEntry>{}) {
            out.push_back(entry.tag);
        }
        return directory;
    };
    const std::optional<TiffDirectory> ifd0 = tags_at(tiff->first_directory(), tags.ifd0);
    if (ifd0) {
        if (const std::optional<TiffDirectory> exif = tags_at(tiff->Number(*ifd0, kTiffTagExifIfd), tags.exif)) {
            tags_at(tiff->Number(*exif, 0xA005), tags.interop);
        }
        tags_at(tiff->Number(*ifd0, kTiffTagGpsIfd), tags.gps);
    }
    return tags;
}

using Tags = std::vector<uint16_t>;

TEST(TiffMetadata, FindsEveryBlockAndRebuildsTheExifInEitherByteOrder) {
    for (const bool little : {true, false}) {
        SCOPED_TRACE(little ? "II" : "MM");
        const TiffMetadata metadata = ReadTiffMetadata(MetadataTiff(little));
        EXPECT_EQ(metadata.orientation, 6);
        EXPECT_EQ(metadata.photometric, 2);
        EXPECT_EQ(metadata.xmp, kXmp);
        EXPECT_EQ(metadata.icc_profile, kIcc);
        EXPECT_EQ(metadata.iptc, kIptc);
        EXPECT_EQ(metadata.sub_ifds, (std::vector<uint64_t>{1000, 2000}));
        EXPECT_NE(metadata.exif_ifd, 0u);
        EXPECT_NE(metadata.gps_ifd, 0u);
        ASSERT_GE(metadata.exif.size(), 8u);
        EXPECT_EQ(metadata.exif[0], little ? 'I' : 'M');
        // IFD0 keeps only what describes the photo; the pointers lead to copies of the IFDs.
        const BlockTags tags = TagsOf(metadata.exif);
        EXPECT_EQ(tags.ifd0, (Tags{0x010F, kTiffTagOrientation, kTiffTagExifIfd, kTiffTagGpsIfd}));
        EXPECT_EQ(tags.exif, (Tags{0x9003, 0x927C, 0xA005}));
        EXPECT_EQ(tags.interop, (Tags{0x0001}));
        EXPECT_EQ(tags.gps, (Tags{0x0000}));

        // The small file the batch keeps of a streamed source gives the same metadata back.
        const TiffMetadata kept = ReadTiffMetadata(TiffMetadataFile(metadata));
        EXPECT_EQ(kept.exif, metadata.exif);
        EXPECT_EQ(kept.xmp, kXmp);
        EXPECT_EQ(kept.icc_profile, kIcc);
        EXPECT_EQ(kept.iptc, kIptc);
        EXPECT_EQ(kept.orientation, 6);
        EXPECT_EQ(kept.photometric, 2);
    }
}

TEST(TiffMetadata, AMakerNoteTooLargeForAJpegSegmentIsLeftOut) {
    const TiffMetadata metadata = ReadTiffMetadata(MetadataTiff(true, 70000));
    EXPECT_LE(metadata.exif.size(), kMaxExifBlockBytes);
    EXPECT_EQ(TagsOf(metadata.exif).exif, (Tags{0x9003, 0xA005}));
}

TEST(TiffMetadata, ReadsRealFilesBigTiffIncluded) {
    const struct {
        const char* name;
        bool exif_ifd;
        bool gps;
    } kCases[] = {
        {"ltt_custom_dir_EXIF_GPS.tiff", true, true},
        {"mei_BigTIFFLong8Tiles.tif", false, false},
        {"ltt_test_ifd_loop_to_self.tif", false, false},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        std::FILE* file = std::fopen((std::string(PELIMON_TEST_DATA_DIR) + "/tiff/" + c.name).c_str(), "rb");
        ASSERT_NE(file, nullptr);
        const FileTiffSource source(file);
        const uint16_t magics[] = {42, 43};
        const TiffMetadata metadata = ReadTiffMetadata(source, magics);
        const Result<Bytes> kept = ReadTiffMetadataFile(file);
        std::fclose(file);
        const BlockTags tags = TagsOf(metadata.exif);
        EXPECT_EQ(!tags.exif.empty(), c.exif_ifd);
        EXPECT_EQ(!tags.gps.empty(), c.gps);
        ASSERT_TRUE(kept.ok());
        EXPECT_EQ(ReadTiffMetadata(kept.value()).exif, metadata.exif);
    }
}

TEST(TiffMetadata, DamagedDirectoriesNeverCrashOrLoop) {
    // The Exif pointer leads back to IFD0, the GPS pointer beyond the file.
    const std::vector<TiffOutDirectory> looping = {
        {Ascii(0x010F, "Maker"),
         TiffOutEntry{.tag = kTiffTagExifIfd, .type = kTiffLong, .count = 1, .value = TiffLongBytes(true, 8)},
         TiffOutEntry{.tag = kTiffTagGpsIfd, .type = kTiffLong, .count = 1, .value = TiffLongBytes(true, 1u << 30)}}};
    const TiffMetadata metadata = ReadTiffMetadata(WriteTiffBlock(true, looping));
    const BlockTags tags = TagsOf(metadata.exif);
    EXPECT_EQ(tags.ifd0, (Tags{0x010F}));
    EXPECT_TRUE(tags.exif.empty() && tags.gps.empty());
    // Every prefix of a whole file reads as far as it goes.
    const Bytes whole = MetadataTiff(false);
    for (size_t size = 0; size < whole.size(); ++size) {
        const TiffMetadata cut = ReadTiffMetadata(ByteView(whole).first(size));
        EXPECT_LE(cut.exif.size(), kMaxExifBlockBytes);
    }
}

TEST(TiffMetadata, AnEncodedTiffCarriesTheBlocksAndItsPixelsLosslessly) {
    for (const bool little : {true, false}) {
        SCOPED_TRACE(little ? "II" : "MM");
        const TiffMetadata source = ReadTiffMetadata(MetadataTiff(little));
        Bytes photoshop = Text(std::string("Photoshop 3.0\0", 14));
        const Bytes resource = {'8', 'B', 'I', 'M', 0x04, 0x04, 0, 0, 0, 0, 0, 8};
        photoshop.insert(photoshop.end(), resource.begin(), resource.end());
        photoshop.insert(photoshop.end(), kIptc.begin(), kIptc.end());
        const Image image = test::MakeGradient(9, 7);
        const Result<Bytes> encoded = EncodeTiff(
            image, {.metadata = {.exif = source.exif, .icc_profile = kIcc, .xmp = kXmp, .photoshop = photoshop}});
        ASSERT_TRUE(encoded.ok()) << encoded.error().message;
        EXPECT_EQ(encoded.value()[0], little ? 'I' : 'M');  // the Exif block's byte order
        const Result<Image> decoded = DecodeImage(encoded.value());
        ASSERT_TRUE(decoded.ok()) << decoded.error().message;
        EXPECT_EQ(decoded.value(), image);
        const TiffMetadata written = ReadTiffMetadata(encoded.value());
        // IFD0 gains the resolution libtiff writes; the Exif IFDs come through whole.
        const BlockTags tags = TagsOf(written.exif);
        const BlockTags source_tags = TagsOf(source.exif);
        EXPECT_EQ(tags.ifd0,
                  (Tags{0x010F, kTiffTagOrientation, 0x011A, 0x011B, 0x0128, kTiffTagExifIfd, kTiffTagGpsIfd}));
        EXPECT_EQ(tags.exif, source_tags.exif);
        EXPECT_EQ(tags.interop, source_tags.interop);
        EXPECT_EQ(tags.gps, source_tags.gps);
        EXPECT_EQ(written.icc_profile, kIcc);
        EXPECT_EQ(written.xmp, kXmp);
        EXPECT_EQ(written.photoshop, Bytes(photoshop.begin() + 14, photoshop.end()));
        EXPECT_EQ(written.orientation, 6);
    }
}

}  // namespace
}  // namespace pelimon
