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
// "画像が大きすぎます（w x h、プログレッシブ JPEG の展開に n MB のメモリが必要です）。"
Error MemoryError(int64_t width, int64_t height, int64_t bytes_needed);
// "画像の大きさが不正です（w x h）。"
Error BadSizeError(int64_t width, int64_t height);
// "画像の書き出しに失敗しました（detail）。"
Error EncodeError(std::string_view detail);

// Checks dimensions read from a header before anything is allocated from them: each side must be
// 1..max_side and the pixel count at most kMaxDecodedPixels.
Status CheckDimensions(int64_t width, int64_t height, int64_t max_side);
// The same for an image decoded row by row, which needs no room for all its pixels: only the
// sides are checked.
Status CheckSides(int64_t width, int64_t height, int64_t max_side);

// A RowSink that keeps the whole image in `out` (reusing its allocation), refusing one of more
// than kMaxDecodedPixels before anything is allocated for it. The decoder may write into its rows.
class ImageSink final : public RowSink {
  public:
    explicit ImageSink(Image& out) : out_(out) {}
    Status Begin(int width, int height) override;
    uint8_t* RowBuffer(int y) override { return y < out_.height() ? out_.row(y) : nullptr; }
    void Row(const uint8_t* rgb) override;

  private:
    Image& out_;
    int next_ = 0;
};

// A read-only FILE over a buffer (fmemopen), closed with the object; get() is null on failure.
class MemoryFile {
  public:
    explicit MemoryFile(ByteView bytes);
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;
    ~MemoryFile();
    std::FILE* get() const { return file_; }

  private:
    std::FILE* file_ = nullptr;
};

// How many bytes `file` holds from its position to its end (the position is kept); 0 if unknown.
int64_t RemainingBytes(std::FILE* file);

// Reads exactly `size` bytes at `offset` from the start of `file`; false when the file is shorter.
bool ReadAt(std::FILE* file, int64_t offset, uint8_t* out, size_t size);

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
