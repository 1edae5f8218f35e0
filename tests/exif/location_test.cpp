// Location removal and thumbnail placement on the blocks themselves: the GPS IFD of real phone and
// camera files, XMP packets in every form a location or gain-map property takes, the IPTC data
// sets of a real Photoshop block, and an IFD1 thumbnail replaced or dropped.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "exif/exif_entry.h"
#include "exif/jpeg_segments.h"
#include "exif/photoshop_block.h"
#include "exif/source_metadata.h"
#include "exif/tiff_block.h"
#include "exif/value_bytes.h"
#include "exif/xmp_packet.h"
#include "exif_test_files.h"

namespace pelimon {
namespace {

using test::Bytes;

constexpr size_t kTiffInSegment = 10;

Bytes TiffOf(const char* name) {
    const SourceMetadata source = ReadSourceMetadata(test::ReadFileBytes(test::CorpusDir() / name), 0);
    return {source.exif_segment.begin() + kTiffInSegment, source.exif_segment.end()};
}

bool HasTag(const TiffBlock& block, uint32_t ifd, uint16_t tag) {
    const auto entries = block.ReadIfd(ifd);
    return entries && std::any_of(entries->begin(), entries->end(), [tag](const auto& e) { return e.tag == tag; });
}

TEST(GpsRemoval, RealFilesLoseTheWholeGpsIfdAndKeepEverythingElse) {
    for (const char* name :
         {"ii-app1-orient6-gps-interop-thumb-long-samsung-phone.jpg", "ii-app1-gps-nointerop-nothumb-nikon.jpg",
          "mm-app0-app2-farexif-gps-nointerop-nothumb-apple-phone.jpg"}) {
        SCOPED_TRACE(name);
        const Bytes source = TiffOf(name);
        TiffBlock block(source);
        ASSERT_TRUE(block.valid());
        const uint32_t gps = block.GpsIfdOffset();
        ASSERT_NE(gps, 0u);
        ASSERT_TRUE(block.GpsIsSound());
        const auto gps_entries = block.ReadIfd(gps);
        const auto ifd0_before = block.ReadIfd(block.Ifd0Offset());
        const uint32_t sub = block.SubIfdOffset();

        EXPECT_TRUE(block.RemoveGps());
        const Bytes& out = block.bytes();
        ASSERT_EQ(out.size(), source.size());
        EXPECT_FALSE(HasTag(block, block.Ifd0Offset(), 0x8825));
        EXPECT_EQ(block.ReadIfd(block.Ifd0Offset())->size(), ifd0_before->size() - 1);
        EXPECT_EQ(block.SubIfdOffset(), sub);
        // The directory and every value it pointed at are zero; every other changed byte lies
        // in IFD0, whose later entries moved up one place.
        std::vector<bool> gps_byte(out.size(), false);
        std::fill_n(gps_byte.begin() + gps, 2 + 12 * gps_entries->size() + 4, true);
        for (const auto& entry : *gps_entries) {
            const uint64_t size = uint64_t{TypeSize(entry.type)} * entry.count;
            if (size > 4) {
                const uint32_t at = GetLong(source.data() + entry.position + 8, source[0] == 'I');
                std::fill_n(gps_byte.begin() + at, size, true);
            }
        }
        const size_t ifd0_end = block.Ifd0Offset() + 2 + 12 * ifd0_before->size() + 4;
        for (size_t at = 0; at < out.size(); ++at) {
            if (gps_byte[at]) {
                EXPECT_EQ(out[at], 0) << "GPS byte " << at;
            } else if (at < block.Ifd0Offset() || at >= ifd0_end) {
                EXPECT_EQ(out[at], source[at]) << "byte " << at;
            }
        }
    }
}

TEST(GpsRemoval, MalformedGpsIfdIsReportedAndRemoved) {
    for (const uint32_t gps_offset : {0xFFFFFF00u, 4u}) {
        SCOPED_TRACE(gps_offset);
        const Bytes tiff =
            test::BuildTiff(true, {{0x010F, 2, 4, test::Ascii("abc")}, {0x8825, 4, 1, test::Long(gps_offset, true)}});
        TiffBlock block(tiff);
        ASSERT_TRUE(block.valid());
        EXPECT_FALSE(block.GpsIsSound());
        EXPECT_FALSE(block.RemoveGps());
        EXPECT_EQ(block.GpsIfdOffset(), 0u);
        EXPECT_TRUE(HasTag(block, block.Ifd0Offset(), 0x010F));
    }
}

TEST(Thumbnail, ReplacedAtTheEndOrDroppedWhenTooBig) {
    for (const bool le : {true, false}) {
        SCOPED_TRACE(le);
        const Bytes old_thumbnail(300, 0xAB);
        Bytes tiff = test::BuildTiff(le, {{0x0112, 3, 1, test::Short(6, le)}}, {}, {},
                                     {{0x0100, 3, 1, test::Short(160, le)},
                                      {0x0101, 3, 1, test::Short(120, le)},
                                      {0x0201, 4, 1, test::Long(0, le)},
                                      {0x0202, 4, 1, test::Long(300, le)}});
        {
            TiffBlock build(tiff);
            build.SetNumber(build.Ifd1Offset(), 0x0201, static_cast<uint32_t>(tiff.size()));
            tiff = build.Take();
            tiff.insert(tiff.end(), old_thumbnail.begin(), old_thumbnail.end());
        }
        const size_t old_at = tiff.size() - old_thumbnail.size();
        const Bytes jpeg(500, 0xCD);

        TiffBlock replaced(tiff);
        ASSERT_TRUE(replaced.JpegThumbnail().has_value());
        EXPECT_TRUE(replaced.ReplaceThumbnail(jpeg, 90, 120, 0xFFFF));
        const auto placed = replaced.JpegThumbnail();
        ASSERT_TRUE(placed.has_value());
        // The old thumbnail ended the block: it is cut off and the new one takes its place.
        EXPECT_EQ(placed->offset, old_at + old_at % 2);
        EXPECT_EQ(placed->length, jpeg.size());
        EXPECT_EQ(replaced.bytes().size(), placed->offset + jpeg.size());
        EXPECT_TRUE(std::equal(jpeg.begin(), jpeg.end(), replaced.bytes().begin() + placed->offset));
        EXPECT_EQ(replaced.Ifd1Offset(), TiffBlock(tiff).Ifd1Offset());

        TiffBlock too_big(tiff);
        EXPECT_FALSE(too_big.ReplaceThumbnail(jpeg, 90, 120, old_at + 100));
        EXPECT_EQ(too_big.Ifd1Offset(), 0u);
        EXPECT_EQ(too_big.bytes().size(), old_at);
    }
}

TEST(XmpProperties, EveryFormOfAListedPropertyIsRemoved) {
    const std::string head =
        "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">";
    const std::string tail = "</rdf:RDF></x:xmpmeta>";
    struct Case {
        const char* what;
        unsigned groups;
        std::string description;
        std::string expected;
    };
    const std::string gain_map_namespaces =
        "xmlns:hdrgm=\"http://ns.adobe.com/hdr-gain-map/1.0/\" "
        "xmlns:Container=\"http://ns.google.com/photos/1.0/container/\" "
        "xmlns:Item=\"http://ns.google.com/photos/1.0/container/item/\" xmlns:exif=\"http://ns.adobe.com/exif/1.0/\"";
    const Case cases[] = {
        {"attributes", kXmpLocation,
         "<rdf:Description xmlns:exif=\"http://ns.adobe.com/exif/1.0/\" exif:GPSLatitude=\"35,40.5N\" "
         "exif:FNumber=\"28/10\"\n exif:GPSAltitude='12/1'/>",
         "<rdf:Description xmlns:exif=\"http://ns.adobe.com/exif/1.0/\" exif:FNumber=\"28/10\"/>"},
        {"elements, another prefix", kXmpLocation,
         "<rdf:Description xmlns:e=\"http://ns.adobe.com/exif/1.0/\">\n <e:GPSTimeStamp>2020</e:GPSTimeStamp>\n "
         "<e:ExposureTime>1/60</e:ExposureTime>\n</rdf:Description>",
         "<rdf:Description xmlns:e=\"http://ns.adobe.com/exif/1.0/\">\n <e:ExposureTime>1/60</e:ExposureTime>\n"
         "</rdf:Description>"},
        {"structures and city", kXmpLocation,
         "<rdf:Description xmlns:Iptc4xmpExt=\"http://iptc.org/std/Iptc4xmpExt/2008-02-29/\" "
         "xmlns:photoshop=\"http://ns.adobe.com/photoshop/1.0/\" photoshop:City=\"Pasadena\" "
         "photoshop:Credit=\"Getty\"><Iptc4xmpExt:LocationShown><rdf:Bag><rdf:li rdf:parseType=\"Resource\">"
         "<Iptc4xmpExt:City>Paris</Iptc4xmpExt:City></rdf:li></rdf:Bag></Iptc4xmpExt:LocationShown>"
         "<photoshop:Headline>Match</photoshop:Headline></rdf:Description>",
         "<rdf:Description xmlns:Iptc4xmpExt=\"http://iptc.org/std/Iptc4xmpExt/2008-02-29/\" "
         "xmlns:photoshop=\"http://ns.adobe.com/photoshop/1.0/\" photoshop:Credit=\"Getty\">"
         "<photoshop:Headline>Match</photoshop:Headline></rdf:Description>"},
        {"same local name in another namespace stays", kXmpLocation | kXmpGainMap,
         "<rdf:Description xmlns:my=\"http://example.com/\" my:GPSLatitude=\"1\" my:City=\"x\" my:Version=\"1\">"
         "<my:Directory/></rdf:Description>",
         "<rdf:Description xmlns:my=\"http://example.com/\" my:GPSLatitude=\"1\" my:City=\"x\" my:Version=\"1\">"
         "<my:Directory/></rdf:Description>"},
        {"gain map: its version and the directory of appended pictures", kXmpGainMap,
         "<rdf:Description " + gain_map_namespaces +
             " hdrgm:Version=\"1.0\" exif:FNumber=\"28/10\">\n <Container:Directory><rdf:Seq>"
             "<rdf:li rdf:parseType=\"Resource\"><Container:Item Item:Semantic=\"Primary\"/></rdf:li>"
             "<rdf:li rdf:parseType=\"Resource\"><Container:Item Item:Semantic=\"GainMap\" Item:Length=\"5120\"/>"
             "</rdf:li></rdf:Seq></Container:Directory>\n <exif:ExposureTime>1/60</exif:ExposureTime>\n"
             "</rdf:Description>",
         "<rdf:Description " + gain_map_namespaces +
             " exif:FNumber=\"28/10\">\n <exif:ExposureTime>1/60</exif:ExposureTime>\n</rdf:Description>"},
        {"gain map: Apple's elements", kXmpGainMap,
         "<rdf:Description xmlns:HDRGainMap=\"http://ns.apple.com/HDRGainMap/1.0/\" "
         "xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\">\n <HDRGainMap:HDRGainMapVersion>131072"
         "</HDRGainMap:HDRGainMapVersion>\n <HDRGainMap:HDRGainMapHeadroom>2.3</HDRGainMap:HDRGainMapHeadroom>\n "
         "<xmp:CreatorTool>17.1</xmp:CreatorTool>\n</rdf:Description>",
         "<rdf:Description xmlns:HDRGainMap=\"http://ns.apple.com/HDRGainMap/1.0/\" "
         "xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\">\n <xmp:CreatorTool>17.1</xmp:CreatorTool>\n</rdf:Description>"},
        {"one group leaves the other's properties", kXmpLocation,
         "<rdf:Description " + gain_map_namespaces + " hdrgm:Version=\"1.0\" exif:GPSAltitude=\"12/1\"/>",
         "<rdf:Description " + gain_map_namespaces + " hdrgm:Version=\"1.0\"/>"},
        {"both groups at once", kXmpLocation | kXmpGainMap,
         "<rdf:Description " + gain_map_namespaces + " hdrgm:Version=\"1.0\" exif:GPSAltitude=\"12/1\"/>",
         "<rdf:Description " + gain_map_namespaces + "/>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string packet = "<?xpacket begin=\"\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>" + head + c.description +
                                   tail + "\n   <?xpacket end=\"w\"?>";
        ASSERT_TRUE(IsWellFormedXmp(packet));
        const std::optional<std::string> edited = RemoveXmpProperties(packet, c.groups);
        ASSERT_TRUE(edited.has_value());
        EXPECT_EQ(*edited, "<?xpacket begin=\"\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>" + head + c.expected + tail +
                               "\n   <?xpacket end=\"w\"?>");
        EXPECT_FALSE(XmpHasProperties(*edited, c.groups));
        EXPECT_TRUE(IsWellFormedXmp(*edited));
    }
}

TEST(XmpLocation, MalformedPacketsAreRefused) {
    for (const char* packet : {
             "",
             "just text",
             "<a:x xmlns:a=\"u\"><a:y></a:x></a:y>",
             "<a:x xmlns:a=\"u\">",
             "<b:x xmlns:a=\"u\"/>",
             "<a:x xmlns:a=\"u\" a:p=\"open/>",
             "<a:x xmlns:a=\"u\"a:p=\"v\"/>",
             "<!DOCTYPE x><x/>",
             "<x>\xFF\xFE</x>",
         }) {
        SCOPED_TRACE(packet);
        EXPECT_FALSE(IsWellFormedXmp(packet));
        EXPECT_FALSE(RemoveXmpProperties(packet, kXmpLocation).has_value());
    }
}

TEST(IptcLocation, PlaceDataSetsLeaveTheRealCanonBlock) {
    const Bytes file = test::ReadFileBytes(test::CorpusDir() / "mm-app0-app13-interop-thumb-short-canon.jpg");
    const Bytes payload = ReadSourceMetadata(file, 0).photoshop;
    ASSERT_TRUE(IsWellFormedPhotoshop(payload));
    const std::optional<Bytes> edited = RemoveIptcLocation(payload);
    ASSERT_TRUE(edited.has_value());
    EXPECT_TRUE(IsWellFormedPhotoshop(*edited));
    const auto count = [](const Bytes& bytes, std::string_view text) {
        int found = 0;
        for (auto it = bytes.begin(); (it = std::search(it, bytes.end(), text.begin(), text.end())) != bytes.end();
             ++it) {
            ++found;
        }
        return found;
    };
    // City, state and country go; the caption (which also names the city) stays whole.
    EXPECT_EQ(count(payload, "Pasadena"), 2);
    EXPECT_EQ(count(*edited, "Pasadena"), 1);
    EXPECT_EQ(count(*edited, "United States"), 0);
    EXPECT_EQ(count(*edited, "Pasadena , California"), 1);
    for (const char* kept : {"Stephen Dunn", "Cobi Jones", "Getty Images"}) {
        EXPECT_GE(count(*edited, kept), 1) << kept;
    }
    // Without any place the block stays byte for byte.
    EXPECT_EQ(RemoveIptcLocation(*edited), edited);
}

TEST(IptcLocation, MalformedBlocksAreRefused) {
    const Bytes file = test::ReadFileBytes(test::CorpusDir() / "mm-app0-app13-interop-thumb-short-canon.jpg");
    const Bytes payload = ReadSourceMetadata(file, 0).photoshop;
    const Bytes truncated(payload.begin(), payload.begin() + static_cast<long>(payload.size() / 2));
    Bytes bad_signature = payload;
    bad_signature[14] = 'X';
    for (const Bytes& bad : {truncated, bad_signature, Bytes{'P', 'h', 'o', 't', 'o'}}) {
        EXPECT_FALSE(IsWellFormedPhotoshop(bad));
        EXPECT_FALSE(RemoveIptcLocation(bad).has_value());
    }
}

}  // namespace
}  // namespace pelimon
