// Camera raw: developing DNG files made from a known picture (at half size as libraw develops
// them), the embedded preview, the file's own turn, stripped and cut files, the signatures, and
// the Exif of real stripped raw files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

#include "exif/tiff_block.h"
#include "imagelib/embedded_metadata.h"
#include "imagelib/imagelib.h"
#include "imagelib/imagelib_texts.h"
#include "imagelib/raw_half_develop.h"
#include "imagelib/raw_metadata.h"
#include "imagelib/raw_session.h"
#include "support/dng_writer.h"
#include "test_images.h"

namespace pelimon {
namespace {

using test::PixelAt;
using test::Rgb;

Bytes RawFile(const std::string& name) {
    return test::ReadFixture("../raw/" + name);
}

test::DngContents Contents(int orientation, Bytes preview = {}) {
    test::DngContents contents;
    contents.orientation = orientation;
    contents.preview_jpeg = std::move(preview);
    return contents;
}

// Four quadrants: red, green / blue, white.
Image Quadrants(int width, int height) {
    Image image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int quadrant = (y >= height / 2 ? 2 : 0) + (x >= width / 2 ? 1 : 0);
            static constexpr Rgb kQuadrants[] = {{220, 30, 30}, {30, 200, 30}, {30, 30, 220}, {235, 235, 235}};
            for (size_t c = 0; c < 3; ++c) {
                image.row(y)[3 * x + static_cast<int>(c)] = static_cast<uint8_t>(kQuadrants[quadrant][c]);
            }
        }
    }
    return image;
}

Image Solid(int width, int height, Rgb colour) {
    Image image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            for (size_t c = 0; c < 3; ++c) {
                image.row(y)[3 * x + static_cast<int>(c)] = static_cast<uint8_t>(colour[c]);
            }
        }
    }
    return image;
}

// The channel that dominates a pixel clearly: 0 red, 1 green, 2 blue, 3 white (all high), -1 none.
int Dominant(Rgb pixel) {
    if (std::min({pixel[0], pixel[1], pixel[2]}) > 180) {
        return 3;
    }
    for (size_t c = 0; c < 3; ++c) {
        if (pixel[c] > 120 && pixel[c] > 2 * pixel[(c + 1) % 3] && pixel[c] > 2 * pixel[(c + 2) % 3]) {
            return static_cast<int>(c);
        }
    }
    return -1;
}

// The dominant colours at the centres of the quadrants, top left, top right, bottom left, bottom right.
std::array<int, 4> QuadrantColours(const Image& image) {
    const int w = image.width();
    const int h = image.height();
    return {Dominant(PixelAt(image, w / 4, h / 4)), Dominant(PixelAt(image, 3 * w / 4, h / 4)),
            Dominant(PixelAt(image, w / 4, 3 * h / 4)), Dominant(PixelAt(image, 3 * w / 4, 3 * h / 4))};
}

TEST(Raw, DevelopsMadeDngsUprightAtTheSizeAsked) {
    struct Case {
        int orientation;
        DecodeOptions options;
        int width, height;
        std::array<int, 4> quadrants;
    };
    const Case cases[] = {
        {1, {}, 128, 96, {0, 1, 2, 3}},
        {1, {.min_width = 60, .min_height = 40}, 64, 48, {0, 1, 2, 3}},  // half size is enough
        {1, {.min_width = 70, .min_height = 40}, 128, 96, {0, 1, 2, 3}},
        {6, {}, 96, 128, {2, 0, 3, 1}},  // turned a quarter clockwise
        {6, {.min_width = 40, .min_height = 60}, 48, 64, {2, 0, 3, 1}},
        {3, {}, 128, 96, {3, 2, 1, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.orientation);
        const Bytes dng = test::MakeDng(Quadrants(64, 48), Contents(c.orientation));
        ASSERT_EQ(SniffFormat(dng), ImageFormat::kRaw);
        const Result<ImageHeader> header = ProbeImage(dng);
        ASSERT_TRUE(header.ok()) << header.error().message;
        EXPECT_EQ(header.value().width, c.orientation >= 5 ? 96 : 128);
        const Result<Image> image = DecodeImage(dng, c.options);
        ASSERT_TRUE(image.ok()) << image.error().message;
        EXPECT_EQ(image.value().width(), c.width);
        EXPECT_EQ(image.value().height(), c.height);
        EXPECT_EQ(QuadrantColours(image.value()), c.quadrants);
    }
}

// `dng` developed at half size in the sensor's frame, by libraw or from the mosaic.
Image DevelopedAtHalfSize(const Bytes& dng, bool by_libraw) {
    imagelib_detail::RawSession session;
    EXPECT_TRUE(session.Open(dng).ok());
    LibRaw& raw = session.raw();
    raw.imgdata.params.use_camera_wb = 1;
    raw.imgdata.params.output_color = 1;
    raw.imgdata.params.output_bps = 8;
    raw.imgdata.params.half_size = 1;
    raw.imgdata.params.user_flip = 0;
    EXPECT_TRUE(session.Unpack().ok());
    Image out;
    if (!by_libraw) {
        EXPECT_TRUE(imagelib_detail::DevelopsAtHalfSize(raw));
        imagelib_detail::DevelopAtHalfSize(raw, out);
        return out;
    }
    int code = raw.dcraw_process();
    libraw_processed_image_t* image = code == LIBRAW_SUCCESS ? raw.dcraw_make_mem_image(&code) : nullptr;
    if (image == nullptr) {
        ADD_FAILURE() << "libraw did not develop: " << code;
        return out;
    }
    out.Reset(image->width, image->height);
    std::copy(image->data, image->data + size_t{image->width} * image->height * 3, out.data());
    LibRaw::dcraw_clear_mem(image);
    return out;
}

TEST(Raw, HalfSizeDevelopmentFromTheMosaicIsLibraws) {
    struct Case {
        const char* name;
        std::array<uint8_t, 4> pattern;
        std::array<uint16_t, 4> black;
        uint16_t white;
        std::array<double, 3> neutral;
    };
    const Case cases[] = {
        {"RGGB, no black", {0, 1, 1, 2}, {0, 0, 0, 0}, 4095, {1, 1, 1}},
        {"BGGR, 10 bits, warm light", {2, 1, 1, 0}, {64, 64, 64, 64}, 1023, {0.5, 1, 0.8}},
        {"GRBG, a black level per place", {1, 0, 2, 1}, {100, 96, 104, 98}, 4000, {0.6, 1, 0.7}},
        {"GBRG, highlights clipped by the balance", {1, 2, 0, 1}, {0, 0, 0, 0}, 4095, {0.3, 1, 0.4}},
        {"16 bits", {0, 1, 1, 2}, {2048, 2048, 2048, 2048}, 65535, {0.45, 1, 0.62}},
    };
    const Image picture = test::MakeGradient(61, 45);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::DngContents contents;
        contents.pattern = c.pattern;
        contents.black = c.black;
        contents.white = c.white;
        contents.as_shot_neutral = c.neutral;
        Bytes dng = test::MakeDng(picture, contents);
        // Every sample a little off, so that the two greens of a block differ.
        for (size_t at = test::DngRawDataOffset(dng); at + 1 < dng.size(); at += 2) {
            const int sample = dng[at] | dng[at + 1] << 8;
            const int off = std::min<int>(c.white, sample + static_cast<int>(at * 7 % 29));
            dng[at] = static_cast<uint8_t>(off);
            dng[at + 1] = static_cast<uint8_t>(off >> 8);
        }
        const Image ours = DevelopedAtHalfSize(dng, false);
        const Image libraws = DevelopedAtHalfSize(dng, true);
        ASSERT_EQ(ours.width(), libraws.width());
        ASSERT_EQ(ours.height(), libraws.height());
        int most = 0;
        double sum = 0;
        const size_t values = size_t{3} * static_cast<size_t>(ours.width() * ours.height());
        for (size_t i = 0; i < values; ++i) {
            const int difference = std::abs(ours.data()[i] - libraws.data()[i]);
            most = std::max(most, difference);
            sum += difference;
        }
        EXPECT_LE(most, 1);
        EXPECT_LE(sum / static_cast<double>(values), 0.01);
    }
}

TEST(Raw, ThePreviewServesWhenItIsLargeEnough) {
    const Bytes preview = EncodeJpeg(Solid(128, 96, {200, 40, 200}), {.quality = 95}).value();
    const Bytes small_preview = EncodeJpeg(Solid(32, 24, {200, 40, 200}), {.quality = 95}).value();
    struct Case {
        const Bytes* preview;
        int orientation;
        DecodeOptions options;
        bool from_preview;
        int width, height;
    };
    const Case cases[] = {
        {&preview, 1, {}, true, 128, 96},
        {&preview, 1, {.min_width = 30, .min_height = 20}, true, 32, 24},  // the JPEG's own 1/4 scale
        {&preview, 6, {.min_width = 90, .min_height = 120}, true, 96, 128},
        {&small_preview, 1, {.min_width = 60, .min_height = 40}, false, 64, 48},
    };
    for (const Case& c : cases) {
        const Bytes dng = test::MakeDng(Quadrants(64, 48), Contents(c.orientation, *c.preview));
        const Result<Image> image = DecodeImage(dng, c.options);
        ASSERT_TRUE(image.ok()) << image.error().message;
        EXPECT_EQ(image.value().width(), c.width);
        EXPECT_EQ(image.value().height(), c.height);
        const Rgb centre = PixelAt(image.value(), c.width / 4, c.height / 4);
        EXPECT_EQ(centre[0] > 150 && centre[2] > 150 && centre[1] < 100, c.from_preview);
    }
}

// `bytes` as a file of its own (deleted when closed), read from its start.
std::unique_ptr<std::FILE, int (*)(std::FILE*)> TemporaryFile(const Bytes& bytes) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::tmpfile(), &std::fclose);
    EXPECT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), file.get()), bytes.size());
    std::rewind(file.get());
    return file;
}

// Keeps the rows a decoder gives.
class WholeImageSink final : public RowSink {
  public:
    Status Begin(int width, int height) override {
        image.Reset(width, height);
        return {};
    }
    void Row(const uint8_t* rgb) override { std::copy(rgb, rgb + image.stride(), image.row(next++)); }
    Image image;
    int next = 0;
};

TEST(Raw, AFileDecodesAsTheSameBytesInMemory) {
    const Bytes preview = EncodeJpeg(Quadrants(128, 96), {.quality = 90}).value();
    const Bytes with_preview = test::MakeDng(Quadrants(64, 48), Contents(6, preview));
    const Bytes without = test::MakeDng(Quadrants(64, 48), Contents(3));
    for (const Bytes* dng : {&with_preview, &without}) {
        for (const DecodeOptions& options : {DecodeOptions{}, DecodeOptions{.min_width = 40, .min_height = 30}}) {
            const auto file = TemporaryFile(*dng);
            WholeImageSink sink;
            ASSERT_TRUE(DecodeRows(file.get(), options, sink).ok());
            EXPECT_EQ(sink.next, sink.image.height());
            EXPECT_TRUE(sink.image == DecodeImage(*dng, options).value());
        }
    }
}

TEST(Raw, TheMetadataIsReadFromTheDirectoriesAtTheStart) {
    const Bytes preview = EncodeJpeg(Solid(128, 96, {200, 40, 200}), {.quality = 95}).value();
    const Bytes dng = test::MakeDng(Quadrants(64, 48), Contents(1, preview));
    const Bytes raf = RawFile("et_FujiFilm.raf");
    struct Case {
        const Bytes* file;
        size_t most;  // of the file's start read
    };
    for (const Case& c : {Case{&dng, test::DngRawDataOffset(dng)}, Case{&raf, raf.size()}}) {
        const uint64_t extent = RawMetadataExtent(TemporaryFile(*c.file).get());
        EXPECT_LE(extent, c.most);
        const Bytes start(c.file->begin(), c.file->begin() + static_cast<long>(extent));
        const EmbeddedMetadata metadata = ReadEmbeddedMetadata(start);
        EXPECT_FALSE(metadata.exif.empty());
        EXPECT_EQ(metadata.exif, ReadEmbeddedMetadata(*c.file).exif);
    }
}

TEST(Raw, MissingOrCutRawDataIsRefusedUnlessThePreviewServes) {
    const Bytes preview = EncodeJpeg(Solid(128, 96, {200, 40, 200}), {.quality = 95}).value();
    const Bytes whole = test::MakeDng(Quadrants(64, 48));
    const size_t raw_at = test::DngRawDataOffset(whole);
    Bytes cut(whole.begin(), whole.begin() + static_cast<long>(raw_at + 200));
    Bytes half_cut(whole.begin(), whole.end() - static_cast<long>((whole.size() - raw_at) / 2));
    Bytes zeroed = whole;
    std::fill(zeroed.begin() + static_cast<long>(raw_at), zeroed.end(), uint8_t{0});
    Bytes cut_with_preview = test::MakeDng(Quadrants(64, 48), Contents(1, preview));
    const size_t preview_raw_at = test::DngRawDataOffset(cut_with_preview);
    std::fill(cut_with_preview.begin() + static_cast<long>(preview_raw_at),
              cut_with_preview.begin() + static_cast<long>(preview_raw_at + 128 * 96 * 2), uint8_t{0});
    for (const Bytes* file : {&cut, &half_cut, &zeroed}) {
        const Result<Image> image = DecodeImage(*file);
        ASSERT_FALSE(image.ok());
        EXPECT_NE(image.error().message.find(imagelib_texts::kRawDataMissing.str()), std::string::npos)
            << image.error().message;
    }
    // The preview serves for the size asked, and down to half of it when the raw data fails.
    EXPECT_TRUE(DecodeImage(cut_with_preview, {.min_width = 100, .min_height = 80}).ok());
    EXPECT_TRUE(DecodeImage(cut_with_preview, {.min_width = 250, .min_height = 180}).ok());
    EXPECT_FALSE(DecodeImage(cut_with_preview, {.min_width = 260, .min_height = 180}).ok());
    EXPECT_TRUE(DecodeImage(cut_with_preview).ok());  // a full-size preview serves the full size
}

TEST(Raw, SignaturesTellRawFilesFromOthers) {
    const auto bytes = [](std::string_view text) {
        Bytes out(64, 0);
        std::copy(text.begin(), text.end(), out.begin());
        return out;
    };
    struct Case {
        Bytes file;
        bool raw;
    };
    const Case cases[] = {
        {bytes("FUJIFILMCCD-RAW 0201FF383501"), true},
        {bytes(std::string_view("\0MRM\0\0\0\0", 8)), true},
        {bytes(std::string_view("IIRO\x08\0\0\0", 8)), true},
        {bytes(std::string_view("IIU\0\x08\0\0\0", 8)), true},
        {bytes(std::string_view("II*\0\x10\0\0\0CR\x02\0", 12)), true},
        {bytes(std::string_view("II\x1a\0\0\0HEAPCCDR", 14)), true},
        {bytes(std::string_view("\0\0\0\x18"
                                "ftypcrx ",
                                12)),
         true},
        {bytes(std::string_view("\0\0\0\x18"
                                "ftypheic",
                                12)),
         false},
        {bytes(std::string_view("II*\0\x08\0\0\0\0\0", 10)), false},  // a TIFF with no sign of raw data
        // a colour filter array in a sub directory of a first directory that says nothing else
        {bytes(std::string_view("II*\0\x08\0\0\0\x01\0\x4a\x01\x04\0\x01\0\0\0\x1a\0\0\0\0\0\0\0"
                                "\x01\0\x06\x01\x03\0\x01\0\0\0\x23\x80\0\0\0\0\0\0",
                                44)),
         true},
        {test::MakeDng(Quadrants(4, 4)), true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SniffFormat(c.file) == ImageFormat::kRaw, c.raw);
    }
}

TEST(Raw, StrippedRealFilesAreRefusedAndKeepTheirExif) {
    struct Case {
        const char* file;
        const char* make;  // in the Exif block, or nullptr for none
        bool preview_serves_small;
    };
    const Case cases[] = {
        {"et_DNG.dng", "Canon", false},           {"et_Nikon.nef", "NIKON", false},
        {"et_Panasonic.rw2", "Panasonic", false}, {"ex2_IMG_1361.dng", "Apple", false},
        {"et_FujiFilm.raf", "FUJIFILM", false},  // its 160x120 preview is letterboxed: 4:3 of a 3:2 picture
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const Bytes file = RawFile(c.file);
        ASSERT_EQ(SniffFormat(file), ImageFormat::kRaw);
        EXPECT_TRUE(ProbeImage(file).ok());
        const Result<Image> image = DecodeImage(file);
        ASSERT_FALSE(image.ok());
        EXPECT_NE(image.error().message.find(imagelib_texts::kRawDataMissing.str()), std::string::npos)
            << image.error().message;
        EXPECT_EQ(DecodeImage(file, {.min_width = 320, .min_height = 240}).ok(), c.preview_serves_small);
        const EmbeddedMetadata metadata = ReadEmbeddedMetadata(file);
        EXPECT_TRUE(metadata.decoder_orients);
        const std::string exif(metadata.exif.begin(), metadata.exif.end());
        EXPECT_NE(exif.find(c.make), std::string::npos);
    }
    // A damaged file with an RW2 signature.
    EXPECT_EQ(SniffFormat(RawFile("mei_damaged_signature_only.rw2")), ImageFormat::kRaw);
    EXPECT_FALSE(ProbeImage(RawFile("mei_damaged_signature_only.rw2")).ok());
}

TEST(Raw, Cr3ExifComesFromItsDirectoryBoxes) {
    const Bytes exif = ReadEmbeddedMetadata(test::MakeDng(Quadrants(16, 16))).exif;
    const TiffBlock block(exif);
    ASSERT_TRUE(block.valid() && block.SubIfdOffset() != 0 && block.GpsIfdOffset() != 0);
    // CMT2 and CMT4 are TIFF structures whose first directory is the Exif or the GPS directory.
    const auto first_directory_at = [&exif](uint32_t offset) {
        Bytes tiff = exif;
        for (size_t i = 0; i < 4; ++i) {
            tiff[4 + i] = static_cast<uint8_t>(offset >> (8 * i));
        }
        return tiff;
    };
    const auto box = [](std::string_view type, std::initializer_list<Bytes> parts) {
        Bytes out(8);
        for (const Bytes& part : parts) {
            out.insert(out.end(), part.begin(), part.end());
        }
        const size_t size = out.size();
        for (size_t i = 0; i < 4; ++i) {
            out[i] = static_cast<uint8_t>(size >> (8 * (3 - i)));
            out[4 + i] = static_cast<uint8_t>(type[i]);
        }
        return out;
    };
    const Bytes canon_uuid = {0x85, 0xC0, 0xB6, 0x87, 0x82, 0x0F, 0x11, 0xE0,
                              0x81, 0x11, 0xF4, 0xCE, 0x46, 0x2B, 0x6A, 0x48};
    Bytes cr3 = box("ftyp", {Bytes{'c', 'r', 'x', ' ', 0, 0, 0, 1}});
    const Bytes moov = box(
        "moov", {box("uuid", {canon_uuid, box("CMT1", {exif}), box("CMT2", {first_directory_at(block.SubIfdOffset())}),
                              box("CMT4", {first_directory_at(block.GpsIfdOffset())})})});
    cr3.insert(cr3.end(), moov.begin(), moov.end());
    EXPECT_EQ(SniffFormat(cr3), ImageFormat::kRaw);
    EXPECT_EQ(ReadEmbeddedMetadata(cr3).exif, exif);
}

}  // namespace
}  // namespace pelimon
