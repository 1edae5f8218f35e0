#include "batch/source_load.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "batch/batch_texts.h"
#include "batch/source_reader.h"
#include "imagelib/format_table.h"
#include "imagelib/orientation.h"
#include "imagelib/pipelined_sink.h"
#include "settings/setting_values.h"

namespace pelimon {

namespace t = batch_texts;

namespace {

// What the first bytes of a source tell: its format, whether a row decoder reads it, and the size
// its pixels take once decoded. Camera raw files that are plain TIFF structures show what they are
// only in their first directory, which the first 64 KB hold.
constexpr size_t kSniffBytes = size_t{64} << 10;

// From this many decoded pixels on, the reduction runs on a second thread beside the decoder. A
// batch of camera photos keeps both cores busy with one photo each; a single huge source would
// leave one idle.
constexpr int64_t kPipelinedPixels = int64_t{64} << 20;

Error LoadError(const ImageJob& job, const std::string& why) {
    return Error{job.FileName + ": " + t::NotDecoded(why), job.SourcePath};
}

// Reduction 0 (and values the settings do not define): exact area average. 1: the triangle
// resample, which the original drew over its area average so that it is what shows. 2: sampling.
ResizeMethod MethodFor(const AppSettings& settings) {
    switch (settings.Reduction) {
        case kReductionTriangle:
            return ResizeMethod::kTriangle;
        case kReductionSampling:
            return ResizeMethod::kSample;
        default:
            return ResizeMethod::kAreaAverage;
    }
}

// Shrink-on-load for the area-averaging reductions: the decoder may scale down as long as the
// image keeps twice the output size in both directions (in the file's own frame), so that the
// final average still sees several source pixels per output pixel. Sampling and enlargement
// decode at full size.
DecodeOptions DecodeOptionsFor(const AppSettings& settings, const ImageJob& job, int width, int height) {
    DecodeOptions options;
    options.cmyk_by_profile = settings.ToSRGB == kOn;
    const bool area_average = settings.Reduction != kReductionSampling;
    const bool reducing = width < job.SrcWidth && height < job.SrcHeight;
    if (!area_average || !reducing) {
        return options;
    }
    const bool swap = SwapsStoredFrame(job);
    options.min_width = 2 * (swap ? height : width);
    options.min_height = 2 * (swap ? width : height);
    return options;
}

// The decode options every target can live with: full size when one needs it, else shrunk no
// further than the largest target allows.
DecodeOptions SharedDecodeOptions(const ImageJob& job, std::span<const LoadTarget> targets) {
    DecodeOptions shared =
        DecodeOptionsFor(targets.front().settings, job, targets.front().width, targets.front().height);
    for (const LoadTarget& target : targets.subspan(1)) {
        const DecodeOptions own = DecodeOptionsFor(target.settings, job, target.width, target.height);
        const bool full_size =
            (own.min_width == 0 && own.min_height == 0) || (shared.min_width == 0 && shared.min_height == 0);
        shared.min_width = full_size ? 0 : std::max(shared.min_width, own.min_width);
        shared.min_height = full_size ? 0 : std::max(shared.min_height, own.min_height);
    }
    return shared;
}

// Hands every decoded row to each target's reduction.
class FanOutSink : public RowSink {
  public:
    explicit FanOutSink(std::span<const std::unique_ptr<ResizingSink>> sinks) : sinks_(sinks) {}
    Status Begin(int width, int height) override {
        for (const std::unique_ptr<ResizingSink>& sink : sinks_) {
            if (Status begun = sink->Begin(width, height); !begun.ok()) {
                return begun;
            }
        }
        return {};
    }
    void Row(const uint8_t* rgb) override {
        for (const std::unique_ptr<ResizingSink>& sink : sinks_) {
            sink->Row(rgb);
        }
    }

  private:
    std::span<const std::unique_ptr<ResizingSink>> sinks_;
};

Status LoadWhole(const ImageJob& job, std::span<const LoadTarget> targets, const DecodeOptions& options,
                 RenderBuffers& buffers) {
    if (Status read = ReadFileInto(job.SourcePath, buffers.file); !read.ok()) {
        return read.error();
    }
    if (Status decoded = DecodeUpright(buffers.file, options, job.Orientation, job.Rotation, buffers.decoded);
        !decoded.ok()) {
        return LoadError(job, decoded.error().message);
    }
    for (const LoadTarget& target : targets) {
        Resize(MethodFor(target.settings), buffers.decoded, target.width, target.height, target.reduced);
    }
    return {};
}

Status LoadStreamed(const ImageJob& job, std::span<const LoadTarget> targets, const DecodeOptions& options,
                    int64_t decoded_pixels, std::FILE* file, RenderBuffers& buffers) {
    // The reductions work in the file's frame; the outputs are turned afterwards.
    const bool swap = SwapsStoredFrame(job);
    std::vector<std::unique_ptr<ResizingSink>> sinks;
    for (const LoadTarget& target : targets) {
        sinks.push_back(std::make_unique<ResizingSink>(MethodFor(target.settings), swap ? target.height : target.width,
                                                       swap ? target.width : target.height, target.reduced));
    }
    FanOutSink fan_out(sinks);
    PipelinedSink pipelined(fan_out);
    RowSink& sink = decoded_pixels >= kPipelinedPixels ? static_cast<RowSink&>(pipelined) : fan_out;
    const Status decoded = DecodeRows(file, options, sink);
    pipelined.Finish();
    if (!decoded.ok()) {
        return LoadError(job, decoded.error().message);
    }
    for (size_t i = 0; i < targets.size(); ++i) {
        if (!sinks[i]->done()) {
            return LoadError(job, std::string(t::kSourceCutShort));
        }
        TurnUpright(targets[i].reduced, job.Orientation, job.Rotation);
    }
    buffers.decoded = Image();  // a whole source of an earlier job is not kept for nothing
    // The renderer reads the source's metadata from buffers.file, which holds only the first bytes
    // of a streamed file: now the part of the file where its format keeps its metadata.
    if (const FormatRow* format = FormatOfBytes(buffers.file);
        format != nullptr && format->source_metadata != MetadataPlace::kNone) {
        Result<std::vector<uint8_t>> metadata = ReadMetadataBytes(job.SourcePath, format->source_metadata);
        if (!metadata.ok()) {
            return metadata.error();
        }
        buffers.file = std::move(metadata).value();
    }
    return {};
}

}  // namespace

Status LoadReducedSources(const ImageJob& job, std::span<const LoadTarget> targets, RenderBuffers& buffers) {
    const DecodeOptions options = SharedDecodeOptions(job, targets);
    Result<SourceFile> opened = OpenSourceFile(job.SourcePath);
    if (!opened.ok()) {
        return opened.error();
    }
    const SourceFile file = std::move(opened).value();
    buffers.file.resize(kSniffBytes);
    buffers.file.resize(std::fread(buffers.file.data(), 1, kSniffBytes, file.get()));
    std::rewind(file.get());
    if (!CanDecodeRows(buffers.file)) {
        return LoadWhole(job, targets, options, buffers);
    }
    const bool swap = SwapsStoredFrame(job);
    const ImageHeader stored{SniffFormat(buffers.file), swap ? job.SrcHeight : job.SrcWidth,
                             swap ? job.SrcWidth : job.SrcHeight};
    const int64_t decoded_pixels = DecodedPixelCount(stored, options);
    // Turning before the reduction is what every turned image got so far; its bytes stay.
    if (PixelsTurned(job.Orientation, job.Rotation) && decoded_pixels <= kMaxDecodedPixels) {
        return LoadWhole(job, targets, options, buffers);
    }
    return LoadStreamed(job, targets, options, decoded_pixels, file.get(), buffers);
}

}  // namespace pelimon
