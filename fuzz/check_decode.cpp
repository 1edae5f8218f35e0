// Fuzz check for one decoder: the header probe, then the full decode with shrink-on-load (for PNG
// also its metadata). Inputs whose signature is another format's are left to that format's target.
#include <algorithm>
#include <cstdint>
#include <span>

#include "exif/source_metadata.h"
#include "fuzz/fuzz_checks.h"
#include "fuzz/fuzz_support.h"
#include "imagelib/codec_support.h"
#include "imagelib/embedded_metadata.h"
#include "imagelib/formats.h"
#include "imagelib/imagelib.h"
#include "imagelib/png_chunks.h"

namespace pelimon::fuzz {

namespace {

// Images that would decode larger than this are only probed. libjpeg and libpng make up whole
// pictures of grey from a few bytes that claim a large size, which costs seconds and hundreds of
// megabytes per input under the sanitizers and teaches the fuzzer nothing; pictures that would
// decode beyond kMaxDecodedPixels still go to the decoder, which must refuse them before it
// allocates.
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

// Streams the input through DecodeRows into a small area average, which must equal the reduction
// of the whole decode.
void CheckStreamedDecode(std::span<const uint8_t> bytes, const DecodeOptions& options, const Image& whole) {
    if (!CanDecodeRows(bytes)) {
        return;
    }
    const imagelib_detail::MemoryFile file(bytes);
    Image streamed;
    ResizingSink sink(ResizeMethod::kAreaAverage, 7, 5, streamed);
    Expect(DecodeRows(file.get(), options, sink).ok() && sink.done(), "what decodes whole decodes row by row");
    Image expected;
    ResizeAreaAverage(whole, 7, 5, expected);
    Expect(streamed == expected, "the streamed reduction is the whole image's");
}

// A PNG's Exif and XMP, read from the whole file and from the file without its image data (as the
// batch reads a streamed source's), must be the same; the Exif must parse as the batch reads it.
void CheckPngMetadata(std::span<const uint8_t> bytes) {
    const EmbeddedMetadata whole = ReadEmbeddedMetadata(bytes);
    Expect(whole.exif.empty() || TiffHeaderOffset(whole.exif) == size_t{0}, "Exif starts at its TIFF header");
    const imagelib_detail::MemoryFile file(bytes);
    if (file.get() != nullptr) {
        const Result<Bytes> without = ReadPngWithoutImageData(file.get(), size_t{16} << 20);  // the batch's bound
        Expect(without.ok(), "a file in memory can be read");
        const EmbeddedMetadata read = ReadEmbeddedMetadata(without.value());
        Expect(read.exif == whole.exif && read.xmp == whole.xmp, "the image data holds no metadata");
    }
    const SourceMetadata source = ReadSourceMetadata(bytes, 1700000000);
    Expect(source.Orientation >= 1 && source.Orientation <= 8, "the orientation is 1..8");
}

}  // namespace

void CheckDecodeInput(ImageFormat format, std::span<const uint8_t> bytes) {
    if (SniffFormat(bytes) != format) {
        return;
    }
    if (format == ImageFormat::kPng) {
        CheckPngMetadata(bytes);
    }
    const Result<ImageHeader> header = ProbeImage(bytes);
    if (!header) {
        return;
    }
    Expect(header.value().format == format, "the probe reports the sniffed format");
    const DecodeOptions options = OptionsFor(bytes, header.value());
    const int64_t pixels = DecodedPixelCount(header.value(), options);
    if (pixels > kMaxFuzzPixels && pixels <= kMaxDecodedPixels) {
        return;
    }
    Image image;
    if (!DecodeChecked(bytes, options, image)) {
        return;
    }
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
    CheckStreamedDecode(bytes, options, image);
}

void CheckJpegDcInput(std::span<const uint8_t> bytes) {
    const imagelib_detail::MemoryFile file(bytes);
    if (file.get() == nullptr) {
        return;
    }
    Image image;
    imagelib_detail::ImageSink sink(image);
    if (!imagelib_detail::DecodeJpegDc(file.get(), sink)) {
        return;
    }
    Expect(!image.empty(), "a decoded image has pixels");
    // Each pixel stands for a block of at least one bit of the file.
    Expect(int64_t{image.width()} * image.height() <= 8 * static_cast<int64_t>(bytes.size()),
           "the image is no larger than the file can hold");
}

}  // namespace pelimon::fuzz
