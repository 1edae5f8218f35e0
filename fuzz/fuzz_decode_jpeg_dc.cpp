// libFuzzer entry point for the DC-only decoder of progressive JPEG files; the check itself is in
// check_decode.cpp.
#include "fuzz/fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    pelimon::fuzz::CheckJpegDcInput(std::span<const uint8_t>(data, size));
    return 0;
}
