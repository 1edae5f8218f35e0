// Reading a folder for the source list: which files it holds, in the order the list shows them.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace pelimon {

struct FolderEntry {
    std::string name;   // file name without folder
    uint64_t size = 0;  // bytes
};

// The regular files of `folder` (symbolic links followed), sorted by name case-insensitively
// (ASCII folding, ties broken by the exact bytes so the order never depends on the file system).
// Sub-folders, devices, pipes and sockets are left out: none of them is an image a batch could
// read, and opening a pipe would block. Hidden files (names beginning with '.') are left out as
// the desktop's file managers do; this also keeps the batch's own temporary files off the list.
// A folder that does not exist or cannot be read gives an empty list.
std::vector<FolderEntry> ListFolderEntries(const std::string& folder);

struct FolderTree {
    // Names relative to the listed folder ("2026/kyoto/a.heic"): the folder's own files in name
    // order, then each subfolder's tree in name order.
    std::vector<FolderEntry> entries;
    std::vector<std::string> unreadable;  // subfolders that could not be read, as paths
};

// The files of `folder` and of its subfolders at any depth, each folder's files as
// ListFolderEntries gives them. Hidden folders are left out, and so is `skipped` (the output
// folder, when it lies inside the listed one) with everything below it; symbolic links to folders
// are not followed, so a link back up the tree cannot make the listing endless; links to files
// are. A subfolder that cannot be read is noted in `unreadable` and the rest is listed.
FolderTree ListFolderTree(const std::string& folder, const std::string& skipped);

// The same listing, handed over folder by folder as it is read: `part` is called once per folder
// (the listed folder first) with that folder's entries and, when it could not be read, its path in
// `unreadable`; returning false stops the walk. For listing big trees while the window stays live.
void WalkFolderTree(const std::string& folder, const std::string& skipped,
                    const std::function<bool(FolderTree& part)>& part);

// The one file `folder`/`name` when it is a regular file (hidden or not: it was named), else
// nothing.
std::vector<FolderEntry> ListNamedEntry(const std::string& folder, const std::string& name);

// The list's size column: the size in kilobytes, truncated ("1 KB" for 1,535 bytes).
std::string SizeText(uint64_t bytes);

}  // namespace pelimon
