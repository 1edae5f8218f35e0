#include "batch/source_load.h"

#include <cstdio>
#include <string>
#include <utility>

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

Status LoadWhole(const AppSettings& settings, const ImageJob& job, int width, int height, const DecodeOptions& options,
                 RenderBuffers& buffers) {
    if (Status read = ReadFileInto(job.SourcePath, buffers.file); !read.ok()) {
        return read.error();
    }
    if (Status decoded = DecodeUpright(buffers.file, options, job.Orientation, job.Rotation, buffers.decoded);
        !decoded.ok()) {
        return LoadError(job, decoded.error().message);
    }
    Resize(MethodFor(settings), buffers.decoded, width, height, buffers.reduced);
    return {};
}

Status LoadStreamed(const AppSettings& settings, const ImageJob& job, int width, int height,
                    const DecodeOptions& options, int64_t decoded_pixels, std::FILE* file, RenderBuffers& buffers) {
    // The reduction works in the file's frame; the output is turned afterwards.
    const bool swap = SwapsStoredFrame(job);
    ResizingSink sink(MethodFor(settings), swap ? height : width, swap ? width : height, buffers.reduced);
    PipelinedSink pipelined(sink);
    RowSink& target = decoded_pixels >= kPipelinedPixels ? static_cast<RowSink&>(pipelined) : sink;
    const Status decoded = DecodeRows(file, options, target);
    pipelined.Finish();
    if (!decoded.ok()) {
        return LoadError(job, decoded.error().message);
    }
    if (!sink.done()) {
        return LoadError(job, std::string(t::kSourceCutShort));
    }
    TurnUpright(buffers.reduced, job.Orientation, job.Rotation);
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

Status LoadReducedSource(const AppSettings& settings, const ImageJob& job, int width, int height,
                         RenderBuffers& buffers) {
    const DecodeOptions options = DecodeOptionsFor(settings, job, width, height);
    Result<SourceFile> opened = OpenSourceFile(job.SourcePath);
    if (!opened.ok()) {
        return opened.error();
    }
    const SourceFile file = std::move(opened).value();
    buffers.file.resize(kSniffBytes);
    buffers.file.resize(std::fread(buffers.file.data(), 1, kSniffBytes, file.get()));
    std::rewind(file.get());
    if (!CanDecodeRows(buffers.file)) {
        return LoadWhole(settings, job, width, height, options, buffers);
    }
    const bool swap = SwapsStoredFrame(job);
    const ImageHeader stored{SniffFormat(buffers.file), swap ? job.SrcHeight : job.SrcWidth,
                             swap ? job.SrcWidth : job.SrcHeight};
    const int64_t decoded_pixels = DecodedPixelCount(stored, options);
    // Turning before the reduction is what every turned image got so far; its bytes stay.
    if (PixelsTurned(job.Orientation, job.Rotation) && decoded_pixels <= kMaxDecodedPixels) {
        return LoadWhole(settings, job, width, height, options, buffers);
    }
    return LoadStreamed(settings, job, width, height, options, decoded_pixels, file.get(), buffers);
}

}  // namespace pelimon
