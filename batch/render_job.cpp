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
Result<Bytes> Encode(const AppSettings& settings, const FormatRow& format, const Image& image,
                     const OutputMetadata& metadata) {
    EncodeOptions options{
        .quality = settings.JpegComp, .fast_jpeg = settings.FastJpeg != kOff, .metadata = BlocksOf(metadata)};
    if (!format.takes_quality) {
        return format.encode(image, options);
    }
    Result<JpegChoice> choice = ChooseQuality(SizeGoalOf(settings), [&](int quality) {
        options.quality = quality;
        return format.encode(image, options);
    });
    if (!choice.ok()) {
        return choice.error();
    }
    return std::move(choice).value().encoded;
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

Result<RenderedOutput> RenderJob(const AppSettings& settings, const ImageJob& job, RenderBuffers& buffers) {
    if (job.PrepareError) {
        return *job.PrepareError;
    }
    const FormatRow* format = FormatOfOutputType(job.OutputType);
    if (format == nullptr) {
        return JobError(job, t::NoOutputFormat(job.OutputType));
    }
    RenderedOutput output;
    const OutputImagePlan plan = PlanOutputImage(settings, job);
    if (plan.skipped) {
        output.skipped = true;
        return output;
    }
    const int width = plan.width;
    const int height = plan.height;
    if (width < 1 || height < 1) {
        return JobError(job, t::OutputSizeUnusable(width, height));
    }
    if (int64_t{width} * int64_t{height} > kMaxDecodedPixels) {
        return JobError(job, t::OutputSizeTooLarge(width, height));
    }

    if (Status loaded = LoadReducedSource(settings, job, width, height, buffers); !loaded.ok()) {
        return loaded.error();
    }
    SourceMetadata source = ReadMetadataOf(buffers.file);
    const std::vector<uint8_t> source_profile = SourceColourProfile(source);
    source.icc_profile = PrepareOutputColour(settings, source, buffers.reduced);
    const bool colours_converted = source.icc_profile != source_profile;
    ApplyEffects(settings, buffers.reduced);

    OutputMetadata metadata = MetadataFor(settings, job, *format, buffers.reduced, source);
    std::optional<Bytes> recompressed;
    const FormatRow* source_format = FormatOfBytes(buffers.file);
    if (format->recompress_jpeg != nullptr && source_format != nullptr && source_format->format == ImageFormat::kJpeg &&
        KeepsSourcePixels(settings, job, width, height, colours_converted)) {
        if (Status read = ReadFileInto(job.SourcePath, buffers.file); !read.ok()) {
            return read.error();
        }
        recompressed = RecompressKeptJpeg(settings, *format, buffers.file, BlocksOf(metadata));
    }
    if (recompressed) {
        output.bytes = std::move(*recompressed);
    } else {
        Result<Bytes> encoded = Encode(settings, *format, buffers.reduced, metadata);
        if (!encoded.ok()) {
            return JobError(job, t::NotEncoded(encoded.error().message));
        }
        output.bytes = std::move(encoded).value();
    }
    for (std::string& note : metadata.notes) {
        output.notes.push_back(job.FileName + ": " + std::move(note));
    }
    return output;
}

}  // namespace pelimon
