#include "imagelib/codec_support.h"

namespace pelimon::imagelib_detail {

namespace {

std::string Size(int64_t width, int64_t height) {
    return std::to_string(width) + " x " + std::to_string(height);
}

}  // namespace

Error UnsupportedError(std::string_view detail) {
    if (detail.empty()) {
        return Error{imagelib_texts::kUnsupported, {}};
    }
    return Error{imagelib_texts::Unsupported(std::string(detail)), {}};
}

Error CorruptError(std::string_view detail) {
    return Error{imagelib_texts::Corrupt(std::string(detail)), {}};
}

Error TooLargeError(int64_t width, int64_t height) {
    return Error{imagelib_texts::TooLarge(Size(width, height)), {}};
}

Error BadSizeError(int64_t width, int64_t height) {
    return Error{imagelib_texts::BadSize(Size(width, height)), {}};
}

Error EncodeError(std::string_view detail) {
    return Error{imagelib_texts::EncodeFailed(std::string(detail)), {}};
}

Status CheckDimensions(int64_t width, int64_t height, int64_t max_side) {
    if (width <= 0 || height <= 0) {
        return BadSizeError(width, height);
    }
    if (width > max_side || height > max_side || width * height > kMaxDecodedPixels) {
        return TooLargeError(width, height);
    }
    return {};
}

}  // namespace pelimon::imagelib_detail
