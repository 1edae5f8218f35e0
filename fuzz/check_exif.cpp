// Fuzz check: the Exif reader and the metadata transfer. The input is taken as a whole JPEG
// file in memory: CExifReader checks it and reads every IFD (also those its flags do not point
// to, since the reader must stay inside its copy of the segment whatever the call order), then
// the batch's metadata read, the output metadata with NoLocation off and on (location kept or
// removed, thumbnail, XMP and IPTC checks) and its placement run on it, and the block editors
// run on the raw bytes.
#include <algorithm>
#include <cstdint>
#include <ctime>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "exif/exif_reader.h"
#include "exif/jpeg_segments.h"
#include "exif/output_metadata.h"
#include "exif/photoshop_block.h"
#include "exif/source_metadata.h"
#include "exif/tiff_block.h"
#include "exif/xmp_packet.h"
#include "fuzz/fuzz_checks.h"
#include "fuzz/fuzz_support.h"

namespace pelimon::fuzz {

namespace {

constexpr std::time_t kNow = 1'700'000'000;  // a fixed "now", so that every run is reproducible

void ReadEverything(CExifReader& reader, std::span<const uint8_t> bytes) {
    reader.SetFileBytes(bytes);
    const int kind = reader.CheckJpeg();
    Expect(kind == 0 || kind == 1 || kind == 3, "CheckJpeg returns 0, 1 or 3");
    Expect(kind == 3 || reader.ExifSegment().empty(), "only an Exif JPEG has an Exif segment");
    Expect(reader.ExifSegment().size() <= bytes.size(), "the segment is a part of the file");
    reader.ReadMainIFD();
    reader.ReadSubIFD();
    reader.ReadInteropIFD();
    reader.ReadGpsIFD();
    reader.ReadThumbnailIFD();
    (void)reader.MainIFDNumber(0x0112);

    const size_t segment_size = reader.ExifSegment().size();
    reader.WriteSubIFDValue(0xA002, 4000);
    reader.WriteSubIFDValue(0xA003, 3000);
    reader.WriteMainIFDValue(0x0112, 1);
    Expect(reader.ExifSegment().size() == segment_size, "writing a value never resizes the segment");
}

// The block editors on the raw input: as a TIFF block, an XMP packet and a Photoshop payload.
void CheckBlockEditors(std::span<const uint8_t> bytes) {
    TiffBlock block({bytes.begin(), bytes.end()});
    if (block.valid()) {
        (void)block.GpsIsSound();
        block.RemoveGps();
        Expect(block.GpsIfdOffset() == 0, "RemoveGps leaves no GPS pointer");
        const std::vector<uint8_t> thumbnail(bytes.size() % 300, 0xD8);
        block.ReplaceThumbnail(thumbnail, 160, 120, kMaxExifBlock);
        Expect(block.bytes().size() <= std::max(bytes.size(), kMaxExifBlock),
               "a thumbnail never grows a block too far");
        block.DropIfd1();
        Expect(block.Ifd1Offset() == 0, "DropIfd1 unlinks IFD1");
    }
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (const std::optional<std::string> edited = RemoveXmpProperties(text, kXmpLocation | kXmpGainMap)) {
        Expect(IsWellFormedXmp(*edited), "an edited packet stays well-formed");
        Expect(!XmpHasProperties(*edited, kXmpLocation | kXmpGainMap), "an edited packet holds none of the removed");
    }
    if (const std::optional<std::vector<uint8_t>> edited = RemoveIptcLocation(bytes)) {
        Expect(IsWellFormedPhotoshop(*edited), "an edited Photoshop block stays well-formed");
        Expect(RemoveIptcLocation(*edited) == edited, "an edited Photoshop block holds no location");
    }
}

// The output metadata of one source for one NoLocation setting, and its placement in a JPEG and a
// PNG output.
void CheckOutputMetadata(std::span<const uint8_t> bytes, const SourceMetadata& source, bool no_location) {
    MetadataTransfer transfer;
    transfer.keep_exif = true;
    transfer.output_width = static_cast<int>(bytes.size() % 5000);
    transfer.output_height = 480;
    transfer.pixels_rotated = bytes.size() % 2 == 1;
    transfer.no_location = no_location;
    // Thumbnails of every size up to one that cannot fit beside the block.
    transfer.make_thumbnail = [size = bytes.size()] {
        return ExifThumbnail{std::vector<uint8_t>((size * 7919) % 70000, 0x5A), 160, 120};
    };
    const OutputMetadata metadata = BuildOutputMetadata(source, transfer);
    Expect(metadata.exif.size() <= std::max(kMaxExifBlock, source.exif_segment.size()),
           "the Exif block fits in an APP1 segment");
    const std::string_view xmp = AsText(metadata.xmp);
    Expect(!XmpHasProperties(xmp, kXmpGainMap), "no output describes a gain map");
    if (no_location) {
        Expect(TiffBlock(metadata.exif).GpsIfdOffset() == 0, "no GPS IFD with no_location");
        Expect(!XmpHasProperties(xmp, kXmpLocation), "no XMP location with no_location");
        Expect(metadata.photoshop.empty() || RemoveIptcLocation(metadata.photoshop) == metadata.photoshop,
               "no IPTC location with no_location");
    } else {
        Expect(metadata.xmp.empty() || RemoveXmpProperties(AsText(source.xmp), kXmpGainMap) == xmp,
               "XMP is kept as it is (less a gain map's description) or left out");
        Expect(metadata.photoshop.empty() || metadata.photoshop == source.photoshop,
               "IPTC is kept as it is or left out");
        if (source.exif_segment.size() > 10) {
            const TiffBlock original({source.exif_segment.begin() + 10, source.exif_segment.end()});
            Expect(!original.valid() || !original.GpsIsSound() ||
                       TiffBlock(metadata.exif).GpsIfdOffset() == original.GpsIfdOffset(),
                   "a sound GPS IFD stays without no_location");
        }
    }
    const Image pixels(8, 8);
    Expect(EncodePng(pixels, {.metadata = BlocksOf(metadata)}).ok(), "a PNG output takes any blocks");
    OutputMetadata in_segments = metadata;
    FitInJpegSegments(in_segments);
    const Result<Bytes> output = EncodeJpeg(pixels, {.metadata = BlocksOf(in_segments)});
    Expect(output.ok(), "a JPEG output takes the blocks that fit in its segments");
    // The placed block is the first one the reader finds in the output.
    if (!in_segments.exif.empty()) {
        const SourceMetadata copied = ReadSourceMetadata(output.value(), kNow);
        Expect(copied.exif_segment.size() == in_segments.exif.size() + 10, "the output carries the Exif block");
    }
}

void CheckTransfer(std::span<const uint8_t> bytes) {
    const SourceMetadata source = ReadSourceMetadata(bytes, kNow);
    Expect(source.Orientation >= 1 && source.Orientation <= 8, "Orientation is 1..8");
    Expect(!source.ShotDate.empty(), "ShotDate is a date or \"0\"");
    Expect((source.ExifLength == 0) == source.exif_segment.empty(), "ExifLength is 0 exactly without Exif");

    // Both ways of NoLocation on every input: what one keeps, the other must remove.
    for (const bool no_location : {false, true}) {
        CheckOutputMetadata(bytes, source, no_location);
    }
}

}  // namespace

void CheckExifInput(std::span<const uint8_t> bytes) {
    CExifReader reader;
    reader.LoadTagTable();
    ReadEverything(reader, bytes);
    // The same reader on a truncated copy: nothing learnt from the whole file may leak into it.
    const std::vector<uint8_t> truncated(bytes.begin(),
                                         bytes.begin() + static_cast<std::ptrdiff_t>(bytes.size() * 3 / 4));
    ReadEverything(reader, truncated);
    CheckTransfer(bytes);
    CheckBlockEditors(bytes);
}

}  // namespace pelimon::fuzz
