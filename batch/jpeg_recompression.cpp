#include "batch/jpeg_recompression.h"

#include "imagelib/jpeg_app_segments.h"
#include "imagelib/orientation.h"

namespace pelimon {

bool KeepsSourcePixels(const AppSettings& settings, const ImageJob& job, int width, int height,
                       bool colours_converted) {
    const int32_t pixel_effects = kEffectSharpen | kEffectGrayscale | kEffectSepia;
    return width == job.SrcWidth && height == job.SrcHeight && !PixelsTurned(job.Orientation, job.Rotation) &&
           (settings.Effect & pixel_effects) == 0 && settings.Contrast == 0 && !colours_converted;
}

std::optional<Bytes> RecompressKeptJpeg(const AppSettings& settings, const FormatRow& format, ByteView source,
                                        const EncodeMetadata& metadata) {
    if (format.recompress_jpeg == nullptr) {
        return std::nullopt;
    }
    // Only the blocks the output format carries, as its encoder would store them.
    EncodeMetadata carried;
    carried.exif = format.carries.exif ? metadata.exif : ByteView{};
    carried.xmp = format.carries.xmp ? metadata.xmp : ByteView{};
    carried.icc_profile = format.carries.icc_profile ? metadata.icc_profile : ByteView{};
    carried.photoshop = format.carries.iptc ? metadata.photoshop : ByteView{};
    const std::optional<Bytes> jpeg = ReplaceJpegMetadata(source, carried);
    if (!jpeg) {
        return std::nullopt;
    }
    Result<Bytes> recompressed = format.recompress_jpeg(*jpeg);
    if (!recompressed.ok() || (settings.SetSize == kOn &&
                               static_cast<int64_t>(recompressed.value().size()) > int64_t{settings.DataSize} * 1024)) {
        return std::nullopt;
    }
    return std::move(recompressed).value();
}

}  // namespace pelimon
