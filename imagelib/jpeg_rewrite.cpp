// Replacing a JPEG file's metadata segments without touching its image data.
#include <cstddef>

#include "imagelib/codec_support.h"
#include "imagelib/jpeg_app_segments.h"

namespace pelimon {

using namespace imagelib_detail;

namespace {

constexpr uint8_t kSoi = 0xD8;
constexpr uint8_t kEoi = 0xD9;
constexpr uint8_t kSos = 0xDA;
constexpr uint8_t kApp0 = 0xE0;
constexpr uint8_t kApp14 = 0xEE;
constexpr uint8_t kApp15 = 0xEF;
constexpr uint8_t kComment = 0xFE;

bool IsRestart(uint8_t marker) {
    return marker >= 0xD0 && marker <= 0xD7;
}

// The offset just past the entropy-coded data that starts at `at`: the position of the next
// marker that is neither a stuffed 0xFF 0x00 nor a restart marker.
size_t EndOfScanData(ByteView jpeg, size_t at) {
    while (at + 1 < jpeg.size()) {
        if (jpeg[at] == 0xFF && jpeg[at + 1] != 0x00 && jpeg[at + 1] != 0xFF && !IsRestart(jpeg[at + 1])) {
            return at;
        }
        ++at;
    }
    return jpeg.size();
}

}  // namespace

std::optional<Bytes> ReplaceJpegMetadata(ByteView jpeg, const EncodeMetadata& metadata) {
    if (jpeg.size() < 4 || jpeg[0] != 0xFF || jpeg[1] != kSoi) {
        return std::nullopt;
    }
    Bytes kept = {0xFF, kSoi};
    size_t at = 2;
    for (;;) {
        while (at < jpeg.size() && jpeg[at] == 0xFF && at + 1 < jpeg.size() && jpeg[at + 1] == 0xFF) {
            ++at;  // fill bytes
        }
        if (at + 2 > jpeg.size() || jpeg[at] != 0xFF) {
            return std::nullopt;
        }
        const uint8_t marker = jpeg[at + 1];
        if (marker == kEoi) {
            kept.insert(kept.end(), {0xFF, kEoi});
            return PlaceInJpeg(kept, metadata);
        }
        if (at + 4 > jpeg.size()) {
            return std::nullopt;
        }
        const size_t end = at + 2 + ReadBe16(jpeg, at + 2);
        if (ReadBe16(jpeg, at + 2) < 2 || end > jpeg.size()) {
            return std::nullopt;
        }
        const bool metadata_segment = marker == kComment || (marker > kApp0 && marker <= kApp15 && marker != kApp14);
        const size_t next = marker == kSos ? EndOfScanData(jpeg, end) : end;
        if (!metadata_segment) {
            kept.insert(kept.end(), jpeg.begin() + static_cast<std::ptrdiff_t>(at),
                        jpeg.begin() + static_cast<std::ptrdiff_t>(next));
        }
        at = next;
    }
}

}  // namespace pelimon
