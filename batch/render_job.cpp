#include "batch/render_job.h"

#include <string>
#include <utility>

#include "batch/batch_texts.h"
#include "batch/jpeg_size_search.h"
#include "batch/output_colour.h"
#include "batch/source_load.h"
#include "batch/source_reader.h"
#include "exif/exif_thumbnail.h"
#include "exif/output_metadata.h"
#include "exif/source_metadata.h"
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

JpegSizeGoal SizeGoalOf(const AppSettings& settings, size_t added_bytes) {
    JpegSizeGoal goal;
    goal.set_size = settings.SetSize;
    goal.data_size = settings.DataSize;
    goal.limit_quality = settings.LimitQuality;
    goal.jpeg_comp = settings.JpegComp;
    goal.added_bytes = added_bytes;
    return goal;
}

Result<Bytes> EncodeJpegOutput(const AppSettings& settings, const Image& image, const OutputMetadata& metadata) {
    Result<JpegChoice> choice = ChooseJpegQuality(image, SizeGoalOf(settings, JpegMetadataSize(metadata)));
    if (!choice.ok()) {
        return choice.error();
    }
    return PlaceInJpeg(choice.value().encoded, metadata);
}

// WebP and AVIF store Exif, XMP and the profile inside the encoder's file, so every trial of the
// size search is the file as written.
Result<Bytes> EncodeWebpOrAvifOutput(const AppSettings& settings, const Image& image, const OutputMetadata& metadata,
                                     bool avif) {
    const EncodeMetadata blocks{metadata.exif, metadata.icc_profile, metadata.xmp};
    Result<JpegChoice> choice = ChooseQuality(SizeGoalOf(settings, 0), [&](int quality) {
        return avif ? EncodeAvif(image, quality, blocks) : EncodeWebp(image, quality, blocks);
    });
    if (!choice.ok()) {
        return choice.error();
    }
    return std::move(choice).value().encoded;
}

Result<Bytes> EncodePngOutput(const Image& image, const OutputMetadata& metadata) {
    Result<Bytes> encoded = EncodePng(image, metadata.icc_profile);
    if (!encoded.ok()) {
        return encoded;
    }
    return PlaceInPng(encoded.value(), metadata);
}

// The metadata of the formats that have any; the defaults for the others.
SourceMetadata ReadMetadataOf(const std::vector<uint8_t>& file) {
    switch (SniffFormat(file)) {
        case ImageFormat::kJpeg:
        case ImageFormat::kPng:
        case ImageFormat::kWebp:
        case ImageFormat::kHeif:
        case ImageFormat::kAvif:
            return ReadSourceMetadata(file, 0);
        default:
            return {};
    }
}

// The metadata the output carries, built once from the source's (whose profile is the one the
// output is to hold, after any conversion to sRGB) and the output's pixels.
OutputMetadata MetadataFor(const AppSettings& settings, const ImageJob& job, const Image& image,
                           const SourceMetadata& source) {
    const bool carries = job.OutputType == kTypeJpeg || job.OutputType == kTypePng || job.OutputType == kOutputWebp ||
                         job.OutputType == kOutputAvif;
    if (!carries) {
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
    if (job.OutputType == kTypeJpeg) {
        FitInJpegSegments(metadata);
    }
    return metadata;
}

Result<Bytes> Encode(const AppSettings& settings, const Image& image, const OutputMetadata& metadata, int32_t type) {
    switch (type) {
        case kTypeBmp:
            return EncodeBmp(image);
        case kTypeJpeg:
            return EncodeJpegOutput(settings, image, metadata);
        case kTypePng:
            return EncodePngOutput(image, metadata);
        case kOutputWebp:
        case kOutputAvif:
            return EncodeWebpOrAvifOutput(settings, image, metadata, type == kOutputAvif);
        default:
            return EncodeGif(image);
    }
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
    source.icc_profile = PrepareOutputColour(settings, source, buffers.reduced);
    ApplyEffects(settings, buffers.reduced);

    OutputMetadata metadata = MetadataFor(settings, job, buffers.reduced, source);
    Result<Bytes> encoded = Encode(settings, buffers.reduced, metadata, job.OutputType);
    if (!encoded.ok()) {
        return JobError(job, t::NotEncoded(encoded.error().message));
    }
    output.bytes = std::move(encoded).value();
    for (std::string& note : metadata.notes) {
        output.notes.push_back(job.FileName + ": " + std::move(note));
    }
    return output;
}

}  // namespace pelimon
