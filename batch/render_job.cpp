#include "batch/render_job.h"

#include <string>
#include <utility>

#include "batch/jpeg_size_search.h"
#include "batch/source_reader.h"
#include "exif/source_metadata.h"

namespace pelimon {
namespace {

constexpr int kSharpenBit = 1;
constexpr int kGrayBit = 2;
constexpr int kSepiaBit = 4;

Error JobError(const ImageJob& job, const std::string& why) {
    return Error{job.FileName + ": " + why, job.SourcePath};
}

bool PixelsTurned(const ImageJob& job) {
    return job.Rotation % 360 != 0 || (job.Orientation >= 2 && job.Orientation <= 8);
}

// Shrink-on-load for the area-averaging reductions: the decoder may scale down as long as the
// image keeps twice the output size in both directions (in the file's own frame), so that the
// final average still sees several source pixels per output pixel. Sampling and enlargement
// decode at full size.
DecodeOptions DecodeOptionsFor(const AppSettings& settings, const ImageJob& job, int width, int height) {
    DecodeOptions options;
    const bool area_average = settings.Reduction != 2;
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
        case 1:
            ResizeTriangle(source, width, height, out);
            break;
        case 2:
            ResizeSample(source, width, height, out);
            break;
        default:
            ResizeAreaAverage(source, width, height, out);
            break;
    }
}

void ApplyEffects(const AppSettings& settings, Image& image) {
    if ((settings.Effect & kSharpenBit) != 0) {
        UnsharpMask(image, settings.Gain);
    }
    if ((settings.Effect & (kGrayBit | kSepiaBit)) != 0) {
        Grayscale(image);
    }
    if ((settings.Effect & kSepiaBit) != 0) {
        ColorTone(image, 1400, 1000, 725);
    }
    if (settings.Contrast != 0) {
        Contrast(image, settings.Contrast);
    }
}

Result<Bytes> EncodeJpegOutput(const AppSettings& settings, const ImageJob& job, const Image& image,
                               const SourceMetadata& source) {
    MetadataTransfer transfer;
    transfer.keep_exif = settings.Exif != 0 && !source.exif_segment.empty();
    transfer.output_width = image.width();
    transfer.output_height = image.height();
    transfer.pixels_rotated = PixelsTurned(job);

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
    plan.skipped = job.LargerThanSource == 1 && settings.BigSize == 2;
    const bool own_size = job.LargerThanSource == 1 && settings.BigSize == 4;
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
        return JobError(job, "出力サイズ " + std::to_string(width) + " x " + std::to_string(height) +
                                 " では画像を生成できません。サイズの設定を確認して下さい。");
    }
    if (int64_t{width} * int64_t{height} > kMaxDecodedPixels) {
        return JobError(job, "出力サイズ " + std::to_string(width) + " x " + std::to_string(height) +
                                 " が大きすぎるため画像を生成できません。");
    }

    if (Status read = ReadFileInto(job.SourcePath, buffers.file); !read.ok()) {
        return read.error();
    }
    const DecodeOptions options = DecodeOptionsFor(settings, job, width, height);
    if (Status decoded = DecodeImage(buffers.file, options, buffers.decoded); !decoded.ok()) {
        return JobError(job, "画像を読み込めませんでした（" + decoded.error().message + "）。");
    }
    ApplyExifOrientation(buffers.decoded, job.Orientation);
    if (job.Rotation % 360 != 0) {
        buffers.decoded = Rotate(buffers.decoded, job.Rotation);
    }
    Reduce(settings, buffers.decoded, width, height, buffers.reduced);
    ApplyEffects(settings, buffers.reduced);

    Result<Bytes> encoded = Encode(settings, job, buffers.reduced, buffers.file);
    if (!encoded.ok()) {
        return JobError(job, "画像を書き出せませんでした（" + encoded.error().message + "）。");
    }
    output.bytes = std::move(encoded).value();
    return output;
}

}  // namespace pelimon
