#include "batch/render_job.h"

#include <string>
#include <utility>

#include "batch/batch_texts.h"
#include "batch/jpeg_size_search.h"
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

Result<Bytes> EncodeJpegOutput(const AppSettings& settings, const Image& image, const OutputMetadata& metadata) {
    JpegSizeGoal goal;
    goal.set_size = settings.SetSize;
    goal.data_size = settings.DataSize;
    goal.limit_quality = settings.LimitQuality;
    goal.jpeg_comp = settings.JpegComp;
    goal.added_bytes = JpegMetadataSize(metadata);
    Result<JpegChoice> choice = ChooseJpegQuality(image, goal);
    if (!choice.ok()) {
        return choice.error();
    }
    return PlaceInJpeg(choice.value().encoded, metadata);
}

Result<Bytes> EncodePngOutput(const Image& image, const OutputMetadata& metadata) {
    Result<Bytes> encoded = EncodePng(image, metadata.icc_profile);
    if (!encoded.ok()) {
        return encoded;
    }
    return PlaceInPng(encoded.value(), metadata);
}

// The metadata the output carries, built once from the source's and the output's pixels.
OutputMetadata MetadataFor(const AppSettings& settings, const ImageJob& job, const Image& image,
                           const std::vector<uint8_t>& file) {
    // Metadata is read only when the output can carry it; a non-JPEG source gives the defaults.
    const bool wants_metadata = job.OutputType == kTypeJpeg || job.OutputType == kTypePng;
    if (!wants_metadata || SniffFormat(file) != ImageFormat::kJpeg) {
        return {};
    }
    MetadataTransfer transfer;
    transfer.keep_exif = settings.Exif != kOff;
    transfer.no_location = settings.NoLocation != kOff;
    transfer.output_width = image.width();
    transfer.output_height = image.height();
    transfer.pixels_rotated = PixelsTurned(job.Orientation, job.Rotation);
    transfer.make_thumbnail = [&image] { return MakeExifThumbnail(image); };
    return BuildOutputMetadata(ReadSourceMetadata(file, 0), transfer);
}

Result<Bytes> Encode(const AppSettings& settings, const Image& image, const OutputMetadata& metadata, int32_t type) {
    switch (type) {
        case kTypeBmp:
            return EncodeBmp(image);
        case kTypeJpeg:
            return EncodeJpegOutput(settings, image, metadata);
        case kTypePng:
            return EncodePngOutput(image, metadata);
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
    ApplyEffects(settings, buffers.reduced);

    OutputMetadata metadata = MetadataFor(settings, job, buffers.reduced, buffers.file);
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
