#include "batch_test_support.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "exif/output_metadata.h"
#include "exif/source_metadata.h"
#include "imagelib/format_table.h"
#include "imagelib/imagelib.h"

namespace pelimon::test {
namespace {

void PutBig16(std::vector<uint8_t>& out, unsigned value) {
    out.push_back(static_cast<uint8_t>(value >> 8));
    out.push_back(static_cast<uint8_t>(value));
}

void PutBig32(std::vector<uint8_t>& out, unsigned value) {
    PutBig16(out, value >> 16);
    PutBig16(out, value & 0xFFFF);
}

void PutEntry(std::vector<uint8_t>& out, unsigned tag, unsigned type, unsigned count, unsigned value) {
    PutBig16(out, tag);
    PutBig16(out, type);
    PutBig32(out, count);
    if (type == 3) {
        PutBig16(out, value);
        PutBig16(out, 0);
    } else {
        PutBig32(out, value);
    }
}

// A big-endian Exif APP1 segment: IFD0 with Orientation and the Exif IFD pointer; the Exif IFD
// with DateTimeOriginal, PixelXDimension and PixelYDimension.
std::vector<uint8_t> MakeExifSegment(int orientation, const std::string& date, int width, int height) {
    constexpr unsigned kIfd0 = 8;
    constexpr unsigned kSubIfd = kIfd0 + 2 + 2 * 12 + 4;
    constexpr unsigned kDateText = kSubIfd + 2 + 3 * 12 + 4;
    std::vector<uint8_t> tiff = {'M', 'M', 0, 42};
    PutBig32(tiff, kIfd0);
    PutBig16(tiff, 2);
    PutEntry(tiff, 0x0112, 3, 1, static_cast<unsigned>(orientation));
    PutEntry(tiff, 0x8769, 4, 1, kSubIfd);
    PutBig32(tiff, 0);
    PutBig16(tiff, 3);
    PutEntry(tiff, 0x9003, 2, 20, kDateText);
    PutEntry(tiff, 0xA002, 4, 1, static_cast<unsigned>(width));
    PutEntry(tiff, 0xA003, 4, 1, static_cast<unsigned>(height));
    PutBig32(tiff, 0);
    std::string text = date.empty() ? std::string("2007:05:02 14:03:09") : date;
    text.resize(19, ' ');
    tiff.insert(tiff.end(), text.begin(), text.end());
    tiff.push_back(0);

    std::vector<uint8_t> segment = {0xFF, 0xE1};
    PutBig16(segment, static_cast<unsigned>(2 + 6 + tiff.size()));
    const char header[] = {'E', 'x', 'i', 'f', 0, 0};
    segment.insert(segment.end(), std::begin(header), std::end(header));
    segment.insert(segment.end(), tiff.begin(), tiff.end());
    return segment;
}

void WriteVector(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << path;
}

}  // namespace

AppSettings BatchSettings(const std::string& source_folder) {
    AppSettings settings;
    settings.ImagePath = source_folder;
    settings.OutputPath = "out";
    settings.NameRule = 1;
    settings.AddText = "_s";
    return settings;
}

Image MakeTestImage(int width, int height, int seed) {
    Image image(width, height);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = image.row(y);
        for (int x = 0; x < width; ++x) {
            const int checker = ((x / 7 + y / 5 + seed) % 2) * 40;
            row[3 * x] = static_cast<uint8_t>((x * 255 / std::max(1, width - 1) + checker) % 256);
            row[3 * x + 1] = static_cast<uint8_t>((y * 255 / std::max(1, height - 1) + seed * 37) % 256);
            row[3 * x + 2] = static_cast<uint8_t>(((x + y) * 3 + checker + seed * 11) % 256);
        }
    }
    return image;
}

void WriteImageFile(const std::string& path, const Image& image) {
    const std::string extension = std::filesystem::path(path).extension().string();
    const FormatRow* format = FormatOfName("image" + extension);
    const FormatRow& written = format != nullptr && format->Written() ? *format : FormatRowOf(ImageFormat::kBmp);
    Result<Bytes> encoded = written.encode(image, {.quality = 92});
    ASSERT_TRUE(encoded.ok());
    WriteVector(path, encoded.value());
}

void WriteJpegWithExif(const std::string& path, const Image& image, int orientation,
                       const std::string& date_time_original) {
    SourceMetadata source;
    source.exif_segment = MakeExifSegment(orientation, date_time_original, image.width(), image.height());
    MetadataTransfer transfer;
    transfer.keep_exif = true;
    transfer.output_width = image.width();
    transfer.output_height = image.height();
    const OutputMetadata metadata = BuildOutputMetadata(source, transfer);
    Result<Bytes> encoded = EncodeJpeg(image, {.quality = 92, .metadata = BlocksOf(metadata)});
    ASSERT_TRUE(encoded.ok());
    WriteVector(path, encoded.value());
}

std::vector<std::string> ListFolder(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::time_t LocalTimeOf(const std::string& exif_date) {
    std::tm time{};
    EXPECT_EQ(std::sscanf(exif_date.c_str(), "%d:%d:%d %d:%d:%d", &time.tm_year, &time.tm_mon, &time.tm_mday,
                          &time.tm_hour, &time.tm_min, &time.tm_sec),
              6);
    time.tm_year -= 1900;
    time.tm_mon -= 1;
    time.tm_isdst = -1;
    return std::mktime(&time);
}

std::time_t ModificationTime(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? info.st_mtime : -1;
}

}  // namespace pelimon::test
