#include "exif/exif_thumbnail.h"

#include <algorithm>
#include <cmath>

#include "exif/jpeg_segments.h"
#include "imagelib/imagelib.h"

namespace pelimon {
namespace {

constexpr int kThumbnailQuality = 80;

bool IsAppSegment(uint8_t marker) {
    return marker >= 0xE0 && marker <= 0xEF;
}

}  // namespace

ExifThumbnail MakeExifThumbnail(const Image& image) {
    ExifThumbnail thumbnail;
    if (image.width() < 1 || image.height() < 1) {
        return thumbnail;
    }
    const bool upright = image.height() > image.width();
    const int box_width = upright ? kThumbnailShortSide : kThumbnailLongSide;
    const int box_height = upright ? kThumbnailLongSide : kThumbnailShortSide;
    const double scale = std::min({1.0, double(box_width) / image.width(), double(box_height) / image.height()});
    thumbnail.width = std::clamp(static_cast<int>(std::lround(image.width() * scale)), 1, box_width);
    thumbnail.height = std::clamp(static_cast<int>(std::lround(image.height() * scale)), 1, box_height);
    Image small;
    ResizeAreaAverage(image, thumbnail.width, thumbnail.height, small);
    // A baseline JPEG: readers of Exif thumbnails (cameras, viewers) expect one, not progressive scans.
    Result<Bytes> encoded = EncodeJpeg(small, {.quality = kThumbnailQuality, .fast_jpeg = true});
    if (!encoded.ok()) {
        return {};
    }
    // Exif thumbnails carry no APPn segments: drop the encoder's JFIF header.
    const Bytes& jpeg = encoded.value();
    thumbnail.jpeg.assign(jpeg.begin(), jpeg.begin() + 2);
    size_t copied_to = 2;
    for (const JpegSegment& segment : WalkJpegSegments(jpeg)) {
        if (IsAppSegment(segment.marker)) {
            thumbnail.jpeg.insert(thumbnail.jpeg.end(), jpeg.begin() + static_cast<std::ptrdiff_t>(copied_to),
                                  jpeg.begin() + static_cast<std::ptrdiff_t>(segment.offset));
            copied_to = segment.offset + segment.length + 2;
        }
    }
    thumbnail.jpeg.insert(thumbnail.jpeg.end(), jpeg.begin() + static_cast<std::ptrdiff_t>(copied_to), jpeg.end());
    return thumbnail;
}

}  // namespace pelimon
