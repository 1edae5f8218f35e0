// Fuzz check for the HEIF/HEIC/AVIF and WebP paths: the header probe, the decode with the reduced
// preview (shrink-on-load, a HEIF's thumbnail), the metadata blocks as the batch reads them and
// carries them (NoLocation off and on), and the colour profile through lcms2. Inputs whose signature is another
// format's are ignored.
#include <algorithm>
#include <cstdint>
#include <span>
#include <string_view>

#include "exif/output_metadata.h"
#include "exif/source_metadata.h"
#include "exif/tiff_block.h"
#include "exif/xmp_packet.h"
#include "fuzz/fuzz_checks.h"
#include "fuzz/fuzz_support.h"
#include "imagelib/colour.h"
#include "imagelib/embedded_metadata.h"
#include "imagelib/imagelib.h"

namespace pelimon::fuzz {

namespace {

// As for the other decoders: images that would decode larger than this are only probed.
constexpr int64_t kMaxFuzzPixels = int64_t{4} << 20;
constexpr std::time_t kNow = 1700000000;

bool IsFormat(ImageFormat wanted, ImageFormat sniffed) {
    if (wanted == ImageFormat::kHeif) {
        return sniffed == ImageFormat::kHeif || sniffed == ImageFormat::kAvif;
    }
    return sniffed == wanted;
}

// The reduced preview's options, chosen by the input's last byte: 0..8 eighths of the source as
// the minimum, bit 0x40 allows a thumbnail.
DecodeOptions OptionsFor(std::span<const uint8_t> bytes, const ImageHeader& header) {
    const unsigned selector = bytes.empty() ? 0u : bytes.back();
    const int eighths = static_cast<int>(selector % 9);
    DecodeOptions options;
    if (eighths != 0) {
        options.min_width = std::max(1, (header.width * eighths + 7) / 8);
        options.min_height = std::max(1, (header.height * eighths + 7) / 8);
    }
    options.allow_thumbnail = (selector & 0x40u) != 0;
    return options;
}

void CheckMetadata(std::span<const uint8_t> bytes) {
    const EmbeddedMetadata embedded = ReadEmbeddedMetadata(bytes);
    Expect(embedded.exif.empty() || TiffHeaderOffset(embedded.exif) == size_t{0}, "Exif starts at its TIFF header");
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

}  // namespace

void CheckModernInput(ImageFormat format, std::span<const uint8_t> bytes) {
    if (!IsFormat(format, SniffFormat(bytes))) {
        return;
    }
    CheckMetadata(bytes);
    const Result<ImageHeader> header = ProbeImage(bytes);
    if (!header) {
        return;
    }
    Expect(IsFormat(format, header.value().format), "the probe reports the sniffed format");
    if (int64_t{header.value().width} * header.value().height > kMaxFuzzPixels) {
        return;
    }
    const DecodeOptions options = OptionsFor(bytes, header.value());
    Image image;
    if (!DecodeChecked(bytes, options, image)) {
        return;
    }
    const bool shrinks = options.min_width > 0 && (format == ImageFormat::kWebp || options.allow_thumbnail);
    if (!shrinks) {
        Expect(image.width() == header.value().width && image.height() == header.value().height,
               "the probe and the decoder agree on the size");
    } else {
        Expect(image.width() >= std::min(options.min_width, header.value().width) &&
                   image.height() >= std::min(options.min_height, header.value().height),
               "a reduced decode keeps at least the size asked for");
    }
}

}  // namespace pelimon::fuzz
