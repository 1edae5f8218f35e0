// How long the window's output preview takes to show a setting change: renders one photo through
// the preview's renderer under a sequence of changes (first the whole render, then changes that
// only concern the encoding, which reuse the reduced source, then new sizes) and prints the
// median wall time of each step, with the bytes, quality and pixels it gave, as a Markdown table.
// The decode of the output for display is included, as the window does it.
// Usage: pelimon_preview_latency <photo> [runs, default 3]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "batch/output_preview.h"
#include "imagelib/format_table.h"
#include "imagelib/imagelib.h"

namespace {

using pelimon::AppSettings;
using pelimon::ImageFormat;

int32_t FileTypeOf(ImageFormat format) {
    return pelimon::FormatRowOf(format).codes.file_type;
}

struct Step {
    const char* what;
    std::function<void(AppSettings&)> change;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <photo> [runs]\n", argv[0]);
        return 2;
    }
    const std::string path = argv[1];
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    const size_t slash = path.rfind('/');
    const pelimon::FileRow row(slash == std::string::npos ? path : path.substr(slash + 1), "", 0, true);
    const std::vector<Step> steps = {
        {"first render, fit 640x480, JPEG q90", [](AppSettings&) {}},
        {"quality 60", [](AppSettings& s) { s.JpegComp = 60; }},
        {"target 40 KB", [](AppSettings& s) { s.SetSize = pelimon::kOn, s.DataSize = 40; }},
        {"WebP, target 40 KB", [](AppSettings& s) { s.FileType = FileTypeOf(ImageFormat::kWebp); }},
        {"AVIF, target 40 KB", [](AppSettings& s) { s.FileType = FileTypeOf(ImageFormat::kAvif); }},
        {"JPEG q60, sharpened",
         [](AppSettings& s) {
             s.FileType = FileTypeOf(ImageFormat::kJpeg), s.SetSize = pelimon::kOff, s.Effect = pelimon::kEffectSharpen;
         }},
        {"new size: fit 1920x1920", [](AppSettings& s) { s.Base = pelimon::kBaseCustom, s.Width = s.Height = 1920; }},
        {"fit 1920x1920, target 300 KB", [](AppSettings& s) { s.SetSize = pelimon::kOn, s.DataSize = 300; }},
    };
    std::vector<std::vector<double>> times(steps.size());
    std::vector<pelimon::PreviewedOutput> outputs(steps.size());
    for (int run = 0; run < runs; ++run) {
        AppSettings settings;
        settings.ImagePath = slash == std::string::npos ? "./" : path.substr(0, slash + 1);
        settings.FileType = FileTypeOf(ImageFormat::kJpeg);
        pelimon::OutputPreviewRenderer renderer;
        for (size_t i = 0; i < steps.size(); ++i) {
            steps[i].change(settings);
            const auto start = std::chrono::steady_clock::now();
            pelimon::Result<pelimon::PreviewedOutput> output = renderer.Render(settings, row);
            if (!output.ok()) {
                std::fprintf(stderr, "%s: %s\n", steps[i].what, output.error().message.c_str());
                return 1;
            }
            const pelimon::Result<pelimon::Image> shown = pelimon::DecodeImage(output.value().bytes);
            times[i].push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
            outputs[i] = std::move(output).value();
            if (!shown.ok()) {
                return 1;
            }
        }
    }
    std::printf("| step | ms (median of %d) | bytes | quality | pixels |\n|---|---:|---:|---:|---|\n", runs);
    for (size_t i = 0; i < steps.size(); ++i) {
        std::sort(times[i].begin(), times[i].end());
        std::printf("| %s | %.0f | %zu | %d | %d x %d |\n", steps[i].what, times[i][times[i].size() / 2],
                    outputs[i].bytes.size(), outputs[i].quality, outputs[i].width, outputs[i].height);
    }
    return 0;
}
