// libFuzzer entry point for the HEIF/HEIC/AVIF or the WebP path, chosen when the target is built
// (PELIMON_FUZZ_FORMAT is kHeif or kWebp); the check itself is in check_modern.cpp.
#include "fuzz/fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    pelimon::fuzz::CheckModernInput(pelimon::ImageFormat::PELIMON_FUZZ_FORMAT, std::span<const uint8_t>(data, size));
    return 0;
}
