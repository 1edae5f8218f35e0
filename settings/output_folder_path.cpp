#include "settings/output_folder_path.h"

#include <cstdio>

namespace pelimon {
namespace {

std::string WithTrailingSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') {
        folder += '/';
    }
    return folder;
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

std::optional<OutputFolderPlan> OutputFolderOf(const AppSettings& settings, const std::string& today) {
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
        return std::nullopt;
    }
    plan.folder = WithTrailingSlash(settings.ImagePath);
    if (!out.empty()) {
        plan.folder = WithTrailingSlash(plan.folder + out);
    }
    return plan;
}

}  // namespace pelimon
