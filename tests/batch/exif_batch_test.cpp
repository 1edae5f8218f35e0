// Exif through whole batches: the camera corpus reduced with Exif kept (every entry survives but
// the pixel size, for turned pixels the orientation, and the thumbnail, rebuilt from the output;
// XMP and IPTC travel along) and with Exif dropped (only the colour profile survives), and the
// eight orientations applied to the pixels of generated photos.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "batch/run_batch.h"
#include "batch_test_support.h"
#include "exif/exif_reader.h"
#include "exif/jpeg_segments.h"
#include "exif/source_metadata.h"
#include "exif/tiff_block.h"
#include "imagelib/format_table.h"
#include "imagelib/imagelib.h"
#include "tests/support/fake_interaction.h"
#include "tests/support/metadata_blocks.h"

namespace pelimon {
namespace {

using test::FakeInteraction;
using test::ReadBytes;
using test::TempFolder;

constexpr uint16_t kOrientation = 0x0112;
constexpr uint16_t kPixelX = 0xA002;
constexpr uint16_t kPixelY = 0xA003;
// IFD1 entries that describe the thumbnail the batch rebuilds.
const std::set<uint16_t> kThumbnailTags = {0x0100, 0x0101, 0x0201, 0x0202};
// Where the TIFF header starts inside an Exif segment: marker, length, "Exif\0\0".
constexpr size_t kTiffInSegment = 4 + kExifIdentifierSize;

// The four directories of one file as the reader sees them.
struct ExifDirectories {
    std::vector<ExifEntry> main, sub, interop, thumbnail;
    uint32_t main_offset = 0, sub_offset = 0, thumbnail_offset = 0;
    std::vector<uint8_t> segment;
    std::optional<uint32_t> orientation;
    std::optional<TiffBlock::Thumbnail> thumbnail_jpeg;  // where IFD1's JPEG lies in the TIFF block
};

// Reads a file in memory the way the Exif dialog does; std::nullopt without an Exif segment.
std::optional<ExifDirectories> ReadDirectories(const std::vector<uint8_t>& file) {
    CExifReader reader;
    reader.LoadTagTable();
    reader.SetFileBytes(file);
    if ((reader.CheckJpeg() & 2) == 0) {
        return std::nullopt;
    }
    ExifDirectories dirs;
    reader.ReadMainIFD();
    if (reader.m_bSubIFD) {
        reader.ReadSubIFD();
    }
    if (reader.m_bInterop) {
        reader.ReadInteropIFD();
    }
    if (reader.ThumbnailIFDOffset() != 0) {
        reader.ReadThumbnailIFD();
    }
    dirs.main = reader.MainEntries();
    dirs.sub = reader.SubEntries();
    dirs.interop = reader.InteropEntries();
    dirs.thumbnail = reader.ThumbnailEntries();
    dirs.thumbnail_offset = reader.ThumbnailIFDOffset();
    dirs.segment = reader.ExifSegment();
    dirs.orientation = reader.MainIFDNumber(kOrientation);
    const TiffBlock tiff({dirs.segment.begin() + kTiffInSegment, dirs.segment.end()});
    dirs.main_offset = tiff.Ifd0Offset();
    dirs.sub_offset = tiff.SubIfdOffset();
    dirs.thumbnail_jpeg = tiff.JpegThumbnail();
    return dirs;
}

// Entry by entry: tag, type and count always equal; the value text equal unless the tag is one
// the batch rewrites (checked by the caller).
void ExpectSameEntries(const char* ifd, const std::vector<ExifEntry>& source, const std::vector<ExifEntry>& output,
                       const std::set<uint16_t>& rewritten) {
    SCOPED_TRACE(ifd);
    ASSERT_EQ(source.size(), output.size());
    for (size_t i = 0; i < source.size(); ++i) {
        SCOPED_TRACE(::testing::Message() << "entry " << i << ", tag 0x" << std::hex << source[i].tag);
        EXPECT_EQ(source[i].tag, output[i].tag);
        EXPECT_EQ(source[i].type, output[i].type);
        EXPECT_EQ(source[i].count, output[i].count);
        EXPECT_EQ(source[i].name, output[i].name);
        if (rewritten.count(source[i].tag) == 0) {
            EXPECT_EQ(source[i].value, output[i].value);
        }
    }
}

const ExifEntry* FindEntry(const std::vector<ExifEntry>& entries, uint16_t tag) {
    const auto found =
        std::find_if(entries.begin(), entries.end(), [tag](const ExifEntry& entry) { return entry.tag == tag; });
    return found != entries.end() ? &*found : nullptr;
}

// Segment offsets of the 4-byte value fields the batch may rewrite.
std::vector<size_t> RewritableFields(const ExifDirectories& dirs) {
    std::vector<size_t> fields;
    const auto add = [&](const std::vector<ExifEntry>& entries, uint32_t ifd_offset, uint16_t tag) {
        for (size_t i = 0; i < entries.size(); ++i) {
            if (entries[i].tag == tag) {
                fields.push_back(kTiffInSegment + ifd_offset + 2 + 12 * i + 8);
            }
        }
    };
    add(dirs.main, dirs.main_offset, kOrientation);
    add(dirs.sub, dirs.sub_offset, kPixelX);
    add(dirs.sub, dirs.sub_offset, kPixelY);
    for (const uint16_t tag : kThumbnailTags) {
        add(dirs.thumbnail, dirs.thumbnail_offset, tag);
    }
    fields.push_back(2);                                                              // the length field
    fields.push_back(kTiffInSegment + dirs.main_offset + 2 + 12 * dirs.main.size());  // the link to IFD1
    return fields;
}

// The segment (maker notes and GPS directory included) is the source's byte for byte up to where
// the source's thumbnail began, but for the value fields of the rewritten entries; the rebuilt
// thumbnail follows.
void ExpectSegmentKeptVerbatim(const ExifDirectories& source, const ExifDirectories& output) {
    const size_t kept = source.thumbnail_jpeg ? kTiffInSegment + source.thumbnail_jpeg->offset : source.segment.size();
    ASSERT_GE(output.segment.size(), kept);
    const std::vector<size_t> fields = RewritableFields(source);
    for (size_t at = 0; at < kept; ++at) {
        if (source.segment[at] == output.segment[at]) {
            continue;
        }
        const bool in_field =
            std::any_of(fields.begin(), fields.end(), [at](size_t field) { return at >= field && at < field + 4; });
        EXPECT_TRUE(in_field) << "segment byte " << at << " changed";
    }
}

struct SegmentCensus {
    int exif_app1 = 0;
    int other_app1 = 0;  // XMP and the like
    int comments = 0;
    int app13 = 0;
    std::vector<uint8_t> icc;
    std::vector<uint8_t> xmp;
    std::vector<std::vector<uint8_t>> extended_xmp;
    std::vector<uint8_t> photoshop;
};

SegmentCensus CountSegments(const std::vector<uint8_t>& file) {
    const std::vector<JpegSegment> segments = WalkJpegSegments(file);
    SegmentCensus census;
    const std::optional<JpegSegment> exif = FindExifSegment(file, segments);
    for (const JpegSegment& segment : segments) {
        if (segment.marker == 0xE1) {
            ++(exif && exif->offset == segment.offset ? census.exif_app1 : census.other_app1);
        }
        census.comments += segment.marker == 0xFE ? 1 : 0;
        census.app13 += segment.marker == 0xED ? 1 : 0;
    }
    census.icc = ReadIccProfile(file, segments);
    census.xmp = ReadXmpPacket(file, segments);
    census.extended_xmp = ReadExtendedXmp(file, segments);
    census.photoshop = ReadPhotoshopPayload(file, segments);
    return census;
}

std::filesystem::path CorpusDir() {
    return std::filesystem::path(PELIMON_TEST_DATA_DIR) / "camera";
}

// The corpus JPEGs that carry an Exif segment, by name.
std::vector<std::string> CorpusFilesWithExif() {
    std::vector<std::string> names;
    if (!std::filesystem::is_directory(CorpusDir())) {
        ADD_FAILURE() << "missing test folder " << CorpusDir().string();
        return names;
    }
    for (const auto& entry : std::filesystem::directory_iterator(CorpusDir())) {
        if (entry.path().extension() == ".jpg" && ReadDirectories(ReadBytes(entry.path().string()))) {
            names.push_back(entry.path().filename().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

class ExifBatchTest : public ::testing::Test {
  protected:
    ExifBatchTest() {
        settings.FileType = 4;  // JPEG
        settings.Width = 160;
        settings.Height = 120;
    }

    void AddRow(const std::string& name, int rotation) {
        list.rows().push_back({name, "1 KB", rotation, true});
        list.set_file_count(static_cast<int>(list.rows().size()));
        list.set_selected_count(static_cast<int>(list.rows().size()));
    }

    // Copies the named corpus files into the source folder and lists them with their rotation.
    void AddCorpusFiles(const std::vector<std::string>& names, int rotation) {
        for (const std::string& name : names) {
            ASSERT_TRUE(std::filesystem::is_regular_file(CorpusDir() / name))
                << "missing test file " << (CorpusDir() / name).string();
            std::filesystem::copy_file(CorpusDir() / name, source / name);
            AddRow(name, rotation);
        }
    }

    void RunAll() {
        const BatchOutcome outcome = RunBatch(settings, list, ui, {true, 0}, "20070502");
        EXPECT_EQ(outcome.kind, BatchOutcome::Kind::kCompleted);
        EXPECT_EQ(outcome.written, static_cast<int>(list.rows().size()));
        for (const Error& failure : outcome.failures) {
            ADD_FAILURE() << failure.message;
        }
    }

    std::vector<uint8_t> Source(const std::string& name) const { return ReadBytes(source / name); }
    std::vector<uint8_t> Output(const std::string& name, std::string_view extension = ".jpg") const {
        const std::string stem = std::filesystem::path(name).stem().string();
        return ReadBytes(source.path() + "out/" + stem + "_s" + std::string(extension));
    }

    // Compares every directory of the output with the source's.
    void ExpectExifCarried(const std::string& name, bool pixels_turned) {
        SCOPED_TRACE(name);
        const std::vector<uint8_t> out_file = Output(name);
        const std::optional<ExifDirectories> in = ReadDirectories(Source(name));
        const std::optional<ExifDirectories> out = ReadDirectories(out_file);
        ASSERT_TRUE(in.has_value());
        ASSERT_TRUE(out.has_value()) << "no Exif segment in the output";
        ExpectSameEntries("IFD0", in->main, out->main, {kOrientation});
        ExpectSameEntries("Exif IFD", in->sub, out->sub, {kPixelX, kPixelY});
        ExpectSameEntries("Interoperability IFD", in->interop, out->interop, {});
        if (!out->thumbnail.empty()) {
            ExpectSameEntries("IFD1", in->thumbnail, out->thumbnail, kThumbnailTags);
        }
        ExpectSegmentKeptVerbatim(*in, *out);

        const Result<ImageHeader> header = ProbeImage(out_file);
        ASSERT_TRUE(header.ok());
        if (const ExifEntry* x = FindEntry(out->sub, kPixelX)) {
            EXPECT_EQ(x->value, std::to_string(header.value().width) + " (pixel)");
        }
        if (const ExifEntry* y = FindEntry(out->sub, kPixelY)) {
            EXPECT_EQ(y->value, std::to_string(header.value().height) + " (pixel)");
        }
        if (in->orientation.has_value()) {
            EXPECT_EQ(out->orientation, pixels_turned ? 1u : *in->orientation);
        } else {
            EXPECT_FALSE(out->orientation.has_value());
        }

        ExpectThumbnailOfOutput(*in, *out, header.value());

        // XMP and IPTC travel unchanged; comments and other APPn segments stay behind.
        const SegmentCensus census = CountSegments(out_file);
        const SegmentCensus source_census = CountSegments(Source(name));
        EXPECT_EQ(census.exif_app1, 1);
        EXPECT_EQ(census.other_app1, (census.xmp.empty() ? 0 : 1) + static_cast<int>(census.extended_xmp.size()));
        EXPECT_EQ(census.xmp, source_census.xmp);
        EXPECT_EQ(census.photoshop, source_census.photoshop);
        EXPECT_EQ(census.comments, 0);
        EXPECT_EQ(census.icc, source_census.icc);
    }

    // A source with a JPEG thumbnail gets one of the output's pixels, with the output's aspect,
    // inside 160 x 120 (or 120 x 160), unless it had to go to keep the segment under 64 KB.
    static void ExpectThumbnailOfOutput(const ExifDirectories& in, const ExifDirectories& out,
                                        const ImageHeader& output) {
        if (!in.thumbnail_jpeg) {
            return;
        }
        if (!out.thumbnail_jpeg) {
            EXPECT_GT(in.segment.size() + 2000, 0xFFFFu) << "thumbnail dropped from a small segment";
            return;
        }
        const std::span<const uint8_t> tiff = std::span(out.segment).subspan(kTiffInSegment);
        const Result<ImageHeader> thumbnail =
            ProbeImage(tiff.subspan(out.thumbnail_jpeg->offset, out.thumbnail_jpeg->length));
        ASSERT_TRUE(thumbnail.ok());
        const int long_side = std::max(thumbnail.value().width, thumbnail.value().height);
        const int short_side = std::min(thumbnail.value().width, thumbnail.value().height);
        EXPECT_LE(long_side, 160);
        EXPECT_LE(short_side, 120);
        EXPECT_EQ(thumbnail.value().width >= thumbnail.value().height, output.width >= output.height);
    }

    TempFolder source;
    AppSettings settings = test::BatchSettings(source.path());
    FileList list;
    FakeInteraction ui;
};

TEST_F(ExifBatchTest, EveryCorpusEntrySurvivesAReduction) {
    const std::vector<std::string> names = CorpusFilesWithExif();
    ASSERT_GE(names.size(), 25u);
    AddCorpusFiles(names, 0);
    settings.Exif = 1;
    RunAll();
    for (const std::string& name : names) {
        const std::optional<uint32_t> orientation = ReadDirectories(Source(name))->orientation;
        ExpectExifCarried(name, orientation.value_or(1) >= 2 && orientation.value_or(1) <= 8);
    }
}

TEST_F(ExifBatchTest, QuarterTurnMakesTheOrientationUpright) {
    const std::vector<std::string> names = {
        "ii-app0-orient6-interop-thumb-long-sony.jpg",                 // auto-rotated, then turned
        "ii-app1-interop-thumb-long-minolta.jpg",                      // II, Orientation 1
        "ii-app1-sshort-nointerop-nothumb-noorient-reconyx.jpg",       // no Orientation to rewrite
        "mm-app0-app2-farexif-gps-nointerop-nothumb-apple-phone.jpg",  // MM, ICC profile, GPS
        "mm-app0-interop-thumb-short-usercomment-canon.jpg",           // MM, SHORT pixel size
    };
    AddCorpusFiles(names, 90);
    settings.Exif = 1;
    RunAll();
    for (const std::string& name : names) {
        ExpectExifCarried(name, true);
    }
}

// 位置情報を削除する: no JPEG or PNG output of the GPS files holds a GPS IFD; without it both carry
// the same patched block, GPS and all. A damaged XMP packet is left out with a note naming the
// file, and the photo is written all the same.
TEST_F(ExifBatchTest, NoLocationLeavesNoGpsInAnyFormat) {
    const std::vector<std::string> names = {
        "ii-app1-orient6-gps-interop-thumb-long-samsung-phone.jpg",
        "ii-app1-gps-nointerop-nothumb-nikon.jpg",
        "mm-app0-app2-farexif-gps-nointerop-nothumb-apple-phone.jpg",
    };
    AddCorpusFiles(names, 0);
    // A fourth source: the Nikon file with a damaged XMP packet right after SOI.
    std::vector<uint8_t> damaged = Source(names[1]);
    const std::string_view broken = "<x:xmpmeta><rdf:RDF>";
    const std::vector<uint8_t> xmp =
        BuildSegment(0xE1, {std::span(reinterpret_cast<const uint8_t*>(kXmpIdentifier.data()), kXmpIdentifier.size()),
                            std::span(reinterpret_cast<const uint8_t*>(broken.data()), broken.size())});
    damaged.insert(damaged.begin() + 2, xmp.begin(), xmp.end());
    test::WriteBytes(source / "damaged-xmp.jpg",
                     std::string_view(reinterpret_cast<const char*>(damaged.data()), damaged.size()));
    AddRow("damaged-xmp.jpg", 0);
    settings.Exif = kOn;
    for (const int no_location : {kOff, kOn}) {
        std::vector<std::vector<uint8_t>> jpeg_blocks;
        for (const ImageFormat format : {ImageFormat::kJpeg, ImageFormat::kPng}) {
            const FormatRow& row = FormatRowOf(format);
            SCOPED_TRACE(::testing::Message() << "NoLocation " << no_location << ", " << row.display_name);
            settings.NoLocation = no_location;
            settings.FileType = row.codes.file_type;
            ui.notes.clear();
            RunAll();
            ASSERT_EQ(ui.notes.size(), 1u);
            EXPECT_EQ(ui.notes[0], "damaged-xmp.jpg: XMP 情報が壊れているため、出力に含めませんでした。");
            for (size_t i = 0; i < names.size(); ++i) {
                SCOPED_TRACE(names[i]);
                const std::vector<uint8_t> block = test::ReadFileBlocks(Output(names[i], row.OutputExtension())).exif;
                const TiffBlock tiff(block);
                ASSERT_TRUE(tiff.valid());
                EXPECT_EQ(tiff.GpsIfdOffset() != 0, no_location == kOff);
                if (format == ImageFormat::kJpeg) {
                    jpeg_blocks.push_back(block);
                } else {
                    EXPECT_EQ(block, jpeg_blocks[i]);
                }
            }
        }
    }
}

TEST_F(ExifBatchTest, WithoutExifOnlyTheColourProfileIsKept) {
    const std::vector<std::string> names = CorpusFilesWithExif();
    AddCorpusFiles(names, 0);
    settings.Exif = 0;
    RunAll();
    int with_profile = 0;
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const SegmentCensus out = CountSegments(Output(name));
        const SegmentCensus in = CountSegments(Source(name));
        EXPECT_EQ(out.exif_app1, 0);
        EXPECT_EQ(out.other_app1, 0);
        EXPECT_EQ(out.comments, 0);
        EXPECT_EQ(out.app13, 0);
        EXPECT_EQ(out.icc, in.icc);
        with_profile += in.icc.empty() ? 0 : 1;
    }
    EXPECT_GE(with_profile, 1);  // the phone file carries one
}

// Orientations: a photo whose four quadrants are red, green, blue and white when upright is
// stored as a camera would store it for each Exif Orientation value.
enum Quadrant { kTopLeft, kTopRight, kBottomLeft, kBottomRight };
constexpr std::array<std::array<uint8_t, 3>, 4> kQuadrantColours = {{
    {230, 20, 20},
    {20, 200, 20},
    {20, 20, 230},
    {240, 240, 240},
}};

// Where the upright pixel (x, y) of a width x height photo is stored for an orientation (the
// TIFF definition: which visual side the stored 0th row and 0th column show).
void StoredPosition(int orientation, int width, int height, int x, int y, int& sx, int& sy) {
    switch (orientation) {
        case 2:
            sx = width - 1 - x, sy = y;
            break;  // row top, column right
        case 3:
            sx = width - 1 - x, sy = height - 1 - y;
            break;  // row bottom, column right
        case 4:
            sx = x, sy = height - 1 - y;
            break;  // row bottom, column left
        case 5:
            sx = y, sy = x;
            break;  // row left, column top
        case 6:
            sx = y, sy = width - 1 - x;
            break;  // row right, column top
        case 7:
            sx = height - 1 - y, sy = width - 1 - x;
            break;  // row right, column bottom
        case 8:
            sx = height - 1 - y, sy = x;
            break;  // row left, column bottom
        default:
            sx = x, sy = y;
            break;
    }
}

Image StoredQuadrants(int orientation, int width, int height) {
    const bool swaps = orientation >= 5;
    Image stored(swaps ? height : width, swaps ? width : height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int quadrant = (y < height / 2 ? 0 : 2) + (x < width / 2 ? 0 : 1);
            int sx = 0;
            int sy = 0;
            StoredPosition(orientation, width, height, x, y, sx, sy);
            std::copy_n(kQuadrantColours[static_cast<size_t>(quadrant)].data(), 3, stored.row(sy) + 3 * sx);
        }
    }
    return stored;
}

// The colour at the centre of each quadrant of `image`, checked against `expected` quadrant
// images (top left, top right, bottom left, bottom right) within JPEG's error.
void ExpectQuadrants(const Image& image, const Image& expected) {
    ASSERT_EQ(image.width(), expected.width());
    ASSERT_EQ(image.height(), expected.height());
    for (int q = 0; q < 4; ++q) {
        const int x = (q % 2 == 0 ? 1 : 3) * image.width() / 4;
        const int y = (q < 2 ? 1 : 3) * image.height() / 4;
        for (int c = 0; c < 3; ++c) {
            EXPECT_NEAR(image.row(y)[3 * x + c], expected.row(y)[3 * x + c], 40)
                << "quadrant " << q << ", channel " << c;
        }
    }
}

TEST_F(ExifBatchTest, EveryOrientationIsAppliedOrLeftAsStored) {
    constexpr int kWidth = 96;
    constexpr int kHeight = 64;
    for (int orientation = 1; orientation <= 8; ++orientation) {
        const std::string name = std::to_string(orientation) + ".jpg";
        test::WriteJpegWithExif(source / name, StoredQuadrants(orientation, kWidth, kHeight), orientation);
        AddRow(name, 0);
    }
    settings.Exif = 1;
    settings.Base = 4;  // half size, aspect kept
    settings.Aspect = 0;
    settings.Method = 2;
    settings.WidthRatio = 50;
    settings.HeightRatio = 50;
    for (const int auto_rotate : {1, 0}) {
        std::filesystem::remove_all(source.path() + "out");
        settings.AutoRotate = auto_rotate;
        RunAll();
        for (int orientation = 1; orientation <= 8; ++orientation) {
            SCOPED_TRACE(::testing::Message() << "AutoRotate " << auto_rotate << ", orientation " << orientation);
            const std::vector<uint8_t> out = Output(std::to_string(orientation) + ".jpg");
            const Result<Image> decoded = DecodeImage(out);
            ASSERT_TRUE(decoded.ok());
            const int shown = auto_rotate == 1 ? 1 : orientation;
            ExpectQuadrants(decoded.value(), StoredQuadrants(shown, kWidth / 2, kHeight / 2));
            EXPECT_EQ(ReadDirectories(out)->orientation, static_cast<uint32_t>(shown));
        }
    }
}

}  // namespace
}  // namespace pelimon
