// Recognises the four formats by their signatures; the file name never matters.
#include <algorithm>
#include <array>

#include "imagelib/imagelib.h"

namespace pelimon {

namespace {

bool StartsWith(ByteView bytes, std::initializer_list<uint8_t> prefix) {
    return bytes.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), bytes.begin());
}

}  // namespace

ImageFormat SniffFormat(ByteView bytes) {
    if (StartsWith(bytes, {0xFF, 0xD8, 0xFF})) {
        return ImageFormat::kJpeg;
    }
    if (StartsWith(bytes, {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A})) {
        return ImageFormat::kPng;
    }
    if (StartsWith(bytes, {'G', 'I', 'F', '8', '7', 'a'}) || StartsWith(bytes, {'G', 'I', 'F', '8', '9', 'a'})) {
        return ImageFormat::kGif;
    }
    if (StartsWith(bytes, {'B', 'M'})) {
        return ImageFormat::kBmp;
    }
    return ImageFormat::kUnknown;
}

}  // namespace pelimon
