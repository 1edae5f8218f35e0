#include "app/files_from.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

#include "app/app_texts.h"
#include "common/message.h"
#include "filelist/file_type.h"
#include "filelist/folder_listing.h"

namespace pelimon {
namespace {

namespace fs = std::filesystem;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

Result<std::vector<std::string>> ReadFilesFrom(const std::string& path, bool null_separated) {
    std::unique_ptr<std::FILE, FileCloser> opened;
    std::FILE* file = stdin;
    if (path != "-") {
        opened.reset(std::fopen(path.c_str(), "rb"));
        if (!opened) {
            return Error{Format(app_texts::kFilesFromNotRead, path, std::strerror(errno)), path};
        }
        file = opened.get();
    }
    const char separator = null_separated ? '\0' : '\n';
    std::vector<std::string> names;
    std::string name;
    char buffer[1 << 16];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        for (size_t i = 0; i < got; ++i) {
            if (buffer[i] != separator) {
                name += buffer[i];
            } else if (!name.empty()) {
                names.push_back(std::move(name));
                name.clear();
            }
        }
    }
    if (std::ferror(file)) {
        return Error{Format(app_texts::kFilesFromNotRead, path, std::strerror(errno)), path};
    }
    if (!name.empty()) {
        names.push_back(std::move(name));
    }
    return names;
}

NamedSources ListNamedSources(const std::vector<std::string>& names, const std::string& source_folder,
                              const std::string& output_folder, int32_t rotation, AppSettings& settings) {
    const bool output_inside = output_folder.size() > source_folder.size() && output_folder.starts_with(source_folder);
    settings.ImagePath = source_folder;
    NamedSources sources;
    const fs::path root(source_folder);
    for (const std::string& name : names) {
        const fs::path absolute = (root / name).lexically_normal();  // an absolute name stays itself
        struct stat status {};
        if (stat(absolute.c_str(), &status) != 0) {
            sources.missing.push_back(name);
            continue;
        }
        const std::string text = absolute.string();
        if (!S_ISREG(status.st_mode) || (FileTypeOfName(absolute.filename().string()) & settings.ImageType) == 0 ||
            (output_inside && text.starts_with(output_folder))) {
            continue;
        }
        const bool inside = text.starts_with(source_folder);
        FileRow row{inside ? text.substr(source_folder.size()) : absolute.filename().string(),
                    SizeText(static_cast<uint64_t>(status.st_size)), rotation, true,
                    inside ? source_folder : absolute.parent_path().string() + '/'};
        sources.list.rows().push_back(std::move(row));
    }
    const int rows = static_cast<int>(sources.list.rows().size());
    sources.list.set_file_count(rows);
    sources.list.set_selected_count(rows);
    return sources;
}

}  // namespace pelimon
