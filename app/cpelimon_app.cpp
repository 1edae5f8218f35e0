#include "app/cpelimon_app.h"

#include "imagelib/imagelib.h"
#include "settings/settings_file.h"

namespace pelimon {

Status CpelimonApp::CheckLibrary(uint16_t library_version) {
    if (library_version < kMinimumLibraryVersion) {
        return Error{std::string(kLibraryVersionMessage), {}};
    }
    return {};
}

Status CpelimonApp::Start(uint16_t library_version) {
    if (Status library = CheckLibrary(library_version); !library) {
        return library;
    }
    settings_.ModulePath = CurrentModulePath();
    settings_.ProfilePath = ResolveProfilePath(settings_.ModulePath);
    LoadSettings(settings_);
    return {};
}

Status CpelimonApp::Start() {
    return Start(ImgGetVersion());
}

Status CpelimonApp::Finish() {
    return SaveSettings(settings_);
}

}  // namespace pelimon
