#include "filelist/folder_listing.h"

#include <algorithm>
#include <filesystem>
#include <iterator>
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

bool NameLess(const std::string& a, const std::string& b) {
    const std::string fold_a = ToLowerAscii(a);
    const std::string fold_b = ToLowerAscii(b);
    if (fold_a != fold_b) {
        return fold_a < fold_b;
    }
    return a < b;
}

bool NameOrderLess(const FolderEntry& a, const FolderEntry& b) {
    return NameLess(a.name, b.name);
}

struct FolderRead {
    std::vector<FolderEntry> files;  // in name order
    bool failed = false;             // the folder could not be opened or read to its end
};

// The visible regular files of `folder` and, when `subfolders` is given, the names of its visible
// subfolders that are real folders, not symbolic links (both in name order).
FolderRead ReadFolder(const fs::path& folder, std::vector<std::string>* subfolders) {
    FolderRead read;
    std::error_code error;
    fs::directory_iterator it(folder, error);
    for (const fs::directory_iterator end; !error && it != end; it.increment(error)) {
        std::string name = it->path().filename().string();
        if (name.starts_with('.')) {
            continue;
        }
        std::error_code type_error;
        if (subfolders != nullptr && it->is_directory(type_error) && !it->is_symlink(type_error)) {
            subfolders->push_back(std::move(name));
        } else if (std::optional<uint64_t> size = RegularFileSize(it->path())) {
            read.files.push_back({std::move(name), *size});
        }
    }
    // An error part-way through (a folder removed while it is read) ends its listing with what
    // was read so far.
    read.failed = static_cast<bool>(error);
    std::sort(read.files.begin(), read.files.end(), NameOrderLess);
    if (subfolders != nullptr) {
        std::sort(subfolders->begin(), subfolders->end(), NameLess);
    }
    return read;
}

// A folder path as the file system resolves it, without a final '/', for comparing folders.
std::string ComparablePath(const std::string& folder) {
    std::error_code error;
    fs::path resolved = fs::weakly_canonical(folder, error);
    if (error) {
        resolved = fs::path(folder).lexically_normal();
    }
    std::string text = resolved.string();
    while (text.size() > 1 && text.back() == '/') {
        text.pop_back();
    }
    return text;
}

}  // namespace

std::vector<FolderEntry> ListFolderEntries(const std::string& folder) {
    return ReadFolder(folder, nullptr).files;
}

void WalkFolderTree(const std::string& folder, const std::string& skipped,
                    const std::function<bool(FolderTree& part)>& part) {
    const std::string skipped_path = skipped.empty() ? std::string() : ComparablePath(skipped);
    const std::string root = ComparablePath(folder);
    // Folders still to read, the next one at the back: (path, prefix of its entries' names).
    std::vector<std::pair<fs::path, std::string>> pending{{fs::path(folder), std::string()}};
    bool is_root = true;
    while (!pending.empty()) {
        auto [path, prefix] = std::move(pending.back());
        pending.pop_back();
        std::vector<std::string> subfolders;
        FolderRead read = ReadFolder(path, &subfolders);
        FolderTree listed;
        if (read.failed && !is_root) {
            listed.unreadable.push_back(path.string());
        }
        is_root = false;
        for (FolderEntry& entry : read.files) {
            entry.name = prefix + entry.name;
            listed.entries.push_back(std::move(entry));
        }
        // Pushed in reverse so that the first in name order is read next.
        for (auto it = subfolders.rbegin(); it != subfolders.rend(); ++it) {
            const fs::path subfolder = path / *it;
            const std::string comparable = ComparablePath(subfolder.string());
            if (comparable == skipped_path && comparable != root) {
                continue;
            }
            pending.emplace_back(subfolder, prefix + *it + '/');
        }
        if (!part(listed)) {
            return;
        }
    }
}

FolderTree ListFolderTree(const std::string& folder, const std::string& skipped) {
    FolderTree tree;
    WalkFolderTree(folder, skipped, [&tree](FolderTree& part) {
        std::move(part.entries.begin(), part.entries.end(), std::back_inserter(tree.entries));
        std::move(part.unreadable.begin(), part.unreadable.end(), std::back_inserter(tree.unreadable));
        return true;
    });
    return tree;
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
