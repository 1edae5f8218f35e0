// pelimon: a command line with an option (any argument starting with '-') runs on the terminal
// with those options (posix_run.h) and never opens a window. Otherwise the window when a display
// is available, else the same run on the terminal (see unattended_run.h). A build without the
// GUI always runs on the terminal.
#include <malloc.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/posix_options.h"
#include "app/posix_run.h"
#include "app/unattended_run.h"
#include "common/language.h"
#include "settings/settings_file.h"

#ifdef PELIMON_WITH_GUI
#include "gui/gui_main.h"
#endif

namespace {

// Every photo allocates the same few buffers of one to a few megabytes (decoded rows, colour
// planes, DCT coefficients) and frees them again. glibc hands buffers that large straight back to
// the kernel, so the next photo faults them in page by page afresh: a tenth of the JPEG encoder's
// time at 640x480. Buffers up to 16 MB come from the heap instead, and up to 64 MB of freed heap
// stays mapped for the next photo.
void KeepFreedBuffersForReuse() {
    mallopt(M_MMAP_THRESHOLD, 16 << 20);
    mallopt(M_TRIM_THRESHOLD, 64 << 20);
}

}  // namespace

int main(int argc, char** argv) {
    KeepFreedBuffersForReuse();
    if (const pelimon::Status language =
            pelimon::SetLanguage(pelimon::LanguageFromEnvironment(pelimon::ProcessEnvironment));
        !language) {
        std::fprintf(stderr, "pelimon: %s; the texts are shown in English\n", language.error().message.c_str());
    }
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (pelimon::IsPosixCommandLine(args)) {
        return pelimon::RunPosix(args);
    }
#ifdef PELIMON_WITH_GUI
    if (pelimon::DisplayAvailable(pelimon::ProcessEnvironment)) {
        return pelimon::RunGuiMain(argc, argv);
    }
#endif
    return pelimon::RunUnattended(args);
}
