#include "tests/faults/fault_test_support.h"

#include <algorithm>
#include <filesystem>

#include "common/atomic_file.h"
#include "imagelib/imagelib.h"

namespace pelimon::test {
namespace {

namespace fs = std::filesystem;

uint32_t LittleEndian32(const std::string& bytes, size_t at) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) {
        value |= uint32_t{static_cast<uint8_t>(bytes[at + i])} << (8 * i);
    }
    return value;
}

// Whether the bytes end where their format says the file ends: a model of each container's end,
// independent of the program's codecs (a HEIF file, whose boxes may come in any order, must decode).
std::string TruncationProblem(ImageFormat format, const std::string& bytes) {
    static const std::string kPngEnd("\0\0\0\0IEND\xAE\x42\x60\x82", 12);
    const auto decodes = [](const std::string& file) {
        return DecodeImage(ByteView(reinterpret_cast<const uint8_t*>(file.data()), file.size())).ok();
    };
    struct End {
        ImageFormat format;
        bool (*ends)(const std::string& file);
        const char* problem;
    };
    static const End kEnds[] = {
        {ImageFormat::kJpeg, [](const std::string& file) { return file.ends_with("\xFF\xD9"); },
         "no end-of-image marker"},
        {ImageFormat::kPng, [](const std::string& file) { return file.ends_with(kPngEnd); },
         "no IEND chunk at the end"},
        {ImageFormat::kGif, [](const std::string& file) { return file.ends_with(";"); }, "no GIF trailer"},
        {ImageFormat::kBmp,
         [](const std::string& file) { return file.size() >= 6 && LittleEndian32(file, 2) == file.size(); },
         "BMP file size mismatch"},
        // The RIFF size counts the bytes after its first 8.
        {ImageFormat::kWebp,
         [](const std::string& file) { return file.size() >= 8 && LittleEndian32(file, 4) + 8 == file.size(); },
         "RIFF size mismatch"},
        {ImageFormat::kHeif, decodes, "HEIF does not decode"},
        {ImageFormat::kAvif, decodes, "HEIF does not decode"},
    };
    for (const End& end : kEnds) {
        if (end.format == format) {
            return end.ends(bytes) ? "" : end.problem;
        }
    }
    return "not an image";
}

}  // namespace

std::string SettingsText(const std::string& output_path, const std::string& extra) {
    return "[General]\nImageType=15\nOutputPath=" + output_path +
           "\n[ImageSize]\nBase=4\nMethod=2\nAspect=0\nWidthRatio=50\nHeightRatio=50\n"
           "[Option]\nNameRule=1\nAddText=_s\nFileType=1\n" +
           extra;
}

PelimonRunTest::PelimonRunTest() : src(scratch / "src/"), ini(scratch / "pelimon.ini") {
    fs::create_directories(src);
}

ProcessResult PelimonRunTest::Pelimon(const std::vector<std::string>& args) const {
    return RunPelimon(args, ini, scratch / "stderr.txt");
}

std::string NumberedName(const std::string& stem, int i, const std::string& tail) {
    std::string name = stem;
    name += std::to_string(i);
    name += tail;
    return name;
}

std::vector<std::string> TemporaryFilesIn(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.find(kTempFileMarker) != std::string::npos) {
            names.push_back(name);
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string IncompleteImageProblem(const std::string& path) {
    const std::string bytes = ReadText(path);
    const std::span<const uint8_t> view(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    const Result<Image> decoded = DecodeImage(view);
    if (!decoded.ok()) {
        return "does not decode: " + decoded.error().message;
    }
    return TruncationProblem(SniffFormat(view), bytes);
}

std::vector<std::string> IncompleteImagesIn(const std::string& folder) {
    std::vector<std::string> problems;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (!it->is_regular_file()) {
            continue;
        }
        if (const std::string problem = IncompleteImageProblem(it->path().string()); !problem.empty()) {
            problems.push_back(it->path().filename().string() + ": " + problem);
        }
    }
    std::sort(problems.begin(), problems.end());
    return problems;
}

}  // namespace pelimon::test
