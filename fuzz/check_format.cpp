// Fuzz check for one format of the format table, reached through its row: the metadata blocks as
// the batch reads and carries them (NoLocation off and on; for a PNG also from the file without
// its image data, for a TIFF from its directories alone) and the colour profile through lcms2 for a format whose blocks
// lie beside its pixels, then the header probe, the decode with shrink-on-load, and the row-by-row decode where the
// format streams. Inputs whose signature is another format's are left to that format's target.
#include <algorithm>
#include <cstdint>
#include <ctime>
#include <span>
#include <string_view>

#include "exif/output_metadata.h"
#include "exif/source_metadata.h"
#include "exif/tiff_block.h"
#include "exif/xmp_packet.h"
#include "fuzz/fuzz_checks.h"
#include "fuzz/fuzz_support.h"
#include "imagelib/codec_support.h"
#include "imagelib/colour.h"
#include "imagelib/embedded_metadata.h"
#include "imagelib/format_table.h"
#include "imagelib/formats.h"
#include "imagelib/imagelib.h"
#include "imagelib/png_chunks.h"
#include "imagelib/tiff_metadata.h"

namespace pelimon::fuzz {

namespace {

// Images that would decode larger than this are only probed. libjpeg and libpng make up whole
// pictures of grey from a few bytes that claim a large size, which costs seconds and hundreds of
// megabytes per input under the sanitizers and teaches the fuzzer nothing; pictures that would
// decode beyond kMaxDecodedPixels still go to the decoder, which must refuse them before it
// allocates.
constexpr int64_t kMaxFuzzPixels = int64_t{4} << 20;
constexpr std::time_t kNow = 1700000000;

// The decode options, chosen by the input's last byte: 0..8 ask for that many eighths of the
// source as the minimum (0: full size), bit 0x40 allows a HEIF's thumbnail, and bit 0x80 asks
// for more than the source has. The last byte lies after the image data of nearly every file, so
// it changes the options without changing the picture.
DecodeOptions OptionsFor(std::span<const uint8_t> bytes, const ImageHeader& header) {
    const unsigned selector = bytes.empty() ? 0u : bytes.back();
    const int eighths = static_cast<int>(selector % 9);
    DecodeOptions options;
    // In 64 bits: a TIFF header may claim sides up to 2^31 - 1.
    if (eighths != 0) {
        options.min_width = static_cast<int>(std::max<int64_t>(1, (int64_t{header.width} * eighths + 7) / 8));
        options.min_height = static_cast<int>(std::max<int64_t>(1, (int64_t{header.height} * eighths + 7) / 8));
    }
    if ((selector & 0x80u) != 0 && options.min_width < INT32_MAX) {
        options.min_width += 1;
    }
    options.allow_thumbnail = (selector & 0x40u) != 0;
    return options;
}

// Whether the decoder may give a smaller image than the header's for these options.
bool MayShrink(const FormatRow& format, const DecodeOptions& options) {
    if (format.shrink == ShrinkOnLoad::kPreview) {
        return true;  // a preview, or a developed picture that differs a little from the probe's
    }
    if (options.min_width <= 0 && options.min_height <= 0) {
        return false;
    }
    switch (format.shrink) {
        case ShrinkOnLoad::kNever:
            return false;
        case ShrinkOnLoad::kThumbnail:
            return options.allow_thumbnail;
        case ShrinkOnLoad::kPreview:
        case ShrinkOnLoad::kDctScale:
        case ShrinkOnLoad::kRescaler:
            return true;
    }
    return false;
}

// The blocks beside the pixels as the batch reads and carries them, and the colour profile. Where
// the batch reads a file without its image data (a PNG's), the blocks read from that must be the
// whole file's.
void CheckMetadata(const FormatRow& format, std::span<const uint8_t> bytes) {
    const EmbeddedMetadata embedded = ReadEmbeddedMetadata(bytes);
    Expect(embedded.exif.empty() || TiffHeaderOffset(embedded.exif) == size_t{0}, "Exif starts at its TIFF header");
    if (format.source_metadata == MetadataPlace::kOutsideImageData) {
        const imagelib_detail::MemoryFile file(bytes);
        if (file.get() != nullptr) {
            const Result<Bytes> without = ReadPngWithoutImageData(file.get(), size_t{16} << 20);  // the batch's bound
            Expect(without.ok(), "a file in memory can be read");
            const EmbeddedMetadata read = ReadEmbeddedMetadata(without.value());
            Expect(read.exif == embedded.exif && read.xmp == embedded.xmp, "the image data holds no metadata");
        }
    }
    if (format.source_metadata == MetadataPlace::kTiffDirectories) {
        const imagelib_detail::MemoryFile file(bytes);
        if (file.get() != nullptr) {
            const Result<Bytes> kept = ReadTiffMetadataFile(file.get());
            if (kept.ok()) {
                const EmbeddedMetadata read = ReadEmbeddedMetadata(kept.value());
                Expect(read.exif == embedded.exif && read.xmp == embedded.xmp &&
                           read.icc_profile == embedded.icc_profile && read.photoshop == embedded.photoshop,
                       "the metadata kept of a streamed TIFF is the whole file's");
            }
        }
    }
    const SourceMetadata source = ReadSourceMetadata(bytes, kNow);
    Expect(source.Orientation >= 1 && source.Orientation <= 8, "the orientation is 1..8");
    Expect(!source.decoder_orients || source.Orientation == 1, "a HEIF's own turn is never applied again");
    MetadataTransfer transfer;
    transfer.keep_exif = true;
    transfer.output_width = 16;
    transfer.output_height = 12;
    for (const bool no_location : {false, true}) {
        transfer.no_location = no_location;
        const OutputMetadata output = BuildOutputMetadata(source, transfer);
        Expect(output.exif.empty() || !source.exif_segment.empty(), "only a source's Exif reaches the output");
        const std::string_view xmp = AsText(output.xmp);
        Expect(no_location ? !XmpHasProperties(xmp, kXmpLocation) && TiffBlock(output.exif).GpsIfdOffset() == 0
                           : output.xmp.empty() || RemoveXmpProperties(AsText(source.xmp), kXmpGainMap) == xmp,
               "the XMP and Exif location is removed with no_location, the XMP kept whole without");
        Expect(!XmpHasProperties(xmp, kXmpGainMap), "no output describes a gain map");
    }
    if (!embedded.icc_profile.empty()) {
        Image image(4, 2);
        IsSrgbProfile(embedded.icc_profile);
        ConvertToSrgb(image, embedded.icc_profile);
        Expect(image.width() == 4 && image.height() == 2, "the conversion keeps the size");
    }
    if (embedded.nclx) {
        IccProfileForNclx(*embedded.nclx);
    }
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

}  // namespace

void CheckFormatInput(const FormatRow& format, std::span<const uint8_t> bytes) {
    if (FormatOfBytes(bytes) != &format) {
        return;
    }
    if (format.read_metadata != nullptr) {
        CheckMetadata(format, bytes);
    }
    const Result<ImageHeader> header = ProbeImage(bytes);
    if (!header) {
        return;
    }
    Expect(header.value().format == format.format, "the probe reports the sniffed format");
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
    if (!MayShrink(format, options)) {
        Expect(image.width() == header.value().width && image.height() == header.value().height,
               "the probe and the decoder agree on the size");
    } else {
        // A scaling decoder never enlarges; a thumbnail is whatever size the file holds.
        Expect(format.shrink == ShrinkOnLoad::kThumbnail || format.shrink == ShrinkOnLoad::kPreview ||
                   (image.width() <= header.value().width && image.height() <= header.value().height),
               "shrink-on-load never enlarges");
        Expect(image.width() >= std::min(options.min_width, header.value().width) &&
                   image.height() >= std::min(options.min_height, header.value().height),
               "shrink-on-load keeps at least the size asked for");
    }
    // libraw 0.20 reads uninitialised stack in some damaged TIFF directories (valgrind shows it in
    // parse_tiff_ifd), so a damaged raw file's colour matrix, its pixels and even whether it decodes
    // change from one decode to the next: two decodes of it cannot be compared. The raw streaming
    // is compared with the whole decode on real files by the raw tests instead.
    if (format.format != ImageFormat::kRaw) {
        CheckStreamedDecode(bytes, options, image);
    }
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
