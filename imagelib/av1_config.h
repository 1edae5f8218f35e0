// The frame size an AV1 item's configuration ('av1C') gives in its sequence header, for telling
// the coded size of an AVIF item from what its 'ispe' box claims.
#pragma once

#include <optional>

#include "imagelib/heif_geometry.h"
#include "imagelib/imagelib.h"

namespace pelimon::imagelib_detail {

// The largest frame (max_frame_width x max_frame_height) of the sequence header among the
// configuration OBUs of the body of an 'av1C' box; nullopt when the box holds none or it is cut
// short. Only the fields before the frame size are read.
std::optional<HeifSize> Av1ConfigFrameSize(ByteView av1c_body);

}  // namespace pelimon::imagelib_detail
