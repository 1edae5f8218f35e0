// Where the settings file lives and which folder a first start offers.
#include "settings/settings_file.h"

#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "common/atomic_file.h"
#include "common/text.h"

namespace pelimon {
namespace {

namespace fs = std::filesystem;

constexpr const char* kProfileName = "pelimon.ini";

std::string WithTrailingSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') {
        folder += '/';
    }
    return folder;
}

// The folder holding a file, with a trailing '/'; empty for an empty path.
std::string FolderOf(const std::string& file_path) {
    if (file_path.empty()) {
        return {};
    }
    return WithTrailingSlash(fs::path(file_path).parent_path().string());
}

bool IsWritableFolder(const std::string& folder) {
    std::error_code error;
    return fs::is_directory(folder, error) && access(folder.c_str(), W_OK | X_OK) == 0;
}

// Folders that the package manager or `make install` own: a program installed there is never in
// portable use, even when run by root, who may write into them.
bool IsSystemProgramFolder(const std::string& folder) {
    return folder.starts_with("/usr/") || folder == "/bin/" || folder == "/sbin/";
}

bool IsFolder(const std::string& path) {
    std::error_code error;
    return fs::is_directory(path, error);
}

// $XDG_CONFIG_HOME when it is an absolute path (relative values are invalid by the XDG rules),
// else $HOME/.config; empty when neither is known.
std::string ConfigHome(const EnvLookup& env) {
    if (std::optional<std::string> config = env("XDG_CONFIG_HOME");
        config && !config->empty() && config->front() == '/') {
        return *config;
    }
    if (std::optional<std::string> home = env("HOME")) {
        return *home + "/.config";
    }
    return {};
}

// XDG_PICTURES_DIR as xdg-user-dirs writes it in user-dirs.dirs: XDG_PICTURES_DIR="$HOME/Pictures".
std::optional<std::string> PicturesFromUserDirs(const EnvLookup& env) {
    const std::string config = ConfigHome(env);
    if (config.empty()) {
        return std::nullopt;
    }
    Result<std::string> file = ReadWholeFile(config + "/user-dirs.dirs", 64 * 1024);
    if (!file) {
        return std::nullopt;
    }
    const std::string text = DecodeUserText(file.value());
    std::string_view rest = text;
    while (!rest.empty()) {
        const size_t end = rest.find('\n');
        const std::string_view line = TrimBlanks(rest.substr(0, end));
        rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);

        constexpr std::string_view kKey = "XDG_PICTURES_DIR=";
        if (!line.starts_with(kKey)) {
            continue;
        }
        std::string_view value = line.substr(kKey.size());
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
            value = value.substr(1, value.size() - 2);
        }
        std::string folder;
        if (value.starts_with("$HOME")) {
            std::optional<std::string> home = env("HOME");
            if (!home) {
                return std::nullopt;
            }
            folder = *home + std::string(value.substr(5));
        } else {
            folder = std::string(value);
        }
        if (folder.empty() || folder.front() != '/') {
            return std::nullopt;
        }
        return folder;
    }
    return std::nullopt;
}

}  // namespace

std::string ResolveProfilePath(const std::string& module_path) {
    return ResolveProfilePath(module_path, ProcessEnvironment);
}

std::string ResolveProfilePath(const std::string& module_path, const EnvLookup& env) {
    if (std::optional<std::string> explicit_path = env("PELIMON_INI")) {
        return *explicit_path;
    }
    const std::string exe_folder = FolderOf(module_path);
    if (!exe_folder.empty() && !IsSystemProgramFolder(exe_folder) && IsWritableFolder(exe_folder)) {
        return exe_folder + kProfileName;
    }
    const std::string config = ConfigHome(env);
    if (config.empty()) {
        // Without a home there is no better place than beside the program; a save that fails
        // there is reported.
        return exe_folder + kProfileName;
    }
    return config + "/pelimon/" + kProfileName;
}

std::string DefaultImageFolder(const AppSettings& settings) {
    return DefaultImageFolder(settings, ProcessEnvironment);
}

std::string DefaultImageFolder(const AppSettings& settings, const EnvLookup& env) {
    const std::string exe_folder = FolderOf(settings.ModulePath);
    std::error_code error;
    const fs::path profile = settings.ProfilePath.empty() ? fs::path() : fs::absolute(settings.ProfilePath, error);
    const std::string profile_folder = profile.empty() ? std::string() : FolderOf(profile.string());
    const bool portable =
        !exe_folder.empty() && fs::path(profile_folder).lexically_normal() == fs::path(exe_folder).lexically_normal();
    if (portable) {
        return exe_folder;
    }
    // A pictures folder that does not exist (yet) would greet the user with an error; the home
    // folder always does.
    if (std::optional<std::string> pictures = env("XDG_PICTURES_DIR"); pictures && IsFolder(*pictures)) {
        return WithTrailingSlash(*pictures);
    }
    if (std::optional<std::string> pictures = PicturesFromUserDirs(env); pictures && IsFolder(*pictures)) {
        return WithTrailingSlash(*pictures);
    }
    if (std::optional<std::string> home = env("HOME")) {
        return WithTrailingSlash(*home);
    }
    return exe_folder.empty() ? std::string("/") : exe_folder;
}

}  // namespace pelimon
