// The desktop's shared thumbnail cache (the freedesktop.org thumbnail managing standard): a PNG
// per source file in $XDG_CACHE_HOME/thumbnails/normal (at most 128 pixels a side) or large (256),
// named by the MD5 of the file's URI and carrying that URI and the file's modification time, so
// that the file managers and pelimon use each other's thumbnails. Qt-free.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "common/environment.h"
#include "common/result.h"
#include "imagelib/image.h"

namespace pelimon {

enum class ThumbnailSize { kNormal, kLarge };

// The longest side of a thumbnail of `size`: 128 or 256 pixels.
int ThumbnailPixels(ThumbnailSize size);

// The file:// URI of an absolute path, each byte outside the letters, digits and
// "!$&'()*+,-./:=@_~" written as %XX (upper-case hexadecimal), as the desktop's file managers
// write it: the same path gives the same URI, and so the same cache name, in every program.
std::string FileUri(const std::string& absolute_path);

// The folder holding the thumbnails: $XDG_CACHE_HOME/thumbnails when that is an absolute path,
// else $HOME/.cache/thumbnails; empty when neither is known.
std::string ThumbnailCacheRoot(const EnvLookup& environment = ProcessEnvironment);

// <root>/normal/<md5 of the URI>.png (large/ for kLarge); empty without a root.
std::string CachedThumbnailPath(const std::string& root, const std::string& absolute_path, ThumbnailSize size);

// <root>/fail/pelimon-<image library version>/<md5 of the URI>.png: the note that this version
// could not make the file's thumbnail, so that it does not try again until the file changes (or
// pelimon does). Empty without a root.
std::string FailedThumbnailPath(const std::string& root, const std::string& absolute_path);

// What the cache knows of a source file: the URI, the modification time in whole seconds and
// the byte size. A thumbnail is current when its URI and time are the file's.
struct ThumbnailSource {
    std::string uri;
    int64_t mtime = 0;
    uint64_t bytes = 0;
};
// The file's entry as the cache sees it; an error when the file cannot be examined.
Result<ThumbnailSource> ExamineThumbnailSource(const std::string& absolute_path);

// A thumbnail and the upright pixel size of the picture it shows (0 x 0 when nobody recorded it).
// `stored_sideways`: the file stores the picture a quarter turn from upright (its Exif orientation
// swaps width and height), so a run that does not turn by Exif writes it height x width.
struct CachedThumbnail {
    Image image;
    int source_width = 0;
    int source_height = 0;
    bool stored_sideways = false;
};

// The thumbnail stored at `cache_path` when it is a readable PNG whose Thumb::URI and
// Thumb::MTime are those of `source`; nullopt otherwise (missing, stale, damaged or foreign). One
// that pelimon wrote without X-Pelimon::StoredSideways (an older version) is stale too: made again
// once, it records which way the file stores the picture. Other programs' thumbnails are taken as
// stored upright.
std::optional<CachedThumbnail> ReadCachedThumbnail(const std::string& cache_path, const ThumbnailSource& source);

// Stores `thumbnail` at `cache_path` as a PNG with Thumb::URI, Thumb::MTime, Thumb::Size,
// Thumb::Image::Width/Height, Software and X-Pelimon::StoredSideways: its folders made as needed
// (mode 0700), the file written to a temporary name beside it and renamed into place (mode 0600).
Status WriteCachedThumbnail(const std::string& cache_path, const ThumbnailSource& source,
                            const CachedThumbnail& thumbnail);

}  // namespace pelimon
