// Exif and XMP through batches into every format that holds them (JPEG, PNG, WebP, AVIF, TIFF), from
// JPEG, WebP, AVIF and PNG sources with a GPS directory and XMP location properties: with NoLocation 0
// both arrive as the source has them, with NoLocation 1 neither the GPS directory nor an XMP
// location does, and every format carries the same patched Exif block. Sources with a gain map
// (an HDR JPEG with its MPF segment, a phone's XMP) give outputs that do not announce one.
#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "batch/run_batch.h"
#include "batch_test_support.h"
#include "exif/jpeg_segments.h"
#include "exif/source_metadata.h"
#include "exif/tiff_block.h"
#include "imagelib/format_table.h"
#include "imagelib/imagelib.h"
#include "tests/support/fake_interaction.h"
#include "tests/support/metadata_blocks.h"
#include "tests/support/png_chunks.h"

namespace pelimon {
namespace {

using test::FileBlocks;
using test::GpsBytes;
using test::ReadBytes;
using test::ReadFileBlocks;

// An XMP packet built from the parts that stay and the location properties NoLocation removes
// (an attribute form and an element form, each with the white space before it).
const std::string kKeptHead =
    "<?xpacket begin=\"\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n"
    "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
    " <rdf:Description rdf:about=\"\" xmlns:exif=\"http://ns.adobe.com/exif/1.0/\"\n"
    "  xmlns:photoshop=\"http://ns.adobe.com/photoshop/1.0/\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\"";
const std::string kLocationAttributes =
    "\n  exif:GPSLatitude=\"35,40.5N\" exif:GPSLongitude=\"139,45.2E\" photoshop:City=\"Yokohama\"";
const std::string kKeptMiddle = " photoshop:Headline=\"Harbour\" exif:FNumber=\"28/10\">";
const std::string kLocationElement = "\n  <exif:GPSAltitude>12/1</exif:GPSAltitude>";
const std::string kKeptTail =
    "\n  <dc:title><rdf:Alt><rdf:li xml:lang=\"x-default\">Harbour at dusk</rdf:li></rdf:Alt></dc:title>\n"
    " </rdf:Description>\n</rdf:RDF></x:xmpmeta>\n<?xpacket end=\"w\"?>";

std::vector<uint8_t> AsBytes(const std::string& text) {
    return {text.begin(), text.end()};
}

const std::vector<uint8_t> kXmp = AsBytes(kKeptHead + kLocationAttributes + kKeptMiddle + kLocationElement + kKeptTail);
const std::vector<uint8_t> kXmpWithoutLocation = AsBytes(kKeptHead + kKeptMiddle + kKeptTail);

constexpr char kRawPng[] = "phone-raw.png";

// A phone photo with GPS (Orientation 6, IFD1 thumbnail) whose Exif the made sources share.
constexpr char kPhone[] = "ii-app1-orient6-gps-interop-thumb-long-samsung-phone.jpg";

// Every written format that carries Exif and XMP.
std::vector<std::reference_wrapper<const FormatRow>> MetadataFormats() {
    std::vector<std::reference_wrapper<const FormatRow>> formats;
    for (const FormatRow& format : FormatTable()) {
        if (format.Written() && format.carries.exif && format.carries.xmp) {
            formats.push_back(format);
        }
    }
    return formats;
}

class MetadataFormatsTest : public ::testing::Test {
  protected:
    MetadataFormatsTest() {
        settings.Width = 160;
        settings.Height = 120;
        settings.Exif = kOn;
    }

    void Write(const std::string& name, const std::vector<uint8_t>& bytes) {
        test::WriteBytes(source / name, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
        list.rows().push_back({name, "1 KB", 0, true});
        list.set_file_count(static_cast<int>(list.rows().size()));
        list.set_selected_count(static_cast<int>(list.rows().size()));
    }

    // The real phone JPEG with the XMP packet added; a WebP, an AVIF and two PNGs made here with
    // its Exif block and the same packet; a real WebP whose Exif has GPS and which has no XMP.
    void WriteSources() {
        const std::filesystem::path data(PELIMON_TEST_DATA_DIR);
        std::vector<uint8_t> jpeg = ReadBytes((data / "camera" / kPhone).string());
        const std::string_view id = kXmpIdentifier;
        const std::vector<uint8_t> segment =
            BuildSegment(0xE1, {std::span(reinterpret_cast<const uint8_t*>(id.data()), id.size()), std::span(kXmp)});
        jpeg.insert(jpeg.begin() + 2, segment.begin(), segment.end());
        Write("phone-jpeg.jpg", jpeg);
        const SourceMetadata phone = ReadSourceMetadata(jpeg, 0);
        const ByteView exif = std::span(phone.exif_segment).subspan(4 + kExifIdentifierSize);
        const Image pixels = test::MakeTestImage(320, 240);
        const EncodeOptions with_blocks{.quality = 90, .metadata = EncodeMetadata{exif, {}, kXmp}};
        Write("phone-webp.webp", EncodeWebp(pixels, with_blocks).value());
        Write("phone-avif.avif", EncodeAvif(pixels, with_blocks).value());
        Write("phone-png.png", EncodePng(pixels, with_blocks).value());
        // The Exif as older tools store it: hexadecimal in a compressed text chunk.
        std::string raw = "\nexif\n" + std::to_string(exif.size()) + "\n";
        for (const uint8_t byte : exif) {
            raw += "0123456789abcdef"[byte >> 4];
            raw += "0123456789abcdef"[byte & 15];
        }
        uLongf size = compressBound(static_cast<uLong>(raw.size()));
        std::vector<uint8_t> text(std::string_view("Raw profile type exif\0\0", 23).begin(),
                                  std::string_view("Raw profile type exif\0\0", 23).end());
        const size_t at = text.size();
        text.resize(at + size);
        ASSERT_EQ(compress(text.data() + at, &size, reinterpret_cast<const uint8_t*>(raw.data()), raw.size()), Z_OK);
        text.resize(at + size);
        std::vector<test::PngChunkData> chunks =
            test::SplitPng(EncodePng(pixels, {.metadata = EncodeMetadata{{}, {}, kXmp}}).value());
        chunks.insert(chunks.begin() + 1, {"zTXt", text});
        Write(kRawPng, test::JoinPng(chunks));
        Write("htc.webp", ReadBytes((data / "modern" / "htc-desire-exif-gps.webp").string()));
    }

    // A source's blocks; the Exif of kRawPng is phone-png.png's, in another form.
    FileBlocks SourceBlocks(const std::string& name) const {
        FileBlocks blocks = ReadFileBlocks(ReadBytes(source / name));
        if (name == kRawPng) {
            blocks.exif = SourceBlocks("phone-png.png").exif;
        }
        return blocks;
    }
    FileBlocks OutputBlocks(const std::string& name, const FormatRow& format) const {
        const std::string stem = std::filesystem::path(name).stem().string();
        return ReadFileBlocks(ReadBytes(source.path() + "out/" + stem + "_s" + std::string(format.OutputExtension())));
    }

    void RunAll() {
        const BatchOutcome outcome = RunBatch(settings, list, ui, {true, 0}, "20240506");
        EXPECT_EQ(outcome.written, static_cast<int>(list.rows().size()));
        for (const Error& failure : outcome.failures) {
            ADD_FAILURE() << failure.message;
        }
        EXPECT_TRUE(ui.notes.empty());
    }

    test::TempFolder source;
    AppSettings settings = test::BatchSettings(source.path());
    FileList list;
    test::FakeInteraction ui;
};

TEST_F(MetadataFormatsTest, LocationIsKeptWholeOrRemovedInEveryFormat) {
    WriteSources();
    for (const int no_location : {kOff, kOn}) {
        settings.NoLocation = no_location;
        std::vector<FileBlocks> from_jpeg;  // per source, the JPEG output's blocks
        for (const FormatRow& format : MetadataFormats()) {
            settings.FileType = format.codes.file_type;
            RunAll();
            for (size_t i = 0; i < list.rows().size(); ++i) {
                const std::string& name = list.rows()[i].name;
                SCOPED_TRACE(::testing::Message()
                             << "NoLocation " << no_location << ", " << format.display_name << " from " << name);
                const FileBlocks in = SourceBlocks(name);
                const FileBlocks out = OutputBlocks(name, format);
                ASSERT_FALSE(GpsBytes(in.exif).empty());
                ASSERT_TRUE(TiffBlock(out.exif).valid());
                if (no_location == kOn) {
                    EXPECT_EQ(TiffBlock(out.exif).GpsIfdOffset(), 0u);
                    EXPECT_EQ(out.xmp, in.xmp.empty() ? std::vector<uint8_t>{} : kXmpWithoutLocation);
                } else {
                    EXPECT_EQ(GpsBytes(out.exif), GpsBytes(in.exif));
                    EXPECT_EQ(out.xmp, in.xmp);
                }
                if (format.format == ImageFormat::kJpeg) {
                    from_jpeg.push_back(out);
                    // Turned upright by AutoRotate: the kept block says so.
                    const std::string stem = std::filesystem::path(name).stem().string();
                    EXPECT_EQ(ReadSourceMetadata(ReadBytes(source.path() + "out/" + stem + "_s.jpg"), 0).Orientation,
                              1);
                } else if (format.format == ImageFormat::kTiff) {
                    // A TIFF holds the Exif as directories of its own, not as the block: the GPS
                    // directory arrives entry for entry.
                    EXPECT_EQ(GpsBytes(out.exif), GpsBytes(from_jpeg[i].exif));
                } else {
                    EXPECT_EQ(out.exif, from_jpeg[i].exif);
                }
            }
        }
    }
}

// An HDR JPEG as phones write it: the XMP announces the gain map (hdrgm) and lists it in a
// Container:Directory, an APP2 "MPF" segment indexes it, and the gain map JPEG follows the
// primary picture's EOI. Outputs carry the picture only, so nothing may announce the gain map.
TEST_F(MetadataFormatsTest, GainMapIsAnnouncedByNoOutput) {
    const std::string kept_head =
        "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
        " <rdf:Description rdf:about=\"\" xmlns:hdrgm=\"http://ns.adobe.com/hdr-gain-map/1.0/\"\n"
        "  xmlns:Container=\"http://ns.google.com/photos/1.0/container/\"\n"
        "  xmlns:Item=\"http://ns.google.com/photos/1.0/container/item/\" "
        "xmlns:dc=\"http://purl.org/dc/elements/1.1/\"";
    const std::string version = " hdrgm:Version=\"1.0\"";
    const std::string directory =
        "\n  <Container:Directory><rdf:Seq>\n"
        "   <rdf:li rdf:parseType=\"Resource\"><Container:Item Item:Semantic=\"Primary\" "
        "Item:Mime=\"image/jpeg\"/></rdf:li>\n"
        "   <rdf:li rdf:parseType=\"Resource\"><Container:Item Item:Semantic=\"GainMap\" Item:Mime=\"image/jpeg\"\n"
        "    Item:Length=\"2000\"/></rdf:li>\n  </rdf:Seq></Container:Directory>";
    const std::string kept_tail =
        "\n  <dc:title><rdf:Alt><rdf:li xml:lang=\"x-default\">Harbour</rdf:li></rdf:Alt></dc:title>\n"
        " </rdf:Description>\n</rdf:RDF></x:xmpmeta>";
    const std::vector<uint8_t> xmp = AsBytes(kept_head + version + ">" + directory + kept_tail);
    const std::vector<uint8_t> expected = AsBytes(kept_head + ">" + kept_tail);

    const std::filesystem::path data(PELIMON_TEST_DATA_DIR);
    std::vector<uint8_t> jpeg = ReadBytes((data / "camera" / kPhone).string());
    const std::string_view id = kXmpIdentifier;
    const std::vector<uint8_t> xmp_segment =
        BuildSegment(0xE1, {std::span(reinterpret_cast<const uint8_t*>(id.data()), id.size()), std::span(xmp)});
    // "MPF\0" and a big-endian TIFF header whose index directory is empty: what matters is that
    // the segment is there.
    const std::vector<uint8_t> mpf_payload = {'M', 'P', 'F', 0, 'M', 'M', 0, 42, 0, 0, 0, 8, 0, 0, 0, 0, 0, 0};
    const std::vector<uint8_t> mpf_segment = BuildSegment(0xE2, {std::span(mpf_payload)});
    jpeg.insert(jpeg.begin() + 2, mpf_segment.begin(), mpf_segment.end());
    jpeg.insert(jpeg.begin() + 2, xmp_segment.begin(), xmp_segment.end());
    const std::vector<uint8_t> gain_map = EncodeJpeg(test::MakeTestImage(80, 60, 2), {.quality = 80}).value();
    jpeg.insert(jpeg.end(), gain_map.begin(), gain_map.end());
    Write("ultra-hdr.jpg", jpeg);
    // The real phone HEIC's packet, in an AVIF made here (its picture would take long to decode).
    const std::vector<uint8_t> phone_xmp =
        ReadSourceMetadata(ReadBytes((data / "modern" / "galaxy-s24fe-rot90.heic").string()), 0).xmp;
    Write("phone-gain-map.avif",
          EncodeAvif(test::MakeTestImage(320, 240), {.quality = 90, .metadata = EncodeMetadata{{}, {}, phone_xmp}})
              .value());

    for (const FormatRow& format : MetadataFormats()) {
        settings.FileType = format.codes.file_type;
        RunAll();
        SCOPED_TRACE(format.display_name);
        EXPECT_EQ(OutputBlocks("ultra-hdr.jpg", format).xmp, expected);
        const std::vector<uint8_t> from_phone = OutputBlocks("phone-gain-map.avif", format).xmp;
        const std::string phone_text(from_phone.begin(), from_phone.end());
        EXPECT_NE(phone_text.find("<rdf:Description"), std::string::npos);
        EXPECT_EQ(phone_text.find("hdrgm:Version"), std::string::npos);
        EXPECT_EQ(phone_text.find("GainMap"), std::string::npos);
        if (format.format == ImageFormat::kJpeg) {
            const std::vector<uint8_t> out = ReadBytes(source.path() + "out/ultra-hdr_s.jpg");
            for (const JpegSegment& segment : WalkJpegSegments(out)) {
                const std::span<const uint8_t> payload = segment.Payload(out);
                EXPECT_FALSE(segment.marker == 0xE2 && payload.size() >= 4 &&
                             std::equal(payload.begin(), payload.begin() + 4, mpf_payload.begin()))
                    << "an MPF segment at " << segment.offset;
            }
        }
    }
}

TEST_F(MetadataFormatsTest, WithoutExifNoFormatCarriesExifOrXmp) {
    WriteSources();
    settings.Exif = kOff;
    for (const FormatRow& format : MetadataFormats()) {
        settings.FileType = format.codes.file_type;
        RunAll();
        for (const FileRow& row : list.rows()) {
            SCOPED_TRACE(::testing::Message() << format.display_name << " from " << row.name);
            const FileBlocks out = OutputBlocks(row.name, format);
            EXPECT_TRUE(out.exif.empty());
            EXPECT_TRUE(out.xmp.empty());
        }
    }
}

}  // namespace
}  // namespace pelimon
