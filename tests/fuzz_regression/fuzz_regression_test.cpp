// Every input kept from fuzzing, and every seed (decoder fixtures included), goes through the check of its fuzz target
// in a child process, which must finish normally and stay under memory bounds. Faults show up as a sanitizer report or
// a broken invariant in the child's output; a parser that allocates what a few bytes claim shows up as an allocation
// (seen in sanitizer builds) or a peak resident size above the bound.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include "fuzz/fuzz_checks.h"

// The sanitizers' allocator reports every allocation to hooks installed with this function; in
// builds without a sanitizer it is absent and only the resident size is checked.
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*malloc_hook)(const volatile void*, size_t),
                                                         void (*free_hook)(const volatile void*)) __attribute__((weak));

namespace pelimon {
namespace {

namespace fs = std::filesystem;

using Check = std::function<void(std::span<const uint8_t>)>;

struct Target {
    std::string name;  // folder name under tests/data/fuzz/ and fuzz/corpus/
    Check check;
    std::string image_prefix;  // the decoder fixtures in tests/data/images it starts from; empty: none
};

// The parsers' targets, then one per format of the format table (as fuzz/CMakeLists.txt makes
// them), each starting from the fixtures of its format, named "<format>_...".
const std::vector<Target>& Targets() {
    static const std::vector<Target> targets = [] {
        std::vector<Target> all = {
            {"ini", fuzz::CheckIniInput, ""},
            {"parameter_file", fuzz::CheckParameterFileInput, ""},
            {"exif", fuzz::CheckExifInput, ""},
            {"decode_jpeg_dc", fuzz::CheckJpegDcInput, "jpeg_progressive"},
            {"catalogue", fuzz::CheckCatalogueInput, ""},
            {"encode_jpeg", fuzz::CheckJpegEncodeInput, ""},
        };
        for (const FormatRow& format : FormatTable()) {
            all.push_back({std::string(format.name),
                           [&format](std::span<const uint8_t> b) { fuzz::CheckFormatInput(format, b); },
                           std::string(format.name) + "_"});
        }
        return all;
    }();
    return targets;
}

struct Input {
    size_t target;  // index into Targets()
    fs::path path;
    std::string test_name;
};

// Failure messages name the file rather than dumping the record's bytes.
void PrintTo(const Input& input, std::ostream* out) {
    *out << input.path;
}

// A name GoogleTest accepts: letters, digits and underscores.
std::string TestName(const std::string& target, const std::string& kind, const fs::path& file) {
    std::string name = target + "_" + kind + "_" + file.stem().string();
    std::replace_if(
        name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
    return name;
}

// The regular files of `folder` whose names begin with `prefix`, sorted; none when it is missing.
std::vector<fs::path> FilesIn(const fs::path& folder, const std::string& prefix = {}) {
    std::vector<fs::path> files;
    std::error_code error;
    if (!fs::is_directory(folder, error)) {
        return files;
    }
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        if (entry.is_regular_file() && entry.path().filename().string().starts_with(prefix)) {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

// Per target: what fuzzing found, its seeds, and for the decoders the image fixtures (which are
// their seeds too: .ci/run passes tests/data/images to them as a corpus folder).
std::vector<Input> ListInputs() {
    std::vector<Input> inputs;
    const fs::path data(PELIMON_TEST_DATA_DIR);
    for (size_t t = 0; t < Targets().size(); ++t) {
        const Target& target = Targets()[t];
        const std::pair<const char*, std::vector<fs::path>> groups[] = {
            {"found", FilesIn(data / "fuzz" / target.name)},
            {"seed", FilesIn(fs::path(PELIMON_FUZZ_CORPUS_DIR) / target.name)},
            {"image",
             !target.image_prefix.empty() ? FilesIn(data / "images", target.image_prefix) : std::vector<fs::path>{}},
        };
        for (const auto& [kind, files] : groups) {
            for (const fs::path& file : files) {
                inputs.push_back({t, file, TestName(target.name, kind, file)});
            }
        }
    }
    return inputs;
}

std::vector<uint8_t> ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Peak resident size of this process in KiB (Linux reports ru_maxrss in KiB).
long PeakResidentKib() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// No input of a few kilobytes may make a parser hold more than this, sanitizer overhead included,
// nor ask for a single block larger than kMaxAllocation.
constexpr long kMaxResidentKib = 512 * 1024;
constexpr size_t kMaxAllocation = size_t{256} << 20;

std::atomic<size_t> largest_allocation{0};

void RecordAllocation(const volatile void* /*block*/, size_t size) {
    size_t seen = largest_allocation.load(std::memory_order_relaxed);
    while (size > seen && !largest_allocation.compare_exchange_weak(seen, size, std::memory_order_relaxed)) {
    }
}

void IgnoreFree(const volatile void* /*block*/) {}

// Exit status of the child: 0 fine, 3 resident size too large, 4 an allocation too large.
int MemoryVerdict() {
    if (largest_allocation.load() > kMaxAllocation) {
        return 4;
    }
    return PeakResidentKib() <= kMaxResidentKib ? 0 : 3;
}

class FuzzRegressionTest : public ::testing::TestWithParam<Input> {};

TEST_P(FuzzRegressionTest, ReplaysWithoutFault) {
    const Input& input = GetParam();
    const std::vector<uint8_t> bytes = ReadBytes(input.path);
    ASSERT_EQ(bytes.size(), fs::file_size(input.path)) << input.path;
    const Check& check = Targets()[input.target].check;
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            if (__sanitizer_install_malloc_and_free_hooks != nullptr) {
                __sanitizer_install_malloc_and_free_hooks(RecordAllocation, IgnoreFree);
            }
            check(bytes);
            std::exit(MemoryVerdict());
        },
        ::testing::ExitedWithCode(0), "")
        << input.path << " (exit code 3: the peak resident size went above " << kMaxResidentKib / 1024
        << " MiB; 4: a single allocation was larger than " << (kMaxAllocation >> 20) << " MiB)";
}

INSTANTIATE_TEST_SUITE_P(Inputs, FuzzRegressionTest, ::testing::ValuesIn(ListInputs()),
                         [](const ::testing::TestParamInfo<Input>& param_info) { return param_info.param.test_name; });

}  // namespace
}  // namespace pelimon
