// AppSettings in the INI file: the settings table drives load and save, so both keep the same
// sections, keys and order.
#include "settings/settings_file.h"

#include <filesystem>
#include <system_error>

#include "common/atomic_file.h"
#include "common/text.h"
#include "settings/ini_document.h"
#include "settings/settings_table.h"
#include "settings/settings_texts.h"

namespace pelimon {
namespace {

namespace fs = std::filesystem;

// Settings files are a few KB; anything far larger is not ours and is not loaded.
constexpr size_t kMaxSettingsBytes = size_t{16} << 20;

bool Exists(const std::string& path) {
    std::error_code error;
    return fs::exists(fs::symlink_status(path, error));
}

// Every field at its default; the folders depend on where the program and its settings live.
void ApplyDefaults(AppSettings& settings) {
    AppSettings defaults;
    defaults.ModulePath = settings.ModulePath;
    defaults.ProfilePath = settings.ProfilePath;
    const std::string folder = DefaultImageFolder(settings);
    defaults.ImagePath = folder;
    defaults.OutputPath = folder;
    settings = std::move(defaults);
}

// The file a save writes: the target of a symbolic link rather than the link itself, so that
// a settings file linked from elsewhere stays linked.
std::string WriteTarget(const std::string& path) {
    std::error_code error;
    if (!fs::is_symlink(path, error)) {
        return path;
    }
    const fs::path target = fs::weakly_canonical(path, error);
    return error ? path : target.string();
}

Error SaveError(const std::string& path, const std::string& detail) {
    return Error{settings_texts::SettingsNotSaved(path, detail), path};
}

// Every field from the file's text, a missing key at its default.
void LoadSettingsFrom(const std::string& bytes, AppSettings& settings) {
    ApplyDefaults(settings);
    const IniDocument document = IniDocument::Parse(DecodeUserText(bytes));
    for (const SettingRow& row : SettingsTable()) {
        const std::optional<std::string> value = document.Get(row.section, row.key);
        // An empty number reads as missing, as the Windows profile functions did.
        if (value && !(row.IsNumber() && value->empty())) {
            row.SetFromText(settings, *value);
        }
    }
}

}  // namespace

void LoadSettings(AppSettings& settings) {
    const Result<std::string> bytes = ReadWholeFile(settings.ProfilePath, kMaxSettingsBytes);
    LoadSettingsFrom(bytes ? bytes.value() : std::string(), settings);
}

Status LoadNamedSettings(AppSettings& settings) {
    const Result<std::string> bytes = ReadWholeFile(settings.ProfilePath, kMaxSettingsBytes);
    if (!bytes) {
        return bytes.error();
    }
    LoadSettingsFrom(bytes.value(), settings);
    return {};
}

Result<IniDocument> ReadSettingsDocument(const std::string& path) {
    const std::string target = WriteTarget(path);
    if (!Exists(target)) {
        return IniDocument();
    }
    Result<std::string> bytes = ReadWholeFile(target, kMaxSettingsBytes);
    if (!bytes) {
        return bytes.error();
    }
    return IniDocument::Parse(DecodeUserText(bytes.value()));
}

Status EditSettingsFile(const std::string& path, const std::function<void(IniDocument&)>& edit) {
    if (path.empty()) {
        return Error{settings_texts::kNoSettingsFile.str(), path};
    }
    // Start from the file as it is now so that whatever others wrote into it survives. A file
    // that exists but cannot be read is left alone rather than replaced by our keys alone.
    Result<IniDocument> document = ReadSettingsDocument(path);
    if (!document) {
        return SaveError(path, document.error().message);
    }
    edit(document.value());

    const std::string target = WriteTarget(path);
    const fs::path folder = fs::path(target).parent_path();
    if (!folder.empty()) {
        std::error_code error;
        fs::create_directories(folder, error);
        if (error) {
            return SaveError(path, error.message());
        }
    }
    if (Status written = WriteFileAtomically(target, document.value().Serialize()); !written) {
        return SaveError(path, written.error().message);
    }
    return {};
}

Status SaveSettings(AppSettings& settings) {
    if (settings.SaveNum == 0) {
        settings.ImageNum = 0;
    }
    return EditSettingsFile(settings.ProfilePath, [&settings](IniDocument& document) {
        for (const SettingRow& row : SettingsTable()) {
            if (row.saved) {
                document.Set(row.section, row.key, row.Text(settings));
            }
        }
    });
}

Status ResetSettingsToDefaults(AppSettings& settings) {
    const int32_t def_confirm = settings.DefConfirm;
    std::error_code error;
    fs::remove(settings.ProfilePath, error);
    // The defaults apply even when the file could not be deleted: the next save replaces it.
    ApplyDefaults(settings);
    settings.Confirm = 0;
    settings.Complete = 0;
    settings.DefConfirm = def_confirm;
    if (error) {
        return Error{settings_texts::SettingsNotDeleted(settings.ProfilePath, error.message()), settings.ProfilePath};
    }
    return {};
}

}  // namespace pelimon
