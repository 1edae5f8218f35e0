#include "batch/render_job.h"

#include <optional>
#include <string>
#include <utility>

#include "batch/batch_texts.h"
#include "batch/jpeg_recompression.h"
#include "batch/jpeg_size_search.h"
#include "batch/output_colour.h"
#include "batch/source_load.h"
#include "batch/source_reader.h"
#include "exif/exif_thumbnail.h"
#include "exif/output_metadata.h"
#include "exif/source_metadata.h"
#include "imagelib/format_table.h"
#include "imagelib/orientation.h"

namespace pelimon {

namespace t = batch_texts;

namespace {

Error JobError(const ImageJob& job, const std::string& why) {
    return Error{job.FileName + ": " + why, job.SourcePath};
}

void ApplyEffects(const AppSettings& settings, Image& image) {
    if ((settings.Effect & kEffectSharpen) != 0) {
        UnsharpMask(image, settings.Gain);
    }
    if ((settings.Effect & (kEffectGrayscale | kEffectSepia)) != 0) {
        Grayscale(image);
    }
    if ((settings.Effect & kEffectSepia) != 0) {
        ColorTone(image, 1400, 1000, 725);
    }
    if (settings.Contrast != 0) {
        Contrast(image, settings.Contrast);
    }
}

JpegSizeGoal SizeGoalOf(const AppSettings& settings) {
    JpegSizeGoal goal;
    goal.set_size = settings.SetSize;
    goal.data_size = settings.DataSize;
    goal.limit_quality = settings.LimitQuality;
    goal.jpeg_comp = settings.JpegComp;
    return goal;
}

// The metadata of the formats it is read from (FormatRow::source_metadata); the defaults for the
// others.
SourceMetadata ReadMetadataOf(const std::vector<uint8_t>& file) {
    const FormatRow* format = FormatOfBytes(file);
    if (format == nullptr || format->source_metadata == MetadataPlace::kNone) {
        return {};
    }
    return ReadSourceMetadata(file, 0);
}

// The metadata the output carries, built once from the source's (whose profile is the one the
// output is to hold, after any conversion to sRGB) and the output's pixels; none for a format
// that carries none.
OutputMetadata MetadataFor(const AppSettings& settings, const ImageJob& job, const FormatRow& format,
                           const Image& image, const SourceMetadata& source) {
    if (!format.carries.Metadata()) {
        return {};
    }
    MetadataTransfer transfer;
    transfer.keep_exif = settings.Exif != kOff;
    transfer.no_location = settings.NoLocation != kOff;
    transfer.output_width = image.width();
    transfer.output_height = image.height();
    transfer.pixels_rotated = PixelsTurned(job.Orientation, job.Rotation);
    transfer.make_thumbnail = [&image] { return MakeExifThumbnail(image); };
    OutputMetadata metadata = BuildOutputMetadata(source, transfer);
    if (format.metadata_in_segments) {
        FitInJpegSegments(metadata);
    }
    return metadata;
}

// The output file with its metadata. A format with a quality is encoded at the quality the size
// goal chooses; every encoder stores the metadata inside its file, so every trial of the size
// search is the file as written.
Result<JpegChoice> Encode(const AppSettings& settings, const FormatRow& format, const Image& image,
                          const OutputMetadata& metadata, const std::function<bool()>& abandoned) {
    EncodeOptions options{
        .quality = settings.JpegComp, .fast_jpeg = settings.FastJpeg != kOff, .metadata = BlocksOf(metadata)};
    if (!format.takes_quality) {
        Result<Bytes> encoded = format.encode(image, options);
        if (!encoded.ok()) {
            return encoded.error();
        }
        return JpegChoice{0, std::move(encoded).value()};
    }
    return ChooseQuality(SizeGoalOf(settings), [&](int quality) -> Result<Bytes> {
        if (abandoned && abandoned()) {
            return Error{t::kAbandoned.str(), {}};
        }
        options.quality = quality;
        return format.encode(image, options);
    });
}

// An output that needs the source's pixels: its target, the output format and pixel size.
struct OutputToRender {
    size_t target = 0;
    const FormatRow* format = nullptr;
    int width = 0;
    int height = 0;
};

// Two outputs whose jobs turn the source alike and read its colours alike can share its decode.
bool DecodesAlike(const RenderTarget& a, const RenderTarget& b) {
    return a.job.Orientation == b.job.Orientation && a.job.Rotation == b.job.Rotation &&
           (a.settings.ToSRGB == kOn) == (b.settings.ToSRGB == kOn);
}

// What an output will be: nullopt when its result is known without pixels (set in `result`: a
// failure, or no file on purpose).
std::optional<OutputToRender> Plan(const RenderTarget& target, size_t index, Result<RenderedOutput>& result) {
    const ImageJob& job = target.job;
    if (job.PrepareError) {
        result = *job.PrepareError;
        return std::nullopt;
    }
    const FormatRow* format = FormatOfOutputType(job.OutputType);
    if (format == nullptr) {
        result = JobError(job, t::NoOutputFormat(job.OutputType));
        return std::nullopt;
    }
    const OutputImagePlan plan = PlanOutputImage(target.settings, job);
    if (plan.skipped) {
        RenderedOutput skipped;
        skipped.skipped = true;
        result = std::move(skipped);
        return std::nullopt;
    }
    if (plan.width < 1 || plan.height < 1) {
        result = JobError(job, t::OutputSizeUnusable(plan.width, plan.height));
        return std::nullopt;
    }
    if (int64_t{plan.width} * int64_t{plan.height} > kMaxDecodedPixels) {
        result = JobError(job, t::OutputSizeTooLarge(plan.width, plan.height));
        return std::nullopt;
    }
    return OutputToRender{index, format, plan.width, plan.height};
}

// The output file of a loaded output: colours, effects, metadata, then the encoding (or the
// lossless recompression of a JPEG source whose pixels stay as they are).
Result<RenderedOutput> Finish(const RenderTarget& target, const OutputToRender& output, bool jpeg_source,
                              SourceMetadata source, Image& image, RenderBuffers& buffers,
                              const std::function<bool()>& abandoned) {
    const AppSettings& settings = target.settings;
    const ImageJob& job = target.job;
    const std::vector<uint8_t> source_profile = SourceColourProfile(source);
    source.icc_profile = PrepareOutputColour(settings, source, image);
    const bool colours_converted = source.icc_profile != source_profile;
    ApplyEffects(settings, image);

    RenderedOutput rendered;
    OutputMetadata metadata = MetadataFor(settings, job, *output.format, image, source);
    std::optional<Bytes> recompressed;
    if (output.format->recompress_jpeg != nullptr && jpeg_source &&
        KeepsSourcePixels(settings, job, output.width, output.height, colours_converted)) {
        if (Status read = ReadFileInto(job.SourcePath, buffers.file); !read.ok()) {
            return read.error();
        }
        recompressed = RecompressKeptJpeg(settings, *output.format, buffers.file, BlocksOf(metadata));
    }
    if (recompressed) {
        rendered.bytes = std::move(*recompressed);
    } else {
        Result<JpegChoice> encoded = Encode(settings, *output.format, image, metadata, abandoned);
        if (!encoded.ok()) {
            return JobError(job, t::NotEncoded(encoded.error().message));
        }
        rendered.quality = encoded.value().quality;
        rendered.bytes = std::move(encoded).value().encoded;
    }
    for (std::string& note : metadata.notes) {
        rendered.notes.push_back(job.FileName + ": " + std::move(note));
    }
    return rendered;
}

}  // namespace

OutputImagePlan PlanOutputImage(const AppSettings& settings, const ImageJob& job) {
    OutputImagePlan plan;
    plan.skipped = job.LargerThanSource == 1 && settings.BigSize == kBigSizeLeave;
    const bool own_size = job.LargerThanSource == 1 && settings.BigSize == kBigSizeStripExif;
    plan.width = own_size ? job.SrcWidth : job.TargetWidth;
    plan.height = own_size ? job.SrcHeight : job.TargetHeight;
    return plan;
}

Result<OutputImagePlan> ReduceJobSource(const RenderTarget& target, RenderBuffers& buffers) {
    Result<RenderedOutput> known = RenderedOutput{};
    const std::optional<OutputToRender> output = Plan(target, 0, known);
    if (!output) {
        if (!known.ok()) {
            return known.error();
        }
        OutputImagePlan skipped;
        skipped.skipped = true;
        return skipped;
    }
    buffers.reduced.resize(1);
    const LoadTarget load[] = {{target.settings, output->width, output->height, buffers.reduced[0]}};
    if (Status loaded = LoadReducedSources(target.job, load, buffers); !loaded.ok()) {
        return loaded.error();
    }
    return OutputImagePlan{false, output->width, output->height};
}

Result<RenderedOutput> FinishJob(const RenderTarget& target, RenderBuffers& buffers,
                                 const std::function<bool()>& abandoned) {
    Result<RenderedOutput> known = RenderedOutput{};
    const std::optional<OutputToRender> output = Plan(target, 0, known);
    if (!output || buffers.reduced.empty()) {
        return known;
    }
    const FormatRow* source_format = FormatOfBytes(buffers.file);
    const bool jpeg_source = source_format != nullptr && source_format->format == ImageFormat::kJpeg;
    return Finish(target, *output, jpeg_source, ReadMetadataOf(buffers.file), buffers.reduced[0], buffers, abandoned);
}

std::vector<Result<RenderedOutput>> RenderJobs(std::span<const RenderTarget> targets, RenderBuffers& buffers) {
    std::vector<Result<RenderedOutput>> results(targets.size(), RenderedOutput{});
    std::vector<OutputToRender> pending;
    for (size_t i = 0; i < targets.size(); ++i) {
        std::optional<OutputToRender> output = Plan(targets[i], i, results[i]);
        if (output) {
            pending.push_back(*output);
        }
    }
    if (buffers.reduced.size() < targets.size()) {
        buffers.reduced.resize(targets.size());
    }
    // Outputs that see the source's pixels alike share one decode.
    while (!pending.empty()) {
        const RenderTarget& first = targets[pending.front().target];
        std::vector<OutputToRender> group;
        std::vector<LoadTarget> loads;
        for (auto it = pending.begin(); it != pending.end();) {
            const RenderTarget& target = targets[it->target];
            if (DecodesAlike(first, target)) {
                group.push_back(*it);
                loads.push_back({target.settings, it->width, it->height, buffers.reduced[it->target]});
                it = pending.erase(it);
            } else {
                ++it;
            }
        }
        if (Status loaded = LoadReducedSources(first.job, loads, buffers); !loaded.ok()) {
            for (const OutputToRender& output : group) {
                results[output.target] = loaded.error();
            }
            continue;
        }
        const SourceMetadata source = ReadMetadataOf(buffers.file);
        const FormatRow* source_format = FormatOfBytes(buffers.file);
        const bool jpeg_source = source_format != nullptr && source_format->format == ImageFormat::kJpeg;
        for (const OutputToRender& output : group) {
            results[output.target] = Finish(targets[output.target], output, jpeg_source, source,
                                            buffers.reduced[output.target], buffers, {});
        }
    }
    return results;
}

}  // namespace pelimon
