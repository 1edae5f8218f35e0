#include "filelist/folder_listing.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>

#include "common/text.h"

namespace pelimon {
namespace {

namespace fs = std::filesystem;

// Size of a regular file (links followed); nullopt for anything else or when it cannot be read.
std::optional<uint64_t> RegularFileSize(const fs::path& path) {
    std::error_code error;
    if (!fs::is_regular_file(path, error)) {
        return std::nullopt;
    }
    const uintmax_t size = fs::file_size(path, error);
    if (error) {
        return std::nullopt;
    }
    return static_cast<uint64_t>(size);
}

bool NameOrderLess(const FolderEntry& a, const FolderEntry& b) {
    const std::string fold_a = ToLowerAscii(a.name);
    const std::string fold_b = ToLowerAscii(b.name);
    if (fold_a != fold_b) {
        return fold_a < fold_b;
    }
    return a.name < b.name;
}

}  // namespace

std::vector<FolderEntry> ListFolderEntries(const std::string& folder) {
    std::vector<FolderEntry> entries;
    std::error_code error;
    fs::directory_iterator it(folder, error);
    if (error) {
        return entries;
    }
    for (const fs::directory_iterator end; it != end && !error; it.increment(error)) {
        std::string name = it->path().filename().string();
        if (name.starts_with('.')) {
            continue;
        }
        if (std::optional<uint64_t> size = RegularFileSize(it->path())) {
            entries.push_back({std::move(name), *size});
        }
    }
    // An error part-way through (a folder removed while it is read) ends the listing with what
    // was read so far.
    std::sort(entries.begin(), entries.end(), NameOrderLess);
    return entries;
}

std::vector<FolderEntry> ListNamedEntry(const std::string& folder, const std::string& name) {
    if (name.empty()) {
        return {};
    }
    if (std::optional<uint64_t> size = RegularFileSize(fs::path(folder) / name)) {
        return {{name, *size}};
    }
    return {};
}

std::string SizeText(uint64_t bytes) {
    return std::to_string(bytes >> 10) + " KB";
}

}  // namespace pelimon
