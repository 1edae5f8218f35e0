// The desktop's thumbnail cache (names, URIs, the PNG's keys, reuse and remaking) and the
// thumbnails made from real photos' embedded thumbnails or decoded pixels.
#include <sys/stat.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include <gtest/gtest.h>

#include "common/atomic_file.h"
#include "common/md5.h"
#include "exif/source_metadata.h"
#include "filelist/thumbnail_cache.h"
#include "filelist/thumbnail_maker.h"
#include "imagelib/orientation.h"
#include "imagelib/png_chunks.h"
#include "tests/support/temp_folder.h"

namespace pelimon {
namespace {

using test::TempFolder;

// A picture with a bright left half, so that a turned thumbnail shows.
Image HalfBright(int width, int height) {
    Image image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint8_t value = x < width / 2 ? 230 : 30;
            std::fill_n(image.row(y) + 3 * x, 3, value);
        }
    }
    return image;
}

std::string WriteJpeg(const TempFolder& folder, const std::string& name, const Image& image) {
    const Bytes jpeg = EncodeJpeg(image).value();
    return folder.Write(name, std::string_view(reinterpret_cast<const char*>(jpeg.data()), jpeg.size()));
}

int64_t ModeOf(const std::string& path) {
    struct stat info {};
    stat(path.c_str(), &info);
    return info.st_mode & 0777;
}

std::map<std::string, std::string> TextsOf(const std::string& png_path) {
    const std::string bytes = ReadWholeFile(png_path).value();
    std::map<std::string, std::string> texts;
    for (const PngChunk& chunk :
         WalkPngChunks(ByteView(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()))) {
        if (const std::optional<PngText> text = ReadPngText(chunk, 4096)) {
            texts[text->keyword] = std::string(text->text.begin(), text->text.end());
        }
    }
    return texts;
}

// Mean absolute difference per channel of two images of one size.
double MeanDifference(const Image& a, const Image& b) {
    double sum = 0;
    for (size_t i = 0; i < a.size_bytes(); ++i) {
        sum += std::abs(int{a.data()[i]} - int{b.data()[i]});
    }
    return sum / static_cast<double>(a.size_bytes());
}

TEST(ThumbnailCacheNames, DigestUriFolderAndPath) {
    // RFC 1321's test suite, the 56-byte boundary and a two-block message.
    const std::pair<std::string, std::string> digests[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {std::string(56, 'a'), "3b0c8ac703f828b04c6c197006d17218"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
    };
    for (const auto& [text, digest] : digests) {
        EXPECT_EQ(Md5Hex(text), digest) << text;
    }
    const std::pair<std::string, std::string> uris[] = {
        {"/home/jens/photos/me.png", "file:///home/jens/photos/me.png"},
        {"/tmp/写真 1/a#b%?.jpg", "file:///tmp/%E5%86%99%E7%9C%9F%201/a%23b%25%3F.jpg"},
        {"/p/it's (1)+[2]~$&=@,!*:.jpg", "file:///p/it's%20(1)+%5B2%5D~$&=@,!*:.jpg"},
    };
    for (const auto& [path, uri] : uris) {
        EXPECT_EQ(FileUri(path), uri);
    }
    // The standard's own example.
    EXPECT_EQ(CachedThumbnailPath("/c", "/home/jens/photos/me.png", ThumbnailSize::kNormal),
              "/c/normal/c6ee772d9e49320e97ec29a7eb5b1697.png");
    EXPECT_EQ(CachedThumbnailPath("/c", "/home/jens/photos/me.png", ThumbnailSize::kLarge),
              "/c/large/c6ee772d9e49320e97ec29a7eb5b1697.png");
    EXPECT_EQ(CachedThumbnailPath("", "/a.jpg", ThumbnailSize::kNormal), "");

    struct Case {
        std::map<std::string, std::string> environment;
        std::string root;
    };
    const Case roots[] = {
        {{{"XDG_CACHE_HOME", "/x"}, {"HOME", "/h"}}, "/x/thumbnails"},
        {{{"XDG_CACHE_HOME", "relative"}, {"HOME", "/h"}}, "/h/.cache/thumbnails"},
        {{{"HOME", "/h"}}, "/h/.cache/thumbnails"},
        {{}, ""},
    };
    for (const Case& c : roots) {
        const auto lookup = [&c](const std::string& name) -> std::optional<std::string> {
            const auto found = c.environment.find(name);
            return found == c.environment.end() ? std::nullopt : std::optional(found->second);
        };
        EXPECT_EQ(ThumbnailCacheRoot(lookup), c.root);
    }
}

TEST(ThumbnailCache, StoresReusesAndRemakesWhenTheSourceChanges) {
    const TempFolder folder;
    const std::string root = folder.path() + "cache/thumbnails";
    const std::string photo = WriteJpeg(folder, "photos/a.jpg", HalfBright(400, 300));
    const std::string cache_path = CachedThumbnailPath(root, photo, ThumbnailSize::kNormal);

    const Result<CachedThumbnail> made = LoadThumbnail(photo, ThumbnailSize::kNormal, root);
    ASSERT_TRUE(made.ok()) << made.error().message;
    EXPECT_EQ(made.value().image.width(), 128);
    EXPECT_EQ(made.value().image.height(), 96);
    EXPECT_EQ(made.value().source_width, 400);
    EXPECT_EQ(made.value().source_height, 300);
    ASSERT_TRUE(std::filesystem::exists(cache_path));
    EXPECT_EQ(ModeOf(cache_path), 0600);
    EXPECT_EQ(ModeOf(root), 0700);
    EXPECT_EQ(ModeOf(root + "/normal"), 0700);
    // Nothing beside the photo.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path() + "photos"), {}), 1);

    const ThumbnailSource source = ExamineThumbnailSource(photo).value();
    std::map<std::string, std::string> texts = TextsOf(cache_path);
    EXPECT_EQ(texts["Thumb::URI"], "file://" + photo);
    EXPECT_EQ(texts["Thumb::MTime"], std::to_string(source.mtime));
    EXPECT_EQ(texts["Thumb::Size"], std::to_string(std::filesystem::file_size(photo)));
    EXPECT_EQ(texts["Thumb::Image::Width"], "400");
    EXPECT_EQ(texts["Software"], "pelimon");

    // A current thumbnail, whoever made it, is taken as it is.
    CachedThumbnail foreign;
    foreign.image = Image(128, 96);
    ASSERT_TRUE(WriteCachedThumbnail(cache_path, source, foreign).ok());
    EXPECT_EQ(LoadThumbnail(photo, ThumbnailSize::kNormal, root).value().image, foreign.image);
    ThumbnailSource other_file = source;
    other_file.uri = "file:///elsewhere.jpg";
    EXPECT_FALSE(ReadCachedThumbnail(cache_path, other_file));

    // Which way the file stores the picture is kept. An older pelimon's thumbnail, which did not
    // record it, is stale; another program's is taken as stored upright.
    CachedThumbnail sideways = foreign;
    sideways.stored_sideways = true;
    ASSERT_TRUE(WriteCachedThumbnail(cache_path, source, sideways).ok());
    EXPECT_TRUE(ReadCachedThumbnail(cache_path, source).value().stored_sideways);
    for (const char* software : {"pelimon", "another viewer"}) {
        SCOPED_TRACE(software);
        const std::string bytes = ReadWholeFile(cache_path).value();
        const ByteView file(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        Bytes rewritten(file.begin(), file.begin() + 8);
        for (const PngChunk& chunk : WalkPngChunks(file)) {
            const std::optional<PngText> text = ReadPngText(chunk, 4096);
            if (text && text->keyword == "Software") {
                const std::string data = std::string("Software") + '\0' + software;
                AppendPngChunk(rewritten, "tEXt", ByteView(reinterpret_cast<const uint8_t*>(data.data()), data.size()));
            } else if (!text || text->keyword != "X-Pelimon::StoredSideways") {
                AppendPngChunk(rewritten, chunk.type, chunk.data);
            }
        }
        folder.Write("old.png", std::string_view(reinterpret_cast<const char*>(rewritten.data()), rewritten.size()));
        const std::optional<CachedThumbnail> old = ReadCachedThumbnail(folder.path() + "old.png", source);
        EXPECT_EQ(old.has_value(), software != std::string("pelimon"));
        EXPECT_FALSE(old && old->stored_sideways);
    }

    // The photo changes (turned upright, a new time): its thumbnail is made again.
    WriteJpeg(folder, "photos/a.jpg", HalfBright(300, 400));
    const std::filesystem::file_time_type later = std::filesystem::last_write_time(photo) + std::chrono::seconds(5);
    std::filesystem::last_write_time(photo, later);
    EXPECT_FALSE(ReadCachedThumbnail(cache_path, ExamineThumbnailSource(photo).value()));
    const Result<CachedThumbnail> remade = LoadThumbnail(photo, ThumbnailSize::kNormal, root);
    ASSERT_TRUE(remade.ok());
    EXPECT_EQ(remade.value().image.width(), 96);
    EXPECT_EQ(remade.value().source_height, 400);
    EXPECT_EQ(TextsOf(cache_path)["Thumb::MTime"], std::to_string(ExamineThumbnailSource(photo).value().mtime));

    // A file that gives no thumbnail is noted as such, and tried again once it changes.
    const std::string damaged = folder.Write("photos/b.jpg", "\xFF\xD8\xFF\xDB broken");
    const std::string note = FailedThumbnailPath(root, damaged);
    EXPECT_FALSE(LoadThumbnail(damaged, ThumbnailSize::kNormal, root).ok());
    ASSERT_TRUE(ReadCachedThumbnail(note, ExamineThumbnailSource(damaged).value()));
    EXPECT_EQ(ModeOf(root + "/fail"), 0700);
    const std::filesystem::file_time_type noted = std::filesystem::last_write_time(damaged);
    WriteJpeg(folder, "photos/b.jpg", HalfBright(40, 30));
    std::filesystem::last_write_time(damaged, noted);
    EXPECT_FALSE(LoadThumbnail(damaged, ThumbnailSize::kNormal, root).ok());  // not decoded again
    std::filesystem::last_write_time(damaged, noted + std::chrono::seconds(5));
    EXPECT_TRUE(LoadThumbnail(damaged, ThumbnailSize::kNormal, root).ok());

    // Without a cache, thumbnails are made all the same.
    EXPECT_TRUE(LoadThumbnail(photo, ThumbnailSize::kLarge, "").ok());
    EXPECT_FALSE(LoadThumbnail(folder.path() + "missing.jpg", ThumbnailSize::kNormal, root).ok());
}

TEST(Thumbnail, RealFilesUseTheirEmbeddedThumbnailWhenLargeEnough) {
    struct Case {
        const char* file;
        ThumbnailOrigin origin;
        int width, height;                // the thumbnail
        int source_width, source_height;  // the upright picture
        bool stored_sideways;
    };
    constexpr ThumbnailOrigin kExif = ThumbnailOrigin::kExifThumbnail;
    constexpr ThumbnailOrigin kDecoded = ThumbnailOrigin::kDecoded;
    const Case cases[] = {
        {"camera/ii-app1-interop-thumb-long-minolta.jpg", kExif, 128, 96, 1280, 960, false},
        {"camera/mm-app1-nodate-nointerop-thumb-short-nokia-phone.jpg", kExif, 102, 128, 1024, 1280, false},
        // Orientation 6: the thumbnail is turned as the picture is.
        {"camera/ii-app1-orient6-gps-interop-thumb-long-samsung-phone.jpg", kExif, 96, 128, 480, 640, true},
        {"modern/nikon-p7000-orient6.webp", kExif, 96, 128, 2736, 3648, true},
        {"camera/ii-app1-gps-nointerop-nothumb-nikon.jpg", kDecoded, 128, 83, 600, 391, false},
        // A HEIF's decoder turns it whatever the settings say.
        {"modern/galaxy-s24fe-rot90.heic", kDecoded, 128, 59, 4000, 1848, false},
        {"modern/iphone11pro-p3.heic", kDecoded, 96, 128, 3024, 4032, false},
        {"images/png_rgb.png", kDecoded, 7, 5, 7, 5, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string bytes = ReadWholeFile(std::string(PELIMON_TEST_DATA_DIR) + "/" + c.file).value();
        const ByteView view(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        const Result<MadeThumbnail> made = MakeThumbnail(view, 128);
        ASSERT_TRUE(made.ok()) << made.error().message;
        const CachedThumbnail& thumbnail = made.value().thumbnail;
        EXPECT_EQ(made.value().origin, c.origin);
        EXPECT_EQ(thumbnail.image.width(), c.width);
        EXPECT_EQ(thumbnail.image.height(), c.height);
        EXPECT_EQ(thumbnail.source_width, c.source_width);
        EXPECT_EQ(thumbnail.source_height, c.source_height);
        EXPECT_EQ(thumbnail.stored_sideways, c.stored_sideways);
        if (c.origin == kExif) {
            // The embedded thumbnail shows the picture as the decoded pixels do, the same way up.
            const SourceMetadata metadata = ReadSourceMetadata(view, 0);
            Image decoded;
            ASSERT_TRUE(DecodeUpright(view, {}, metadata.Orientation, 0, decoded).ok());
            Image reduced;
            ResizeAreaAverage(decoded, c.width, c.height, reduced);
            EXPECT_LT(MeanDifference(thumbnail.image, reduced), 30.0);
        }
    }
}

TEST(Thumbnail, DamagedFilesAreErrorsNotCrashes) {
    for (const char* file :
         {"modern/bad-nodata.heif", "camera/noexif-dqt-after-soi.jpg", "raw/mei_damaged_signature_only.rw2"}) {
        SCOPED_TRACE(file);
        const std::string bytes = ReadWholeFile(std::string(PELIMON_TEST_DATA_DIR) + "/" + file).value();
        EXPECT_FALSE(MakeThumbnail(ByteView(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), 128).ok());
    }
}

}  // namespace
}  // namespace pelimon
