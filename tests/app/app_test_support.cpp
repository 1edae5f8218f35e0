#include "tests/app/app_test_support.h"

#include <algorithm>
#include <filesystem>

#include "imagelib/imagelib.h"

namespace pelimon::test {
namespace {

namespace fs = std::filesystem;

Image Gradient(int width, int height) {
    Image image(width, height);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = image.row(y);
        for (int x = 0; x < width; ++x) {
            row[3 * x] = static_cast<uint8_t>(x * 255 / std::max(1, width - 1));
            row[3 * x + 1] = static_cast<uint8_t>(y * 255 / std::max(1, height - 1));
            row[3 * x + 2] = 128;
        }
    }
    return image;
}

void WriteEncoded(const std::string& path, const Result<Bytes>& bytes) {
    if (bytes) {
        WriteBytes(path, std::string_view(reinterpret_cast<const char*>(bytes.value().data()), bytes.value().size()));
    }
}

}  // namespace

void WriteSizedFile(const std::string& path, uint64_t size) {
    WriteBytes(path, std::string(size, '\0'));
}

void WriteJpeg(const std::string& path, int width, int height) {
    WriteEncoded(path, EncodeJpeg(Gradient(width, height), {.quality = 90}));
}

void WritePng(const std::string& path, int width, int height) {
    WriteEncoded(path, EncodePng(Gradient(width, height)));
}

std::vector<std::string> FileNames(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (it->is_regular_file()) {
            names.push_back(it->path().filename().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace pelimon::test
