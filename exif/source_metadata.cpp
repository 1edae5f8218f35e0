#include "exif/source_metadata.h"

#include "common/text.h"
#include "exif/exif_reader.h"
#include "exif/jpeg_segments.h"
#include "exif/shot_date.h"

namespace pelimon {
namespace {

constexpr uint16_t kTagOrientation = 0x0112;
constexpr uint16_t kTagDateTimeOriginal = 0x9003;

}  // namespace

SourceMetadata ReadSourceMetadata(std::span<const uint8_t> file_bytes, std::time_t now) {
    SourceMetadata metadata;
    if (!StartsWithSoi(file_bytes)) {
        return metadata;
    }
    const std::vector<JpegSegment> segments = WalkJpegSegments(file_bytes);
    metadata.icc_profile = ReadIccProfile(file_bytes, segments);
    metadata.xmp = ReadXmpPacket(file_bytes, segments);
    metadata.extended_xmp = ReadExtendedXmp(file_bytes, segments);
    metadata.photoshop = ReadPhotoshopPayload(file_bytes, segments);

    CExifReader reader;
    reader.LoadTagTable();
    reader.SetFileBytes(file_bytes);
    if ((reader.CheckJpeg() & 2) == 0) {
        return metadata;
    }
    metadata.ExifLength = reader.m_nApp1Length;
    metadata.exif_segment = reader.ExifSegment();
    reader.ReadMainIFD();
    const uint32_t orientation = reader.MainIFDNumber(kTagOrientation).value_or(1);
    metadata.Orientation = (orientation >= 1 && orientation <= 8) ? static_cast<int>(orientation) : 1;
    if (reader.m_bSubIFD) {
        reader.ReadSubIFD();
        for (const ExifEntry& entry : reader.SubEntries()) {
            if (entry.tag == kTagDateTimeOriginal) {
                metadata.ShotDate = entry.value;
            }
        }
    }
    // Cameras without a clock write a year of 0 (or blanks): the preparation time stands in.
    if (metadata.ShotDate != "0" && LeadingInt(std::string_view(metadata.ShotDate).substr(0, 4)) == 0) {
        metadata.ShotDate = FormatShotDate(now);
    }
    return metadata;
}

}  // namespace pelimon
