#include "filelist/thumbnail_maker.h"

#include <algorithm>
#include <cmath>
#include <ctime>

#include "common/atomic_file.h"
#include "exif/embedded_exif.h"
#include "exif/source_metadata.h"
#include "exif/tiff_block.h"
#include "imagelib/orientation.h"

namespace pelimon {

namespace {

// Photos are read whole for their thumbnail; anything larger is not one the list shows.
constexpr size_t kMaxSourceBytes = size_t{512} << 20;

struct Fit {
    int width = 0;
    int height = 0;
};

// width x height fitted inside side x side, never enlarged, each side at least 1.
Fit FitInside(int width, int height, int side) {
    if (width <= side && height <= side) {
        return {width, height};
    }
    const double scale = static_cast<double>(side) / std::max(width, height);
    return {std::max(1, static_cast<int>(std::lround(width * scale))),
            std::max(1, static_cast<int>(std::lround(height * scale)))};
}

// The IFD1 JPEG of the Exif segment, decoded, when it is at least `side` on its longer side and
// has the picture's proportions (some cameras pad theirs with black bars to 160 x 120).
std::optional<Image> ExifThumbnail(const SourceMetadata& metadata, const ImageHeader& header, int side) {
    if (metadata.exif_segment.empty()) {
        return std::nullopt;
    }
    const std::span<const uint8_t> tiff = TiffOfExifSegment(metadata.exif_segment);
    const TiffBlock block(std::vector<uint8_t>(tiff.begin(), tiff.end()));
    const std::optional<TiffBlock::Thumbnail> place = block.valid() ? block.JpegThumbnail() : std::nullopt;
    if (!place) {
        return std::nullopt;
    }
    const ByteView jpeg(block.bytes().data() + place->offset, place->length);
    Result<Image> image = DecodeImage(jpeg);
    if (!image) {
        return std::nullopt;
    }
    const int width = image.value().width();
    const int height = image.value().height();
    const double proportions = static_cast<double>(width) / height;
    const double picture = static_cast<double>(header.width) / header.height;
    if (std::max(width, height) < side || std::abs(proportions / picture - 1.0) > 0.02) {
        return std::nullopt;
    }
    return std::move(image).value();
}

}  // namespace

Result<MadeThumbnail> MakeThumbnail(ByteView bytes, int max_side) {
    const Result<ImageHeader> header = ProbeImage(bytes);
    if (!header) {
        return header.error();
    }
    const ImageHeader& stored = header.value();
    if (stored.width < 1 || stored.height < 1) {
        return Error{"the image has no pixels", {}};
    }
    const SourceMetadata metadata = ReadSourceMetadata(bytes, std::time(nullptr));
    const int orientation = metadata.Orientation;
    const bool sideways = TurnsQuarter(orientation, 0);

    MadeThumbnail made;
    Image pixels;
    if (std::optional<Image> embedded = ExifThumbnail(metadata, stored, max_side)) {
        pixels = std::move(*embedded);
        TurnUpright(pixels, orientation, 0);
        made.origin = ThumbnailOrigin::kExifThumbnail;
    } else {
        const Fit stored_fit = FitInside(stored.width, stored.height, max_side);
        const DecodeOptions options{stored_fit.width, stored_fit.height, true};
        Status decoded = DecodeUpright(bytes, options, orientation, 0, pixels);
        if (!decoded && stored.format == ImageFormat::kRaw) {
            // A raw file whose raw data cannot be developed may still hold a preview smaller than
            // the thumbnail: better a small picture than none.
            decoded = DecodeUpright(bytes, DecodeOptions{1, 1, true}, orientation, 0, pixels);
        }
        if (!decoded) {
            return decoded.error();
        }
    }
    made.thumbnail.source_width = sideways ? stored.height : stored.width;
    made.thumbnail.source_height = sideways ? stored.width : stored.height;
    made.thumbnail.stored_sideways = sideways;
    // The picture's proportions, not the decoded pixels', decide the thumbnail's shape.
    const Fit fit = FitInside(made.thumbnail.source_width, made.thumbnail.source_height, max_side);
    if (pixels.width() == fit.width && pixels.height() == fit.height) {
        made.thumbnail.image = std::move(pixels);
    } else {
        ResizeAreaAverage(pixels, fit.width, fit.height, made.thumbnail.image);
    }
    return made;
}

Result<CachedThumbnail> LoadThumbnail(const std::string& path, ThumbnailSize size, const std::string& cache_root) {
    Result<ThumbnailSource> source = ExamineThumbnailSource(path);
    if (!source) {
        return source.error();
    }
    const bool cached_here = !cache_root.empty() && path.starts_with(cache_root + "/");
    const std::string cache_path = cached_here ? std::string() : CachedThumbnailPath(cache_root, path, size);
    if (std::optional<CachedThumbnail> cached = ReadCachedThumbnail(cache_path, source.value())) {
        return std::move(*cached);
    }
    const std::string failed_path = cached_here ? std::string() : FailedThumbnailPath(cache_root, path);
    if (ReadCachedThumbnail(failed_path, source.value())) {
        return Error{"no thumbnail could be made of this file", path};
    }
    Result<std::string> bytes = ReadWholeFile(path, kMaxSourceBytes);
    if (!bytes) {
        return bytes.error();
    }
    const ByteView view(reinterpret_cast<const uint8_t*>(bytes.value().data()), bytes.value().size());
    Result<MadeThumbnail> made = MakeThumbnail(view, ThumbnailPixels(size));
    if (!made) {
        if (!failed_path.empty()) {
            CachedThumbnail note;
            note.image = Image(1, 1);
            (void)WriteCachedThumbnail(failed_path, source.value(), note);
        }
        return Error{made.error().message, path};
    }
    if (!cache_path.empty()) {
        (void)WriteCachedThumbnail(cache_path, source.value(), made.value().thumbnail);
    }
    return std::move(made).value().thumbnail;
}

}  // namespace pelimon
