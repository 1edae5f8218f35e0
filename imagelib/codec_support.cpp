#include "imagelib/codec_support.h"

namespace pelimon::imagelib_detail {

namespace {

std::string Size(int64_t width, int64_t height) {
    return std::to_string(width) + " x " + std::to_string(height);
}

}  // namespace

Error UnsupportedError(std::string_view detail) {
    if (detail.empty()) {
        return Error{"対応していない画像形式です。", {}};
    }
    return Error{"対応していない画像形式です（" + std::string(detail) + "）。", {}};
}

Error CorruptError(std::string_view detail) {
    return Error{"画像データが壊れています（" + std::string(detail) + "）。", {}};
}

Error TooLargeError(int64_t width, int64_t height) {
    return Error{"画像が大きすぎます（" + Size(width, height) + "）。", {}};
}

Error BadSizeError(int64_t width, int64_t height) {
    return Error{"画像の大きさが不正です（" + Size(width, height) + "）。", {}};
}

Error EncodeError(std::string_view detail) {
    return Error{"画像の書き出しに失敗しました（" + std::string(detail) + "）。", {}};
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
