// Making a list thumbnail of a photo held in memory: its own embedded thumbnail when that is large
// enough (the Exif IFD1 JPEG, a HEIF's thumbnail item, a camera raw file's preview), otherwise a
// shrink-on-load decode (JPEG DCT scaling and the like). Turned upright by the Exif orientation
// as the batch turns it. Qt-free and thread-safe.
#pragma once

#include "common/result.h"
#include "filelist/thumbnail_cache.h"
#include "imagelib/imagelib.h"

namespace pelimon {

// Where a thumbnail's pixels came from.
enum class ThumbnailOrigin { kExifThumbnail, kDecoded };

struct MadeThumbnail {
    CachedThumbnail thumbnail;  // fitted inside max_side x max_side, never enlarged
    ThumbnailOrigin origin = ThumbnailOrigin::kDecoded;
};

// The thumbnail of the image file `bytes`, its longest side `max_side` pixels (less for a smaller
// picture), with the picture's upright size. An error naming the cause when the file is not an
// image pelimon decodes.
Result<MadeThumbnail> MakeThumbnail(ByteView bytes, int max_side);

// As MakeThumbnail for the file at `path`, taken from the cache below `cache_root` (its normal or
// large folder as `size` says) when current there, else made and stored there. An empty root
// makes it without caching; so does a file lying inside the cache itself. A failure to store is
// not an error: the thumbnail is still given.
Result<CachedThumbnail> LoadThumbnail(const std::string& path, ThumbnailSize size, const std::string& cache_root);

}  // namespace pelimon
