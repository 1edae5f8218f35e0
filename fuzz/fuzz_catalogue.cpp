// libFuzzer entry point; the check itself is in check_catalogue.cpp.
#include "fuzz/fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    pelimon::fuzz::CheckCatalogueInput(std::span<const uint8_t>(data, size));
    return 0;
}
