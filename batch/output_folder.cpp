#include "batch/output_folder.h"

#include <sys/statvfs.h>
#include <unistd.h>

#include <filesystem>

#include "batch/batch_texts.h"

namespace pelimon {

namespace t = batch_texts;

namespace {

namespace fs = std::filesystem;

bool IsWritableFolder(const fs::path& folder) {
    struct statvfs info {};
    if (statvfs(folder.c_str(), &info) == 0 && (info.f_flag & ST_RDONLY) != 0) {
        return false;
    }
    return access(folder.c_str(), W_OK | X_OK) == 0;
}

}  // namespace

Result<OutputFolderPlan> ResolveOutputFolder(const AppSettings& settings, const std::string& today) {
    if (std::optional<OutputFolderPlan> plan = OutputFolderOf(settings, today)) {
        return *std::move(plan);
    }
    const std::string out = settings.Resize == kResizeDatedFolder ? "resize" + today : settings.OutputPath;
    return Error{t::NoSourceFolder(out).text, out};
}

int CheckOutputFolder(const std::string& folder) {
    std::error_code error;
    fs::path existing = fs::path(folder).lexically_normal();
    const bool missing = !fs::exists(existing, error);
    while (!fs::exists(existing, error) && existing.has_relative_path()) {
        existing = existing.parent_path();
    }
    if (!fs::is_directory(existing, error) || !IsWritableFolder(existing)) {
        return kFolderNotWritable;
    }
    return missing ? kFolderMissing : kFolderUsable;
}

int ConfirmOutputFolder(int code, const std::string& folder, Interaction& ui) {
    switch (code) {
        case kFolderNotWritable:
            ui.ShowError(t::FolderNotWritable(folder));
            return 1;
        case kFolderMissing: {
            if (!ui.AskYesNo(t::kFolderCheckCaption, t::FolderMissing(folder))) {
                return 1;
            }
            std::error_code error;
            fs::create_directories(folder, error);
            if (error || !fs::is_directory(folder)) {
                ui.ShowError(t::FolderNotCreated(folder, error ? error.message() : std::string()));
                return 1;
            }
            ui.ReportDone(t::FolderCreated(folder));
            return 0;
        }
        default:
            return 0;
    }
}

}  // namespace pelimon
