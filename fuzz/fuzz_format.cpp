// libFuzzer entry point for the formats of the format table. One program serves every format: it
// is run as fuzz_<name> (a link the build makes for each row, fuzz/CMakeLists.txt), and that name
// picks the row whose check (check_format.cpp) every input goes through.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "fuzz/fuzz_checks.h"

namespace {

const pelimon::FormatRow* g_format = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** argv) {
    const std::string program = std::filesystem::path((*argv)[0]).filename().string();
    constexpr std::string_view kPrefix = "fuzz_";
    for (const pelimon::FormatRow& format : pelimon::FormatTable()) {
        if (program.size() == kPrefix.size() + format.name.size() && program.starts_with(kPrefix) &&
            program.ends_with(format.name)) {
            g_format = &format;
            return 0;
        }
    }
    std::fprintf(stderr, "%s: run this program as fuzz_<format name> (fuzz_jpeg, fuzz_png, ...)\n", program.c_str());
    std::exit(2);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    pelimon::fuzz::CheckFormatInput(*g_format, std::span<const uint8_t>(data, size));
    return 0;
}
