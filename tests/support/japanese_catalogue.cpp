// Built into every test program: the tests speak Japanese, as the program does under LANG=C, with
// the catalogue the build compiled into its own locale folder. Runs before main; a test program
// whose catalogue is missing stops at once rather than failing every Japanese comparison.
#include <cstdio>
#include <cstdlib>

#include "common/language.h"

namespace {

const bool kSpeaksJapanese = [] {
    const pelimon::Status chosen = pelimon::SetLanguage(pelimon::kJapanese, {PELIMON_BUILD_LOCALE_DIR});
    if (!chosen) {
        std::fprintf(stderr, "test set-up: %s\n", chosen.error().message.c_str());
        std::abort();
    }
    return true;
}();

}  // namespace
