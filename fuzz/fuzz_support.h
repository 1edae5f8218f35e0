// Helpers shared by the fuzz targets: a scratch folder in memory for the parsers that take a
// path, and the abort that turns a broken invariant into a finding.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <string_view>

#include "imagelib/imagelib.h"

namespace pelimon::fuzz {

// A private folder under /dev/shm (the system's temporary folder when /dev/shm is missing),
// created once per process and removed when the process ends normally. Files written there
// never touch the disk, so a target that must pass a path stays fast.
class ScratchFolder {
  public:
    ScratchFolder() {
        std::error_code error;
        const std::filesystem::path base =
            std::filesystem::is_directory("/dev/shm", error) ? "/dev/shm" : std::filesystem::temp_directory_path();
        std::string pattern = (base / "pelimon-fuzz-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::perror("pelimon fuzz: mkdtemp");
            std::abort();
        }
        path_ = pattern;
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ~ScratchFolder() {
        std::error_code error;
        std::filesystem::remove_all(path_, error);
    }

    // The path of `name` inside the folder.
    std::string File(std::string_view name) const { return (path_ / name).string(); }

    // Replaces the file `name` with `bytes` and returns its path.
    std::string Write(std::string_view name, std::span<const uint8_t> bytes) const {
        const std::string file = File(name);
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::perror("pelimon fuzz: cannot write the scratch file");
            std::abort();
        }
        return file;
    }

  private:
    std::filesystem::path path_;
};

// Stops the run with a message when an invariant does not hold, so that libFuzzer keeps the
// input as a crash.
inline void Expect(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "pelimon fuzz: invariant broken: %s\n", what);
        std::abort();
    }
}

// The bytes as text (an XMP packet).
inline std::string_view AsText(std::span<const uint8_t> bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// DecodeImage with the invariants every decoder keeps: a failed decode leaves the image empty, a
// decoded one has pixels, 3 bytes each. True when the input decoded.
inline bool DecodeChecked(std::span<const uint8_t> bytes, const DecodeOptions& options, Image& image) {
    if (!DecodeImage(bytes, options, image)) {
        Expect(image.empty(), "a failed decode leaves the image empty");
        return false;
    }
    Expect(!image.empty(), "a decoded image has pixels");
    Expect(image.size_bytes() == static_cast<size_t>(image.width()) * static_cast<size_t>(image.height()) * 3,
           "a decoded image holds 3 bytes per pixel");
    return true;
}

}  // namespace pelimon::fuzz
