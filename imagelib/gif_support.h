// giflib helpers shared by the GIF decoder and encoder.
#pragma once

#include <string>

#include <gif_lib.h>

namespace pelimon::imagelib_detail {

// giflib's text for an error code; GifErrorString gives null for codes it does not know.
inline std::string GifErrorText(int code) {
    const char* text = GifErrorString(code);
    return text != nullptr ? text : "error " + std::to_string(code);
}

}  // namespace pelimon::imagelib_detail
