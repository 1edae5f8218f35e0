// libFuzzer entry point for the JPEG encoder; the check itself is in check_encode_jpeg.cpp.
#include "fuzz/fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    pelimon::fuzz::CheckJpegEncodeInput(std::span<const uint8_t>(data, size));
    return 0;
}
