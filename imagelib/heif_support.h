// libheif plumbing shared by the HEIF/AVIF decoder, encoder and metadata reader: owners for
// libheif's objects, one-time library set-up, opening a file held in memory with the size limits
// every decoder keeps, and turning libheif's errors into this library's messages.
#pragma once

#include <libheif/heif.h>

#include <memory>
#include <string_view>

#include "common/result.h"
#include "imagelib/heif_geometry.h"
#include "imagelib/imagelib.h"

namespace pelimon::imagelib_detail {

struct HeifContextFree {
    void operator()(heif_context* context) const { heif_context_free(context); }
};
struct HeifHandleRelease {
    void operator()(heif_image_handle* handle) const { heif_image_handle_release(handle); }
};
struct HeifImageRelease {
    void operator()(heif_image* image) const { heif_image_release(image); }
};
struct HeifEncoderRelease {
    void operator()(heif_encoder* encoder) const { heif_encoder_release(encoder); }
};
using HeifContextPtr = std::unique_ptr<heif_context, HeifContextFree>;
using HeifHandlePtr = std::unique_ptr<heif_image_handle, HeifHandleRelease>;
using HeifImagePtr = std::unique_ptr<heif_image, HeifImageRelease>;
using HeifEncoderPtr = std::unique_ptr<heif_encoder, HeifEncoderRelease>;

// Loads libheif's codec plugins once per process (thread-safe); later calls do nothing.
void EnsureHeifInitialised();

// The largest side libheif may allocate for: libheif refuses images above side x side pixels.
inline constexpr int kMaxHeifSide = 1 << 16;

// An opened file: the context (which reads `bytes` in place, so they must outlive it), the
// primary image's handle and its geometry.
struct OpenedHeif {
    HeifContextPtr context;
    HeifHandlePtr primary;
    HeifGeometry geometry;
};

// Parses the boxes of a HEIF/AVIF file in memory and finds the primary image. Refuses images
// whose coded size, or whose size after the file's transformations, breaks CheckDimensions.
Result<OpenedHeif> OpenHeif(ByteView bytes);

// The geometry of the primary image of `context`, read from `boxes` (the file, or its 'meta'
// box), refused as OpenHeif refuses it.
Result<HeifGeometry> PrimaryGeometry(heif_context* context, ByteView boxes);

// False when an item location of the file claims more bytes than the file has, or starts beyond
// its end (heif_boxes.cpp). Such files are refused before libheif reads them.
bool HeifItemLocationsFit(ByteView bytes);

// "画像データが壊れています（HEIF: <libheif's message, on one line>）。"
Error HeifError(const heif_error& error);

}  // namespace pelimon::imagelib_detail
