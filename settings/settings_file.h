// Loading and saving AppSettings in the INI file, and where that file lives.
#pragma once

#include <functional>
#include <string>

#include "common/environment.h"
#include "common/result.h"
#include "settings/app_settings.h"
#include "settings/ini_document.h"

namespace pelimon {

// The settings file: $PELIMON_INI when set; else <exe folder>/pelimon.ini when that folder is
// writable and not a system program folder (/usr/..., /bin, /sbin): portable use; else
// $XDG_CONFIG_HOME/pelimon/pelimon.ini (default ~/.config/pelimon/).
std::string ResolveProfilePath(const std::string& module_path);
std::string ResolveProfilePath(const std::string& module_path, const EnvLookup& env);

// The default source and output folder: the exe folder in portable use (the settings file
// beside the executable), otherwise the user's pictures folder (XDG_PICTURES_DIR, else $HOME).
// Ends with '/'.
std::string DefaultImageFolder(const AppSettings& settings);
std::string DefaultImageFolder(const AppSettings& settings, const EnvLookup& env);

// Fills every persisted field from settings.ProfilePath; a missing file or key gives the default.
// ModulePath and ProfilePath must be set.
void LoadSettings(AppSettings& settings);

// As LoadSettings, for a settings file the person named: fails (with the reason and the path) when
// the file cannot be read, instead of taking the defaults. The settings are then left unchanged.
Status LoadNamedSettings(AppSettings& settings);

// Writes every persisted field (not EvenMenu and PixEven) atomically, keeping what others put
// in the file. Sets ImageNum to 0 first when SaveNum is 0. A failure is returned, never hidden.
Status SaveSettings(AppSettings& settings);

// The settings file at `path` as a document (a symbolic link read through); an empty document
// when there is no file. Fails when the file exists but cannot be read.
Result<IniDocument> ReadSettingsDocument(const std::string& path);

// Reads the settings file at `path` (none: an empty document), lets `edit` change it and writes it
// back atomically, making its folder when missing. A file that exists but cannot be read is left
// as it is and reported. A failure is returned, never hidden.
Status EditSettingsFile(const std::string& path, const std::function<void(IniDocument&)>& edit);

// Deletes the settings file and loads the defaults, keeping DefConfirm; Confirm and Complete
// become 0.
Status ResetSettingsToDefaults(AppSettings& settings);

}  // namespace pelimon
