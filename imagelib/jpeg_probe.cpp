// Finds a JPEG's dimensions by walking its markers up to the frame header (SOFn), without libjpeg
// and without touching the entropy-coded data.
#include "imagelib/codec_support.h"
#include "imagelib/formats.h"

namespace pelimon::imagelib_detail {

namespace {

constexpr int64_t kMaxJpegSide = 65500;  // libjpeg's JPEG_MAX_DIMENSION

bool IsFrameHeader(uint32_t marker) {
    // SOF0..SOF15 except DHT (C4), JPG (C8) and DAC (CC).
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

bool IsStandalone(uint32_t marker) {
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8);
}

}  // namespace

Result<ImageHeader> ProbeJpeg(ByteView bytes) {
    size_t at = 2;  // after SOI
    for (;;) {
        if (at + 4 > bytes.size()) {
            return CorruptError(imagelib_texts::kJpegNoFrameHeader);
        }
        if (bytes[at] != 0xFF) {
            ++at;  // stray bytes between segments: libjpeg skips them with a warning, and so do we
            continue;
        }
        const uint32_t marker = bytes[at + 1];
        if (marker == 0xFF) {
            ++at;  // fill byte
            continue;
        }
        if (IsStandalone(marker)) {
            at += 2;
            continue;
        }
        if (marker == 0xD9 || marker == 0xDA) {
            return CorruptError(imagelib_texts::kJpegNoFrameHeader);
        }
        const size_t length = ReadBe16(bytes, at + 2);
        if (length < 2) {
            return CorruptError(imagelib_texts::kJpegBadMarker);
        }
        if (IsFrameHeader(marker)) {
            if (at + 2 + 7 > bytes.size() || length < 8) {
                return CorruptError(imagelib_texts::kJpegFrameHeaderShort);
            }
            const int64_t height = ReadBe16(bytes, at + 5);
            const int64_t width = ReadBe16(bytes, at + 7);
            // The pixel limit is not applied here: shrink-on-load may bring a huge JPEG under it.
            if (width <= 0 || height <= 0) {
                return BadSizeError(width, height);
            }
            if (width > kMaxJpegSide || height > kMaxJpegSide) {
                return TooLargeError(width, height);
            }
            return ImageHeader{ImageFormat::kJpeg, static_cast<int>(width), static_cast<int>(height)};
        }
        at += 2 + length;
    }
}

}  // namespace pelimon::imagelib_detail
