// libFuzzer entry point for one decoder, chosen when the target is built (PELIMON_FUZZ_FORMAT is
// kBmp, kJpeg, kPng or kGif); the check itself is in check_decode.cpp.
#include "fuzz/fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    pelimon::fuzz::CheckDecodeInput(pelimon::ImageFormat::PELIMON_FUZZ_FORMAT, std::span<const uint8_t>(data, size));
    return 0;
}
