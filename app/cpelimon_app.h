// CpelimonApp: the start-up and the end of every run, with or without a window.
// Start checks the image library, finds the settings file and loads the settings; Finish saves
// them. The window and the unattended run both sit between the two.
#pragma once

#include <cstdint>
#include <string_view>

#include "app/app_texts.h"
#include "common/result.h"
#include "settings/app_settings.h"

namespace pelimon {

using app_texts::kLibraryVersionMessage;

class CpelimonApp {
  public:
    // Fails with kLibraryVersionMessage when `library_version` is below kMinimumLibraryVersion.
    static Status CheckLibrary(uint16_t library_version);

    // The start-up sequence with the version the image library reports. A version below
    // kMinimumLibraryVersion fails with kLibraryVersionMessage and touches nothing: the settings
    // stay the defaults and no file is read. Otherwise ModulePath := the running executable,
    // ProfilePath := ResolveProfilePath (PELIMON_INI first), and the settings are loaded.
    Status Start(uint16_t library_version);
    // Start with ImgGetVersion().
    Status Start();

    // Saves the settings to ProfilePath (the end of a run: both ways out of the window, and
    // every unattended run). Fails with a message naming the file when it cannot be written.
    Status Finish();

    AppSettings& settings() { return settings_; }

  private:
    AppSettings settings_;
};

}  // namespace pelimon
