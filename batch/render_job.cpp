#include "batch/render_job.h"

#include <string>
#include <utility>

#include "batch/batch_texts.h"
#include "batch/jpeg_size_search.h"
#include "batch/source_reader.h"
#include "exif/source_metadata.h"
#include "imagelib/orientation.h"

namespace pelimon {

namespace t = batch_texts;

namespace {

Error JobError(const ImageJob& job, const std::string& why) {
    return Error{job.FileName + ": " + why, job.SourcePath};
}

// Shrink-on-load for the area-averaging reductions: the decoder may scale down as long as the
// image keeps twice the output size in both directions (in the file's own frame), so that the
// final average still sees several source pixels per output pixel. Sampling and enlargement
// decode at full size.
DecodeOptions DecodeOptionsFor(const AppSettings& settings, const ImageJob& job, int width, int height) {
    DecodeOptions options;
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

// Reduction 0 (and values the settings do not define): exact area average. 1: the triangle
// resample, which the original drew over its area average so that it is what shows. 2: sampling.
void Reduce(const AppSettings& settings, const Image& source, int width, int height, Image& out) {
    switch (settings.Reduction) {
        case kReductionTriangle:
            ResizeTriangle(source, width, height, out);
            break;
        case kReductionSampling:
            ResizeSample(source, width, height, out);
            break;
        default:
            ResizeAreaAverage(source, width, height, out);
            break;
    }
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

Result<Bytes> EncodeJpegOutput(const AppSettings& settings, const ImageJob& job, const Image& image,
                               const SourceMetadata& source) {
    MetadataTransfer transfer;
    transfer.keep_exif = settings.Exif != kOff && !source.exif_segment.empty();
    transfer.output_width = image.width();
    transfer.output_height = image.height();
    transfer.pixels_rotated = PixelsTurned(job.Orientation, job.Rotation);

    JpegSizeGoal goal;
    goal.set_size = settings.SetSize;
    goal.data_size = settings.DataSize;
    goal.limit_quality = settings.LimitQuality;
    goal.jpeg_comp = settings.JpegComp;
    goal.added_bytes = AddedMetadataBytes(source, transfer);
    Result<JpegChoice> choice = ChooseJpegQuality(image, goal);
    if (!choice.ok()) {
        return choice.error();
    }
    return BuildOutputJpeg(choice.value().encoded, source, transfer);
}

Result<Bytes> Encode(const AppSettings& settings, const ImageJob& job, const Image& image,
                     const std::vector<uint8_t>& file) {
    // Metadata is read only when the output can carry it; a non-JPEG source gives the defaults.
    const bool wants_metadata = job.OutputType == kTypeJpeg || job.OutputType == kTypePng;
    const SourceMetadata source =
        wants_metadata && SniffFormat(file) == ImageFormat::kJpeg ? ReadSourceMetadata(file, 0) : SourceMetadata{};
    switch (job.OutputType) {
        case kTypeBmp:
            return EncodeBmp(image);
        case kTypeJpeg:
            return EncodeJpegOutput(settings, job, image, source);
        case kTypePng:
            return EncodePng(image, source.icc_profile);
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

    if (Status read = ReadFileInto(job.SourcePath, buffers.file); !read.ok()) {
        return read.error();
    }
    const DecodeOptions options = DecodeOptionsFor(settings, job, width, height);
    if (Status decoded = DecodeUpright(buffers.file, options, job.Orientation, job.Rotation, buffers.decoded);
        !decoded.ok()) {
        return JobError(job, t::NotDecoded(decoded.error().message));
    }
    Reduce(settings, buffers.decoded, width, height, buffers.reduced);
    ApplyEffects(settings, buffers.reduced);

    Result<Bytes> encoded = Encode(settings, job, buffers.reduced, buffers.file);
    if (!encoded.ok()) {
        return JobError(job, t::NotEncoded(encoded.error().message));
    }
    output.bytes = std::move(encoded).value();
    return output;
}

}  // namespace pelimon
