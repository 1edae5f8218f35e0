// The blocks an output carries: what travels with Exif kept or dropped, what NoLocation removes,
// extended XMP whole or not at all, malformed blocks left out with a note, the rebuilt thumbnail,
// and the PNG chunks.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "exif/exif_thumbnail.h"
#include "exif/jpeg_segments.h"
#include "exif/output_metadata.h"
#include "exif/tiff_block.h"
#include "exif/xmp_packet.h"
#include "exif_test_files.h"
#include "imagelib/imagelib.h"
#include "tests/support/metadata_blocks.h"

namespace pelimon {
namespace {

using test::Bytes;
using test::GpsBytes;
using test::PngChunk;

SourceMetadata Source(const char* name) {
    return ReadSourceMetadata(test::ReadFileBytes(test::CorpusDir() / name), 0);
}

// An 8 x 8 JPEG output carrying `metadata`.
Bytes JpegCarrying(const OutputMetadata& metadata) {
    return EncodeJpeg(Image(8, 8), {.metadata = BlocksOf(metadata)}).value();
}

MetadataTransfer Keep(bool no_location) {
    MetadataTransfer transfer;
    transfer.keep_exif = true;
    transfer.no_location = no_location;
    transfer.output_width = 64;
    transfer.output_height = 48;
    return transfer;
}

TEST(OutputMetadata, GpsIsKeptByteForByteOrRemoved) {
    for (const char* name :
         {"ii-app1-orient6-gps-interop-thumb-long-samsung-phone.jpg", "ii-app1-gps-nointerop-nothumb-nikon.jpg",
          "mm-app0-app2-farexif-gps-nointerop-nothumb-apple-phone.jpg"}) {
        SCOPED_TRACE(name);
        const SourceMetadata source = Source(name);
        const Bytes source_tiff(source.exif_segment.begin() + 10, source.exif_segment.end());
        ASSERT_FALSE(GpsBytes(source_tiff).empty());
        const OutputMetadata kept = BuildOutputMetadata(source, Keep(false));
        EXPECT_EQ(GpsBytes(kept.exif), GpsBytes(source_tiff));
        const OutputMetadata removed = BuildOutputMetadata(source, Keep(true));
        EXPECT_EQ(TiffBlock(removed.exif).GpsIfdOffset(), 0u);
        EXPECT_EQ(removed.exif.size(), kept.exif.size());
        EXPECT_TRUE(removed.notes.empty());
        // Through a JPEG and back: the reader sees the same block.
        const Bytes out = JpegCarrying(removed);
        const SourceMetadata reread = ReadSourceMetadata(out, 0);
        EXPECT_TRUE(std::equal(removed.exif.begin(), removed.exif.end(), reread.exif_segment.begin() + 10));
    }
}

TEST(OutputMetadata, XmpAndIptcTravelOnlyWithExif) {
    const SourceMetadata iptc = Source("mm-app0-app13-interop-thumb-short-canon.jpg");
    const SourceMetadata xmp = Source("mm-app0-xmpfirst-exiflater-nodate.jpg");
    ASSERT_FALSE(iptc.photoshop.empty());
    ASSERT_FALSE(xmp.xmp.empty());
    for (const bool keep : {false, true}) {
        SCOPED_TRACE(keep);
        MetadataTransfer transfer = Keep(false);
        transfer.keep_exif = keep;
        const OutputMetadata from_iptc = BuildOutputMetadata(iptc, transfer);
        const OutputMetadata from_xmp = BuildOutputMetadata(xmp, transfer);
        EXPECT_EQ(from_iptc.photoshop, keep ? iptc.photoshop : Bytes{});
        EXPECT_EQ(from_xmp.xmp, keep ? xmp.xmp : Bytes{});
        EXPECT_EQ(from_xmp.exif.empty(), !keep);
        const SourceMetadata out = ReadSourceMetadata(JpegCarrying(from_xmp), 0);
        EXPECT_EQ(out.xmp, from_xmp.xmp);
    }
}

// The XMP of a HEIC (an application/rdf+xml item, here ending in a NUL byte) and of a WebP (its
// XMP chunk) goes the way a JPEG's does: whole, with or without NoLocation, since neither names a
// place.
TEST(OutputMetadata, XmpOfHeicAndWebpSourcesTravels) {
    for (const char* name : {"iphone11pro-p3.heic", "nikon-p7000-orient6.webp"}) {
        SCOPED_TRACE(name);
        const SourceMetadata source =
            ReadSourceMetadata(test::ReadFileBytes(std::filesystem::path(PELIMON_TEST_DATA_DIR) / "modern" / name), 0);
        ASSERT_GT(source.xmp.size(), 1000u);
        for (const bool no_location : {false, true}) {
            const OutputMetadata metadata = BuildOutputMetadata(source, Keep(no_location));
            EXPECT_EQ(metadata.xmp, source.xmp);
            EXPECT_TRUE(metadata.notes.empty());
        }
    }
}

// The phone's XMP announces a gain map (hdrgm:Version, a Container:Directory listing it) that no
// output carries: the announcement goes, whatever NoLocation says, and the packet stays usable.
TEST(OutputMetadata, GainMapOfAPhoneHeicIsNotAnnounced) {
    const SourceMetadata source = ReadSourceMetadata(
        test::ReadFileBytes(std::filesystem::path(PELIMON_TEST_DATA_DIR) / "modern" / "galaxy-s24fe-rot90.heic"), 0);
    const auto text = [](const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); };
    ASSERT_NE(text(source.xmp).find("hdrgm:Version"), std::string::npos);
    for (const bool no_location : {false, true}) {
        SCOPED_TRACE(no_location);
        const OutputMetadata metadata = BuildOutputMetadata(source, Keep(no_location));
        const std::string xmp = text(metadata.xmp);
        EXPECT_TRUE(IsWellFormedXmp(xmp));
        EXPECT_EQ(xmp.find("hdrgm:Version"), std::string::npos);
        EXPECT_EQ(xmp.find("GainMap"), std::string::npos);
        EXPECT_EQ(xmp.find("Container:Directory"), std::string::npos);
        EXPECT_NE(xmp.find("<rdf:Description"), std::string::npos);
        EXPECT_TRUE(metadata.notes.empty());
    }
}

// An extended packet cannot be edited in place: one that describes a gain map is left out with a
// note, and the standard packet stays; the same packet in another namespace travels.
TEST(OutputMetadata, ExtendedXmpDescribingAGainMapIsLeftOut) {
    const std::string guid(32, 'A');
    const auto packet = [](const std::string& description) {
        return "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF "
               "xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">"
               "<rdf:Description " +
               description + "/></rdf:RDF></x:xmpmeta>";
    };
    const std::string standard =
        packet("xmlns:xmpNote=\"http://ns.adobe.com/xmp/note/\" xmpNote:HasExtendedXMP=\"" + guid + "\"");
    for (const char* ns : {"http://ns.adobe.com/hdr-gain-map/1.0/", "http://example.com/"}) {
        SCOPED_TRACE(ns);
        const std::string extended = packet(std::string("xmlns:hdrgm=\"") + ns + "\" hdrgm:GainMapMax=\"2.5\"");
        const auto size = static_cast<uint32_t>(extended.size());
        const std::string part = std::string(kExtendedXmpIdentifier) + guid +
                                 std::string{static_cast<char>(size >> 24),
                                             static_cast<char>(size >> 16),
                                             static_cast<char>(size >> 8),
                                             static_cast<char>(size),
                                             0,
                                             0,
                                             0,
                                             0} +
                                 extended;
        SourceMetadata source;
        source.xmp.assign(standard.begin(), standard.end());
        source.extended_xmp.push_back({part.begin(), part.end()});
        const OutputMetadata metadata = BuildOutputMetadata(source, Keep(false));
        const bool gain_map = std::string_view(ns).find("gain-map") != std::string_view::npos;
        EXPECT_EQ(metadata.xmp, source.xmp);
        EXPECT_EQ(metadata.extended_xmp.empty(), gain_map);
        EXPECT_EQ(metadata.notes.size(), gain_map ? 1u : 0u);
    }
}

TEST(OutputMetadata, ExtendedXmpTravelsWholeOrNotAtAll) {
    const SourceMetadata source = Source("mm-app1-minimal-emptysub-nodate-multixmp-phone.jpg");
    ASSERT_GE(source.extended_xmp.size(), 2u);
    const OutputMetadata whole = BuildOutputMetadata(source, Keep(false));
    EXPECT_EQ(whole.extended_xmp, source.extended_xmp);
    EXPECT_TRUE(whole.notes.empty());
    const SourceMetadata out = ReadSourceMetadata(JpegCarrying(whole), 0);
    EXPECT_EQ(out.extended_xmp, source.extended_xmp);

    SourceMetadata missing = source;
    missing.extended_xmp.erase(missing.extended_xmp.begin() + 1);
    const OutputMetadata partial = BuildOutputMetadata(missing, Keep(false));
    EXPECT_TRUE(partial.extended_xmp.empty());
    EXPECT_FALSE(partial.xmp.empty());
    EXPECT_EQ(partial.notes.size(), 1u);
}

TEST(OutputMetadata, MalformedBlocksAreLeftOutWithANote) {
    SourceMetadata source = Source("ii-app1-gps-nointerop-nothumb-nikon.jpg");
    source.xmp = {'<', 'a', '>'};
    source.photoshop.resize(source.photoshop.size() / 2);
    for (const bool no_location : {false, true}) {
        SCOPED_TRACE(no_location);
        const OutputMetadata metadata = BuildOutputMetadata(source, Keep(no_location));
        EXPECT_TRUE(metadata.xmp.empty());
        EXPECT_TRUE(metadata.photoshop.empty());
        EXPECT_FALSE(metadata.exif.empty());
        EXPECT_EQ(metadata.notes.size(), 2u);
    }
}

TEST(OutputMetadata, BlocksTooLargeForAJpegSegmentAreLeftOutWithANote) {
    OutputMetadata metadata;
    metadata.exif.assign(kMaxExifBlock, 0);
    metadata.xmp.assign(0xFFFF - 2 - kXmpIdentifier.size() + 1, ' ');
    metadata.extended_xmp.push_back({1, 2, 3});
    metadata.photoshop.assign(100, 0);
    FitInJpegSegments(metadata);
    EXPECT_EQ(metadata.exif.size(), kMaxExifBlock);
    EXPECT_TRUE(metadata.xmp.empty());
    EXPECT_TRUE(metadata.extended_xmp.empty());
    EXPECT_EQ(metadata.photoshop.size(), 100u);
    ASSERT_EQ(metadata.notes.size(), 1u);
    // What is left fits: the largest Exif block fills its segment to the last byte.
    const std::vector<JpegSegment> segments = WalkJpegSegments(JpegCarrying(metadata));
    const auto has = [&segments](uint8_t marker, size_t length) {
        return std::any_of(segments.begin(), segments.end(),
                           [&](const JpegSegment& s) { return s.marker == marker && s.length == length; });
    };
    EXPECT_TRUE(has(0xE1, 0xFFFF));
    EXPECT_TRUE(has(0xED, 2 + metadata.photoshop.size()));
}

TEST(OutputMetadata, ThumbnailIsRebuiltFromTheOutputsPixels) {
    const SourceMetadata source = Source("ii-app1-orient6-gps-interop-thumb-long-samsung-phone.jpg");
    struct Case {
        int width, height, thumbnail_width, thumbnail_height;
    };
    for (const Case& c :
         {Case{480, 640, 120, 160}, Case{640, 480, 160, 120}, Case{1000, 300, 160, 48}, Case{90, 40, 90, 40}}) {
        SCOPED_TRACE(c.width);
        const int width = c.width;
        const int height = c.height;
        Image pixels(width, height);
        MetadataTransfer transfer = Keep(true);
        int calls = 0;
        transfer.make_thumbnail = [&] {
            ++calls;
            return MakeExifThumbnail(pixels);
        };
        const OutputMetadata metadata = BuildOutputMetadata(source, transfer);
        EXPECT_EQ(calls, 1);
        const auto thumbnail = TiffBlock(metadata.exif).JpegThumbnail();
        ASSERT_TRUE(thumbnail.has_value());
        const Result<ImageHeader> header =
            ProbeImage(std::span(metadata.exif).subspan(thumbnail->offset, thumbnail->length));
        ASSERT_TRUE(header.ok());
        EXPECT_EQ(header.value().width, c.thumbnail_width);
        EXPECT_EQ(header.value().height, c.thumbnail_height);
        // A baseline frame (SOF0), not progressive scans (SOF2): what readers of thumbnails expect.
        const auto jpeg = std::span(metadata.exif).subspan(thumbnail->offset, thumbnail->length);
        const auto has_marker = [&jpeg](uint8_t marker) {
            const uint8_t pair[] = {0xFF, marker};
            return std::search(jpeg.begin(), jpeg.end(), std::begin(pair), std::end(pair)) != jpeg.end();
        };
        EXPECT_TRUE(has_marker(0xC0));
        EXPECT_FALSE(has_marker(0xC2));
    }
    // No IFD1, no thumbnail made.
    MetadataTransfer transfer = Keep(false);
    transfer.make_thumbnail = []() -> ExifThumbnail {
        ADD_FAILURE();
        return {};
    };
    BuildOutputMetadata(Source("ii-app1-gps-nointerop-nothumb-nikon.jpg"), transfer);
}

TEST(OutputMetadata, PngCarriesExifAndXmpChunks) {
    SourceMetadata source = Source("ii-app1-orient6-gps-interop-thumb-long-samsung-phone.jpg");
    source.xmp = Source("mm-app0-xmpfirst-exiflater-nodate.jpg").xmp;
    const OutputMetadata metadata = BuildOutputMetadata(source, Keep(true));
    Image pixels(4, 3);
    const Result<Bytes> encoded = EncodePng(pixels, {.metadata = BlocksOf(metadata)});
    ASSERT_TRUE(encoded.ok());
    const Bytes& png = encoded.value();
    EXPECT_EQ(PngChunk(png, "eXIf"), metadata.exif);
    const Bytes text = PngChunk(png, "iTXt");
    const std::string keyword("XML:com.adobe.xmp\0\0\0\0\0", 22);
    ASSERT_GT(text.size(), keyword.size());
    EXPECT_TRUE(std::equal(keyword.begin(), keyword.end(), text.begin()));
    EXPECT_TRUE(std::equal(metadata.xmp.begin(), metadata.xmp.end(), text.begin() + 22));
    Image decoded;
    EXPECT_TRUE(DecodeImage(png, {}, decoded).ok());
    EXPECT_EQ(decoded, pixels);
}

}  // namespace
}  // namespace pelimon
