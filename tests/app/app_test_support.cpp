#include "tests/app/app_test_support.h"

#include <stdlib.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "imagelib/imagelib.h"

namespace pelimon::testing {
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

TempFolder::TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "pelimon-app-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) {
        path_ = pattern;
    }
}

TempFolder::~TempFolder() {
    std::error_code error;
    fs::remove_all(path_, error);
}

std::string TempFolder::Path(std::string_view relative) const {
    const fs::path path = fs::path(path_) / relative;
    std::error_code error;
    fs::create_directories(path.parent_path(), error);
    return path.string();
}

void WriteBytes(const std::string& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

void WriteSizedFile(const std::string& path, uint64_t size) {
    WriteBytes(path, std::string(size, '\0'));
}

void WriteJpeg(const std::string& path, int width, int height) {
    WriteEncoded(path, EncodeJpeg(Gradient(width, height), 90));
}

void WritePng(const std::string& path, int width, int height) {
    WriteEncoded(path, EncodePng(Gradient(width, height)));
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
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

}  // namespace pelimon::testing
