#include "batch/output_folder.h"

#include <sys/statvfs.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "batch/batch_texts.h"

namespace pelimon {

namespace t = batch_texts;

namespace {

namespace fs = std::filesystem;

std::string WithTrailingSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') {
        folder += '/';
    }
    return folder;
}

bool IsWritableFolder(const fs::path& folder) {
    struct statvfs info {};
    if (statvfs(folder.c_str(), &info) == 0 && (info.f_flag & ST_RDONLY) != 0) {
        return false;
    }
    return access(folder.c_str(), W_OK | X_OK) == 0;
}

}  // namespace

std::string LocalDateText(std::time_t now) {
    std::tm local{};
    localtime_r(&now, &local);
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%d%02d%02d", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
    return buffer;
}

std::string TodayDateText() {
    return LocalDateText(std::time(nullptr));
}

Result<OutputFolderPlan> ResolveOutputFolder(const AppSettings& settings, const std::string& today) {
    OutputFolderPlan plan;
    std::string out = settings.OutputPath;
    plan.saved_output_path = settings.OutputPath;
    if (settings.Resize == kResizeDatedFolder) {
        out = "resize" + today;
        plan.saved_output_path = out;
    }
    if (!out.empty() && out.front() == '/') {
        plan.folder = WithTrailingSlash(out);
        return plan;
    }
    if (settings.ImagePath.empty()) {
        return Error{t::NoSourceFolder(out).text, out};
    }
    plan.folder = WithTrailingSlash(settings.ImagePath);
    if (!out.empty()) {
        plan.folder = WithTrailingSlash(plan.folder + out);
    }
    return plan;
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
