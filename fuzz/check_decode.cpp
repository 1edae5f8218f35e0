// Fuzz check for one decoder: the header probe, then the full decode with shrink-on-load. Inputs
// whose signature is another format's are left to that format's target.
#include <algorithm>
#include <cstdint>
#include <span>

#include "fuzz/fuzz_checks.h"
#include "fuzz/fuzz_support.h"
#include "imagelib/imagelib.h"

namespace pelimon::fuzz {

namespace {

// Images above this size are only probed. libjpeg and libpng make up whole pictures of grey
// from a few bytes that claim a large size, which costs seconds per input under the sanitizers
// and teaches the fuzzer nothing; pictures beyond kMaxDecodedPixels still go to the decoder,
// which must refuse them before it allocates.
constexpr int64_t kMaxFuzzPixels = int64_t{4} << 20;

// The smallest size the decoder may shrink to, chosen by the input's last byte: 0 decodes at full
// size, 1..8 ask for that many eighths of the source, and the high bit asks for more than the
// source has. The last byte lies after the image data of nearly every file, so it changes the
// options without changing the picture.
DecodeOptions OptionsFor(std::span<const uint8_t> bytes, const ImageHeader& header) {
    const unsigned selector = bytes.empty() ? 0u : bytes.back();
    const int eighths = static_cast<int>(selector % 9);
    DecodeOptions options;
    if (eighths != 0) {
        options.min_width = (header.width * eighths + 7) / 8;
        options.min_height = (header.height * eighths + 7) / 8;
    }
    if ((selector & 0x80u) != 0) {
        options.min_width += 1;
    }
    return options;
}

}  // namespace

void CheckDecodeInput(ImageFormat format, std::span<const uint8_t> bytes) {
    if (SniffFormat(bytes) != format) {
        return;
    }
    const Result<ImageHeader> header = ProbeImage(bytes);
    if (!header) {
        return;
    }
    Expect(header.value().format == format, "the probe reports the sniffed format");
    const int64_t pixels = int64_t{header.value().width} * header.value().height;
    if (pixels > kMaxFuzzPixels && pixels <= kMaxDecodedPixels) {
        return;
    }
    const DecodeOptions options = OptionsFor(bytes, header.value());
    Image image;
    if (!DecodeImage(bytes, options, image)) {
        Expect(image.empty(), "a failed decode leaves the image empty");
        return;
    }
    Expect(!image.empty(), "a decoded image has pixels");
    Expect(image.size_bytes() == static_cast<size_t>(image.width()) * static_cast<size_t>(image.height()) * 3,
           "a decoded image holds 3 bytes per pixel");
    Expect(int64_t{image.width()} * image.height() <= kMaxDecodedPixels, "decoded images respect the limit");
    if (format != ImageFormat::kJpeg) {
        Expect(image.width() == header.value().width && image.height() == header.value().height,
               "the probe and the decoder agree on the size");
    } else {
        Expect(image.width() <= header.value().width && image.height() <= header.value().height,
               "shrink-on-load never enlarges");
        Expect(image.width() >= std::min(options.min_width, header.value().width) &&
                   image.height() >= std::min(options.min_height, header.value().height),
               "shrink-on-load keeps at least the size asked for");
    }
}

}  // namespace pelimon::fuzz
