// Helpers shared by the decoders and encoders of this folder: the user-visible failure messages,
// the size checks every decoder runs before it allocates, and little/big-endian readers that
// never read past the end of their span.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/result.h"
#include "imagelib/imagelib.h"
#include "imagelib/imagelib_texts.h"  // the codecs name their details from here

namespace pelimon::imagelib_detail {

// "対応していない画像形式です。" optionally with a detail in brackets.
Error UnsupportedError(std::string_view detail = {});
// "画像データが壊れています（detail）。"
Error CorruptError(std::string_view detail);
// "画像が大きすぎます（w x h）。"
Error TooLargeError(int64_t width, int64_t height);
// "画像の大きさが不正です（w x h）。"
Error BadSizeError(int64_t width, int64_t height);
// "画像の書き出しに失敗しました（detail）。"
Error EncodeError(std::string_view detail);

// Checks dimensions read from a header before anything is allocated from them: each side must be
// 1..max_side and the pixel count at most kMaxDecodedPixels.
Status CheckDimensions(int64_t width, int64_t height, int64_t max_side);

// Composites a colour channel with 8-bit alpha over white, rounding to nearest.
inline uint8_t OverWhite(uint32_t value, uint32_t alpha) {
    return static_cast<uint8_t>((value * alpha + 255 * (255 - alpha) + 127) / 255);
}

// Bounds-checked readers: out-of-range offsets give 0, so callers check the size first and never
// read past the end even when they forget.
inline uint32_t ReadU8(ByteView b, size_t at) {
    return at < b.size() ? b[at] : 0u;
}
inline uint32_t ReadLe16(ByteView b, size_t at) {
    return ReadU8(b, at) | ReadU8(b, at + 1) << 8;
}
inline uint32_t ReadLe32(ByteView b, size_t at) {
    return ReadLe16(b, at) | ReadLe16(b, at + 2) << 16;
}
inline uint32_t ReadBe16(ByteView b, size_t at) {
    return ReadU8(b, at) << 8 | ReadU8(b, at + 1);
}
inline uint32_t ReadBe32(ByteView b, size_t at) {
    return ReadBe16(b, at) << 16 | ReadBe16(b, at + 2);
}

}  // namespace pelimon::imagelib_detail
