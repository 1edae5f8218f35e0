#include "exif/source_metadata.h"

#include "common/text.h"
#include "common/tiff_tags.h"
#include "exif/embedded_exif.h"
#include "exif/exif_reader.h"
#include "exif/jpeg_segments.h"
#include "exif/shot_date.h"

namespace pelimon {
namespace {}  // namespace

SourceMetadata ReadSourceMetadata(std::span<const uint8_t> file_bytes, std::time_t now) {
    SourceMetadata metadata;
    // A HEIF/AVIF, WebP or PNG file: its Exif block becomes the segment of a JPEG made of SOI and it.
    std::vector<uint8_t> embedded_jpeg;
    if (!StartsWithSoi(file_bytes)) {
        EmbeddedMetadata embedded = ReadEmbeddedMetadata(file_bytes);
        const std::vector<uint8_t> segment = ExifSegmentOfTiff(embedded.exif);
        embedded_jpeg = {0xFF, 0xD8};
        embedded_jpeg.insert(embedded_jpeg.end(), segment.begin(), segment.end());
        file_bytes = embedded_jpeg;
        metadata.icc_profile = std::move(embedded.icc_profile);
        metadata.nclx = embedded.nclx;
        metadata.decoder_orients = embedded.decoder_orients;
        metadata.xmp.assign(embedded.xmp.begin(), embedded.xmp.end());
        metadata.photoshop = std::move(embedded.photoshop);
    } else {
        const std::vector<JpegSegment> segments = WalkJpegSegments(file_bytes);
        metadata.icc_profile = ReadIccProfile(file_bytes, segments);
        metadata.xmp = ReadXmpPacket(file_bytes, segments);
        metadata.extended_xmp = ReadExtendedXmp(file_bytes, segments);
        metadata.photoshop = ReadPhotoshopPayload(file_bytes, segments);
    }

    CExifReader reader;
    reader.LoadTagTable();
    reader.SetFileBytes(file_bytes);
    if ((reader.CheckJpeg() & 2) == 0) {
        return metadata;
    }
    metadata.ExifLength = reader.m_nApp1Length;
    metadata.exif_segment = reader.ExifSegment();
    reader.ReadMainIFD();
    const uint32_t orientation = reader.MainIFDNumber(kTiffTagOrientation).value_or(1);
    metadata.Orientation =
        (orientation >= 1 && orientation <= 8 && !metadata.decoder_orients) ? static_cast<int>(orientation) : 1;
    if (reader.m_bSubIFD) {
        reader.ReadSubIFD();
        for (const ExifEntry& entry : reader.SubEntries()) {
            if (entry.tag == kExifTagDateTimeOriginal) {
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
