// The source list model: what the main window shows of the source folder and what a batch reads.
// Qt-free. The window is a view of it: its source folder box, type boxes, count label and list
// view call these operations and then redraw from list(), folder_text() and FileCountText().
//
// Invariant after every operation: the file count is the number of rows and the selected count
// the number of checked rows, so the count label and the batch always agree with what is listed.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "filelist/file_list.h"
#include "filelist/folder_listing.h"
#include "settings/app_settings.h"

namespace pelimon {

// The output folder that a run from `folder` would write into, which a listing of its tree leaves
// out (it holds outputs, not sources); empty when there is none.
std::string OutputFolderInside(const std::string& folder, const AppSettings& settings);

class SourceList {
  public:
    // The list starts empty, and so does the folder text (the window puts ImagePath into it with
    // SetFolderText). The type filter is settings.ImageType, read at every listing: whatever sets
    // ImageType (a type box, Defaults, a parameter file) sets the filter the window's boxes show.
    SourceList() = default;

    const FileList& list() const { return list_; }
    // For the window's own edits of check marks and rotations; call RecountSelected afterwards.
    FileList& list() { return list_; }
    bool single_file_mode() const { return single_file_mode_; }
    // The source folder box's text, as the window should show it.
    const std::string& folder_text() const { return folder_text_; }

    // Inserts the files of `folder` whose type is one of settings.ImageType above the existing rows,
    // in name order, each at `rotation` (truncated to a multiple of 90) and checked when
    // settings.Select is 1. An empty `name` takes every visible file of the folder (see
    // ListFolderEntries), and with settings.Recurse on those of its subfolders too, named by their
    // path from the folder (ListFolderTree, leaving out the output folder the settings give);
    // otherwise only the file of that exact name. `folder` is a folder
    // whether or not it ends with '/'; an empty text lists nothing. Returns the rows added.
    int ListSourceFiles(const std::string& folder, std::string_view name, int rotation, const AppSettings& settings);

    // The source folder box changed (typed, or set by the program). Unless single-file mode is on,
    // the list becomes the listing of `text`. ImagePath := `text` with a '/' appended when it has
    // none (empty stays empty), so that the batch finds the files listed.
    void SetFolderText(const std::string& text, AppSettings& settings);

    // A folder chosen by browsing or a special-folder command: leaves single-file mode, then as
    // SetFolderText.
    void UseFolder(const std::string& folder, AppSettings& settings);

    // A type box changed the filter (the window has already asked its confirmation): ImageType
    // becomes `filter` and the folder in the box is listed again, rotations at 0. Lists even in
    // single-file mode.
    void ChangeTypeFilter(int filter, AppSettings& settings);

    // A dropped or named path. A relative path is taken from the current directory. A folder, or
    // a path that does not exist or cannot be examined, becomes the source folder (single-file
    // mode off). A file sets single-file mode, makes its folder the source folder without listing
    // it, and is inserted in row 0, above the rows added before it, if its type is one of
    // settings.ImageType.
    void AddSourcePath(const std::string& path, int rotation, AppSettings& settings);

    // Empties the list, then AddSourcePath for each path in order, at rotation 0. What a drop and
    // a command line of paths do. Paths of several places (two folders or more, files of two
    // folders or more, or files beside a folder: a file manager's selection) are all listed
    // instead, in the order given: each row keeps its own folder (FileRow::folder), a folder gives
    // its files (with settings.Recurse on, its tree, named by paths from it), single-file mode is on
    // and the source folder is that of the first path.
    void ReplaceWithPaths(const std::vector<std::string>& paths, AppSettings& settings);

    // Whether the last ReplaceWithPaths listed several places (rows with folders of their own).
    bool several_places() const { return several_places_; }

    // Empties the list (both counts 0).
    void Clear() { list_.Clear(); }

    // The select-all button: inverts settings.Select, then checks every row (Select 1) or
    // unchecks every row (Select 0).
    void ToggleSelectAll(AppSettings& settings);

    // A row's check mark changed: the selected count is counted again.
    void RecountSelected();

    // Checked rows among the first file-count rows.
    int CountSelected() const;

    // The count label: "（selected/files）".
    std::string FileCountText() const;

    // A part of a tree listed elsewhere (WalkFolderTree): its files whose type is one of
    // settings.ImageType are appended below the existing rows, at rotation 0 and checked when
    // settings.Select is 1; its unreadable folders are noted. Returns the rows added.
    int AppendListedPart(const FolderTree& part, const AppSettings& settings);
    // The rows AppendListedPart would add.
    static int CountListable(const FolderTree& part, const AppSettings& settings);

    // Leaves the rows of the source folder's own files: those of its subfolders go.
    void DropSubfolderRows();

    // The subfolders that the last listing of a tree could not read.
    const std::vector<std::string>& unreadable_folders() const { return unreadable_folders_; }

  private:
    void SyncCounts();
    void ListSeveralPlaces(const std::vector<std::string>& paths, AppSettings& settings);

    FileList list_;
    bool single_file_mode_ = false;
    bool several_places_ = false;
    std::string folder_text_;
    std::vector<std::string> unreadable_folders_;
};

}  // namespace pelimon
