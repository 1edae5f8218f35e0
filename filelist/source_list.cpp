#include "filelist/source_list.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <set>
#include <system_error>
#include <utility>

#include "filelist/file_type.h"
#include "filelist/filelist_texts.h"
#include "filelist/folder_listing.h"
#include "settings/output_folder_path.h"

namespace pelimon {
namespace {

namespace fs = std::filesystem;

std::string WithTrailingSlash(std::string folder) {
    if (!folder.empty() && folder.back() != '/') {
        folder += '/';
    }
    return folder;
}

// Relative paths (from a terminal or a parameter file) are resolved once, here, so that the
// source folder, ImagePath and the settings file never hold a path that depends on where the
// program happened to be started.
fs::path AbsolutePath(const std::string& path) {
    std::error_code error;
    fs::path absolute = fs::absolute(path, error);
    if (error) {
        return fs::path(path);
    }
    return absolute.lexically_normal();
}

// Whether the file at `path` (a name, or a path from the source folder) is of a type the filter
// lets through.
bool TypeIsListed(const std::string& path, const AppSettings& settings) {
    return (FileTypeOfName(NameWithoutFolders(path)) & settings.ImageType) != 0;
}

// More than one folder among the paths, files of more than one folder, or files beside a folder.
bool NamesSeveralPlaces(const std::vector<std::string>& paths) {
    std::set<std::string> file_folders;
    int folders = 0;
    for (const std::string& path : paths) {
        const fs::path absolute = AbsolutePath(path);
        std::error_code error;
        const fs::file_status status = fs::status(absolute, error);
        if (fs::is_directory(status)) {
            ++folders;
        } else if (fs::is_regular_file(status)) {
            file_folders.insert(absolute.parent_path().string());
        }
    }
    return folders > 1 || file_folders.size() > 1 || (folders == 1 && !file_folders.empty());
}

}  // namespace

std::string OutputFolderInside(const std::string& folder, const AppSettings& settings) {
    AppSettings from_folder = settings;
    from_folder.ImagePath = WithTrailingSlash(folder);
    const std::optional<OutputFolderPlan> plan = OutputFolderOf(from_folder, TodayDateText());
    return plan ? plan->folder : std::string();
}

int SourceList::ListSourceFiles(const std::string& folder, std::string_view name, int rotation,
                                const AppSettings& settings) {
    if (folder.empty()) {
        return 0;
    }
    // A folder typed without its final '/' is that folder. (Joining the text and the pattern
    // directly, as the Windows original did, would list the parent's files whose names begin
    // with the folder's name.)
    const std::string folder_path = WithTrailingSlash(folder);
    std::vector<FolderEntry> entries;
    if (!name.empty()) {
        entries = ListNamedEntry(folder_path, std::string(name));
    } else if (settings.Recurse == kOn) {
        FolderTree tree = ListFolderTree(folder_path, OutputFolderInside(folder_path, settings));
        entries = std::move(tree.entries);
        unreadable_folders_ = std::move(tree.unreadable);
    } else {
        entries = ListFolderEntries(folder_path);
    }

    const int turned = rotation / 90 * 90;
    std::vector<FileRow>& rows = list_.rows();
    int added = 0;
    for (const FolderEntry& entry : entries) {
        if (!TypeIsListed(entry.name, settings)) {
            continue;
        }
        FileRow row{entry.name, SizeText(entry.size), turned, settings.Select == kSelectChecked};
        rows.insert(rows.begin() + added, std::move(row));
        ++added;
    }
    SyncCounts();
    return added;
}

void SourceList::SetFolderText(const std::string& text, AppSettings& settings) {
    folder_text_ = text;
    if (!single_file_mode_) {
        list_.Clear();
        unreadable_folders_.clear();
        ListSourceFiles(text, {}, 0, settings);
    }
    SyncCounts();
    settings.ImagePath = WithTrailingSlash(text);
}

void SourceList::UseFolder(const std::string& folder, AppSettings& settings) {
    single_file_mode_ = false;
    SetFolderText(folder, settings);
}

void SourceList::ChangeTypeFilter(int filter, AppSettings& settings) {
    settings.ImageType = filter;
    list_.Clear();
    unreadable_folders_.clear();
    ListSourceFiles(folder_text_, {}, 0, settings);
}

void SourceList::AddSourcePath(const std::string& path, int rotation, AppSettings& settings) {
    const fs::path absolute = AbsolutePath(path);
    std::error_code error;
    const fs::file_status status = fs::status(absolute, error);
    if (fs::is_directory(status) || !fs::exists(status) || error) {
        single_file_mode_ = false;
        SetFolderText(WithTrailingSlash(absolute.string()), settings);
        return;
    }
    single_file_mode_ = true;
    const std::string folder = WithTrailingSlash(absolute.parent_path().string());
    SetFolderText(folder, settings);
    ListSourceFiles(folder, absolute.filename().string(), rotation, settings);
}

void SourceList::ReplaceWithPaths(const std::vector<std::string>& paths, AppSettings& settings) {
    list_.Clear();
    several_places_ = NamesSeveralPlaces(paths);
    if (several_places_) {
        ListSeveralPlaces(paths, settings);
        return;
    }
    for (const std::string& path : paths) {
        AddSourcePath(path, 0, settings);
    }
}

void SourceList::ListSeveralPlaces(const std::vector<std::string>& paths, AppSettings& settings) {
    unreadable_folders_.clear();
    single_file_mode_ = true;
    bool first = true;
    for (const std::string& path : paths) {
        const fs::path absolute = AbsolutePath(path);
        std::error_code error;
        const bool folder = fs::is_directory(absolute, error);
        const std::string folder_path = WithTrailingSlash((folder ? absolute : absolute.parent_path()).string());
        if (std::exchange(first, false)) {
            SetFolderText(folder_path, settings);
        }
        std::vector<FolderEntry> entries;
        if (!folder) {
            entries = ListNamedEntry(folder_path, absolute.filename().string());
        } else if (settings.Recurse == kOn) {
            FolderTree tree = ListFolderTree(folder_path, OutputFolderInside(folder_path, settings));
            entries = std::move(tree.entries);
            unreadable_folders_.insert(unreadable_folders_.end(), tree.unreadable.begin(), tree.unreadable.end());
        } else {
            entries = ListFolderEntries(folder_path);
        }
        for (const FolderEntry& entry : entries) {
            if (TypeIsListed(entry.name, settings)) {
                list_.rows().push_back(
                    {entry.name, SizeText(entry.size), 0, settings.Select == kSelectChecked, folder_path});
            }
        }
    }
    SyncCounts();
}

int SourceList::CountListable(const FolderTree& part, const AppSettings& settings) {
    return static_cast<int>(
        std::count_if(part.entries.begin(), part.entries.end(),
                      [&settings](const FolderEntry& entry) { return TypeIsListed(entry.name, settings); }));
}

int SourceList::AppendListedPart(const FolderTree& part, const AppSettings& settings) {
    int added = 0;
    for (const FolderEntry& entry : part.entries) {
        if (TypeIsListed(entry.name, settings)) {
            list_.rows().push_back({entry.name, SizeText(entry.size), 0, settings.Select == kSelectChecked});
            ++added;
        }
    }
    unreadable_folders_.insert(unreadable_folders_.end(), part.unreadable.begin(), part.unreadable.end());
    SyncCounts();
    return added;
}

void SourceList::DropSubfolderRows() {
    std::erase_if(list_.rows(), [](const FileRow& row) { return !row.subfolder().empty(); });
    unreadable_folders_.clear();
    SyncCounts();
}

void SourceList::ToggleSelectAll(AppSettings& settings) {
    settings.Select = settings.Select == kSelectChecked ? kSelectUnchecked : kSelectChecked;
    for (FileRow& row : list_.rows()) {
        row.checked = settings.Select == kSelectChecked;
    }
    SyncCounts();
}

void SourceList::RecountSelected() {
    SyncCounts();
}

int SourceList::CountSelected() const {
    const std::vector<FileRow>& rows = list_.rows();
    int selected = 0;
    for (int i = 0; i < list_.file_count() && i < static_cast<int>(rows.size()); ++i) {
        if (rows[static_cast<size_t>(i)].checked) {
            ++selected;
        }
    }
    return selected;
}

std::string SourceList::FileCountText() const {
    return filelist_texts::FileCount(list_.selected_count(), list_.file_count());
}

void SourceList::SyncCounts() {
    list_.set_file_count(static_cast<int>(list_.rows().size()));
    list_.set_selected_count(CountSelected());
}

}  // namespace pelimon
