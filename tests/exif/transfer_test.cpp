// Carrying metadata into the output: the Exif segment with the output's pixel size and
// orientation, the ICC profile, and nothing else.
#include <gtest/gtest.h>

#include "exif/exif_reader.h"
#include "exif/jpeg_segments.h"
#include "exif/output_metadata.h"
#include "exif/source_metadata.h"
#include "exif/tiff_block.h"
#include "exif_test_files.h"
#include "imagelib/imagelib.h"

namespace pelimon {
namespace {

using test::Bytes;

constexpr size_t kTiffInSegment = 10;

struct TransferCase {
    const char* file;
    uint16_t pixel_type;  // type of 0xA002/0xA003 in the file
};

const TransferCase kTransferCases[] = {
    {"ii-app1-interop-thumb-short-usercomment-canon.jpg", 3},
    {"ii-app0-orient6-interop-thumb-long-sony.jpg", 4},
    {"mm-app1-interop-thumb-short-kodak.jpg", 3},
    {"mm-app1-interop-thumb-long-fujifilm.jpg", 4},
};

// The 4-byte value field of `tag` in the sub-IFD of an examined output.
Bytes SubValueField(const CExifReader& reader, uint16_t tag) {
    const auto& entries = reader.SubEntries();
    for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].tag == tag) {
            const TiffBlock tiff({reader.ExifSegment().begin() + kTiffInSegment, reader.ExifSegment().end()});
            const size_t at = kTiffInSegment + tiff.SubIfdOffset() + 2 + 12 * i + 8;
            return Bytes(reader.ExifSegment().begin() + static_cast<long>(at),
                         reader.ExifSegment().begin() + static_cast<long>(at + 4));
        }
    }
    return {};
}

MetadataTransfer Transfer(bool keep_exif, int width, int height, bool rotated) {
    MetadataTransfer transfer;
    transfer.keep_exif = keep_exif;
    transfer.output_width = width;
    transfer.output_height = height;
    transfer.pixels_rotated = rotated;
    return transfer;
}

CExifReader Examine(const Bytes& file) {
    CExifReader reader;
    reader.LoadTagTable();
    reader.SetFileBytes(file);
    EXPECT_EQ(reader.CheckJpeg(), 3);
    reader.ReadMainIFD();
    reader.ReadSubIFD();
    return reader;
}

// A width x height JPEG output: the encoder's file without metadata, and with what the transfer
// builds from `source`.
struct EncodedOutput {
    Bytes bare;
    Bytes with_metadata;
};
EncodedOutput EncodeOutput(int width, int height, const SourceMetadata& source, const MetadataTransfer& transfer) {
    const Image image(width, height);
    const OutputMetadata metadata = BuildOutputMetadata(source, transfer);
    return {EncodeJpeg(image).value(), EncodeJpeg(image, {.metadata = BlocksOf(metadata)}).value()};
}

size_t CountMarkers(const Bytes& file, uint8_t marker) {
    size_t count = 0;
    for (const JpegSegment& segment : WalkJpegSegments(file)) {
        count += segment.marker == marker ? 1u : 0u;
    }
    return count;
}

TEST(Transfer, PixelSizePatchedInShortAndLongFormInBothByteOrders) {
    for (const TransferCase& c : kTransferCases) {
        SCOPED_TRACE(c.file);
        const SourceMetadata source = ReadSourceMetadata(test::ReadFileBytes(test::CameraFile(c.file)), 0);
        ASSERT_FALSE(source.exif_segment.empty());
        const auto [encoded, out] = EncodeOutput(40, 24, source, Transfer(true, 0x1234, 0x56, false));

        const CExifReader reader = Examine(out);
        EXPECT_EQ(reader.m_nTiffBase, 12);  // SOI, then the Exif segment
        const bool le = reader.m_bLittleEndian;
        const Bytes width = SubValueField(reader, 0xA002);
        const Bytes height = SubValueField(reader, 0xA003);
        if (c.pixel_type == 3) {
            EXPECT_EQ(width, le ? Bytes({0x34, 0x12, 0, 0}) : Bytes({0x12, 0x34, 0, 0}));
            EXPECT_EQ(height, le ? Bytes({0x56, 0, 0, 0}) : Bytes({0, 0x56, 0, 0}));
        } else {
            EXPECT_EQ(width, le ? Bytes({0x34, 0x12, 0, 0}) : Bytes({0, 0, 0x12, 0x34}));
            EXPECT_EQ(height, le ? Bytes({0x56, 0, 0, 0}) : Bytes({0, 0, 0, 0x56}));
        }
        for (const ExifEntry& entry : reader.SubEntries()) {
            if (entry.tag == 0xA002) {
                EXPECT_EQ(entry.type, c.pixel_type);
                EXPECT_EQ(entry.value, "4660 (pixel)");
            }
        }
        // Only the two value fields changed, and the encoder's file follows whole.
        const std::vector<uint8_t>& copied = reader.ExifSegment();
        ASSERT_EQ(copied.size(), source.exif_segment.size());
        size_t changed = 0;
        for (size_t i = 0; i < copied.size(); ++i) {
            changed += copied[i] != source.exif_segment[i] ? 1u : 0u;
        }
        EXPECT_LE(changed, 8u);
        EXPECT_TRUE(std::equal(encoded.begin() + 2, encoded.end(), out.end() - static_cast<long>(encoded.size() - 2)));
    }
}

TEST(Transfer, RotatedPixelsGetUprightOrientation) {
    const Bytes file = test::ReadFileBytes(test::CameraFile("ii-app0-orient6-interop-thumb-long-sony.jpg"));
    const SourceMetadata source = ReadSourceMetadata(file, 0);
    ASSERT_EQ(source.Orientation, 6);
    for (const bool rotated : {false, true}) {
        SCOPED_TRACE(rotated);
        const Bytes out = EncodeOutput(24, 40, source, Transfer(true, 24, 40, rotated)).with_metadata;
        EXPECT_EQ(ReadSourceMetadata(out, 0).Orientation, rotated ? 1 : 6);
        CExifReader reader = Examine(out);
        EXPECT_EQ(reader.MainIFDNumber(0x0112), rotated ? 1u : 6u);
        // The thumbnail's own orientation is the thumbnail's business and stays.
        reader.ReadThumbnailIFD();
        for (const ExifEntry& entry : reader.ThumbnailEntries()) {
            if (entry.tag == 0x0112) {
                EXPECT_EQ(entry.value, "右上");
            }
        }
    }
}

TEST(Transfer, WithoutKeepExifNoApp1ReachesTheOutput) {
    for (const char* name : {"ii-app1-gps-nointerop-nothumb-nikon.jpg", "mm-app0-xmpfirst-exiflater-nodate.jpg"}) {
        SCOPED_TRACE(name);
        const SourceMetadata source = ReadSourceMetadata(test::ReadFileBytes(test::CameraFile(name)), 0);
        ASSERT_FALSE(source.exif_segment.empty());
        const Bytes out = EncodeOutput(16, 16, source, Transfer(false, 16, 16, false)).with_metadata;
        EXPECT_EQ(CountMarkers(out, 0xE1), 0u);
        EXPECT_EQ(CountMarkers(out, 0xED), 0u);  // IPTC
        CExifReader reader;
        reader.SetFileBytes(out);
        EXPECT_EQ(reader.CheckJpeg(), 1);
    }
}

TEST(Transfer, SourceWithoutMetadataGivesTheEncodersFile) {
    const SourceMetadata source = ReadSourceMetadata(test::EncodeTestJpeg(16, 16), 0);
    const EncodedOutput output = EncodeOutput(16, 16, source, Transfer(true, 16, 16, true));
    EXPECT_EQ(output.with_metadata, output.bare);
}

Bytes TestProfile(size_t size) {
    Bytes profile(size);
    for (size_t i = 0; i < size; ++i) {
        profile[i] = static_cast<uint8_t>(i * 7 + i / 256);
    }
    return profile;
}

TEST(Transfer, IccProfileInTwoChunksIsReassembledAndCarried) {
    const Bytes encoded = test::EncodeTestJpeg(16, 16);
    const Bytes profile = TestProfile(3000);
    const Bytes first(profile.begin(), profile.begin() + 1000);
    const Bytes second(profile.begin() + 1000, profile.end());
    // Chunks stored out of order: the sequence numbers decide.
    const Bytes source_file =
        test::JpegWithSegments({test::IccChunk(2, 2, second), test::IccChunk(1, 2, first)}, encoded);
    const SourceMetadata source = ReadSourceMetadata(source_file, 0);
    ASSERT_EQ(source.icc_profile, profile);
    for (const bool keep_exif : {false, true}) {
        SCOPED_TRACE(keep_exif);
        const Bytes out = EncodeOutput(16, 16, source, Transfer(keep_exif, 16, 16, false)).with_metadata;
        EXPECT_EQ(ReadSourceMetadata(out, 0).icc_profile, profile);
    }
}

TEST(Transfer, LargeProfileIsSplitIntoChunksOfAtMost65519Bytes) {
    SourceMetadata source;
    source.icc_profile = TestProfile(150000);
    const Bytes out = EncodeOutput(16, 16, source, {}).with_metadata;
    EXPECT_EQ(CountMarkers(out, 0xE2), 3u);
    for (const JpegSegment& segment : WalkJpegSegments(out)) {
        if (segment.marker == 0xE2) {
            EXPECT_LE(segment.length - 2u - 14u, kMaxIccChunk);
        }
    }
    EXPECT_EQ(ReadSourceMetadata(out, 0).icc_profile, source.icc_profile);
}

TEST(Transfer, DamagedChunkSetsGiveNoProfile) {
    const Bytes encoded = test::EncodeTestJpeg(16, 16);
    const Bytes a = TestProfile(10);
    const std::vector<std::vector<Bytes>> damaged = {
        {test::IccChunk(1, 3, a), test::IccChunk(2, 3, a)},  // chunk 3 missing
        {test::IccChunk(1, 2, a), test::IccChunk(1, 2, a)},  // chunk 1 twice
        {test::IccChunk(1, 2, a), test::IccChunk(2, 3, a)},  // totals disagree
    };
    for (size_t i = 0; i < damaged.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(ReadSourceMetadata(test::JpegWithSegments(damaged[i], encoded), 0).icc_profile.empty());
    }
}

TEST(Transfer, PhoneProfileBeforeTheExifIsCarried) {
    const Bytes file =
        test::ReadFileBytes(test::CameraFile("mm-app0-app2-farexif-gps-nointerop-nothumb-apple-phone.jpg"));
    const SourceMetadata source = ReadSourceMetadata(file, 0);
    ASSERT_FALSE(source.icc_profile.empty());
    // An ICC profile begins with its own size, big-endian.
    const uint32_t declared = (uint32_t{source.icc_profile[0]} << 24) | (uint32_t{source.icc_profile[1]} << 16) |
                              (uint32_t{source.icc_profile[2]} << 8) | source.icc_profile[3];
    EXPECT_EQ(declared, source.icc_profile.size());
    const Bytes out = EncodeOutput(8, 8, source, Transfer(false, 8, 8, false)).with_metadata;
    EXPECT_EQ(ReadSourceMetadata(out, 0).icc_profile, source.icc_profile);
}

}  // namespace
}  // namespace pelimon
