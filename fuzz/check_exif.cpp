// Fuzz check: the Exif reader and the metadata transfer. The input is taken as a whole JPEG
// file in memory: CExifReader checks it and reads every IFD (also those its flags do not point
// to, since the reader must stay inside its copy of the segment whatever the call order), then
// the batch's metadata read and the output builder run on it.
#include <cstdint>
#include <ctime>
#include <span>
#include <vector>

#include "exif/exif_reader.h"
#include "exif/jpeg_segments.h"
#include "exif/output_metadata.h"
#include "exif/source_metadata.h"
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
    reader.ReadThumbnailIFD();
    (void)reader.MainIFDNumber(0x0112);

    const size_t segment_size = reader.ExifSegment().size();
    reader.WriteSubIFDValue(0xA002, 4000);
    reader.WriteSubIFDValue(0xA003, 3000);
    reader.WriteMainIFDValue(0x0112, 1);
    Expect(reader.ExifSegment().size() == segment_size, "writing a value never resizes the segment");
}

void CheckTransfer(std::span<const uint8_t> bytes) {
    const SourceMetadata source = ReadSourceMetadata(bytes, kNow);
    Expect(source.Orientation >= 1 && source.Orientation <= 8, "Orientation is 1..8");
    Expect(!source.ShotDate.empty(), "ShotDate is a date or \"0\"");
    Expect((source.ExifLength == 0) == source.exif_segment.empty(), "ExifLength is 0 exactly without Exif");

    // The input stands in for the encoder's file, so that the builder meets malformed JPEGs too.
    const MetadataTransfer transfer{
        .keep_exif = true,
        .output_width = static_cast<int>(bytes.size() % 5000),
        .output_height = 480,
        .pixels_rotated = bytes.size() % 2 == 1,
    };
    const std::vector<uint8_t> output = BuildOutputJpeg(bytes, source, transfer);
    if (!StartsWithSoi(bytes)) {
        Expect(output.size() == bytes.size(), "a non-JPEG passes through unchanged");
        return;
    }
    Expect(output.size() == bytes.size() + AddedMetadataBytes(source, transfer),
           "AddedMetadataBytes counts exactly what BuildOutputJpeg adds");
    // The copied segment is the first one the reader finds in the output.
    const SourceMetadata copied = ReadSourceMetadata(output, kNow);
    Expect(copied.exif_segment.size() == source.exif_segment.size(), "the output carries the Exif segment");
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
}

}  // namespace pelimon::fuzz
