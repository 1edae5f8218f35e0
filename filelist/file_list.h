// The source file list: the rows the main window shows and a batch reads. Qt-free.
// A row is one file of the source folder: its name, its size text, its rotation and whether it
// is checked (selected for the batch). The file count and the selected count are kept as the
// listing and the command line set them, as the window's count label shows them.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace pelimon {

// The part of a path after its last '/': "a.heic" of "2026/kyoto/a.heic".
inline std::string NameWithoutFolders(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

struct FileRow {
    FileRow() = default;
    // Rows are made as {name, size text, rotation, checked} and, rarely, with their own folder.
    FileRow(std::string file_name, std::string size, int turn = 0, bool check = false, std::string own_folder = {})
        : name(std::move(file_name)),
          size_text(std::move(size)),
          rotation(turn),
          checked(check),
          folder(std::move(own_folder)) {}

    // The file's name; for a file of a subfolder of the source folder (a listing with Recurse on)
    // its path relative to that folder, "2026/kyoto/a.heic".
    std::string name;
    std::string size_text;  // "<kilobytes> KB"
    int rotation = 0;       // 0, 90, 180 or 270 (clockwise)
    bool checked = false;
    // The folder the file is in, ending with '/', when it is not the source folder (ImagePath):
    // command-line runs that name files of several folders. Empty: the source folder.
    std::string folder;

    // The name without the subfolders: "a.heic".
    std::string file_name() const { return NameWithoutFolders(name); }
    // The subfolders of the name, ending with '/': "2026/kyoto/"; empty for a file of the folder itself.
    std::string subfolder() const { return name.substr(0, name.size() - file_name().size()); }
};

class FileList {
  public:
    std::vector<FileRow>& rows() { return rows_; }
    const std::vector<FileRow>& rows() const { return rows_; }

    // Empties the list; both counts become 0.
    void Clear() {
        rows_.clear();
        file_count_ = 0;
        selected_count_ = 0;
    }

    int file_count() const { return file_count_; }
    int selected_count() const { return selected_count_; }
    void set_file_count(int count) { file_count_ = count; }
    void set_selected_count(int count) { selected_count_ = count; }

  private:
    std::vector<FileRow> rows_;
    int file_count_ = 0;
    int selected_count_ = 0;
};

}  // namespace pelimon
