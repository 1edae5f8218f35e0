#include "exif/source_metadata.h"

#include <algorithm>

#include "common/text.h"
#include "exif/exif_reader.h"
#include "exif/jpeg_segments.h"
#include "exif/shot_date.h"

namespace pelimon {
namespace {

constexpr uint16_t kTagOrientation = 0x0112;
constexpr uint16_t kTagDateTimeOriginal = 0x9003;
constexpr uint16_t kTagPixelXDimension = 0xA002;
constexpr uint16_t kTagPixelYDimension = 0xA003;

// The source's Exif segment with the output's pixel size and, for turned pixels, an upright
// orientation. A segment the reader cannot parse is copied as it is.
std::vector<uint8_t> PatchedExifSegment(const std::vector<uint8_t>& segment, const MetadataTransfer& transfer) {
    std::vector<uint8_t> file = {0xFF, 0xD8};
    file.insert(file.end(), segment.begin(), segment.end());
    CExifReader reader;
    reader.SetFileBytes(file);
    if (reader.CheckJpeg() != 3 || reader.ExifSegment().size() != segment.size()) {
        return segment;
    }
    reader.ReadMainIFD();
    if (transfer.pixels_rotated) {
        reader.WriteMainIFDValue(kTagOrientation, 1);
    }
    if (reader.m_bSubIFD && reader.ReadSubIFD() != 0) {
        reader.WriteSubIFDValue(kTagPixelXDimension, static_cast<uint32_t>(std::max(transfer.output_width, 0)));
        reader.WriteSubIFDValue(kTagPixelYDimension, static_cast<uint32_t>(std::max(transfer.output_height, 0)));
    }
    return reader.ExifSegment();
}

bool CopiesExif(const SourceMetadata& source, const MetadataTransfer& transfer) {
    return transfer.keep_exif && !source.exif_segment.empty();
}

}  // namespace

SourceMetadata ReadSourceMetadata(std::span<const uint8_t> file_bytes, std::time_t now) {
    SourceMetadata metadata;
    if (!StartsWithSoi(file_bytes)) {
        return metadata;
    }
    metadata.icc_profile = ReadIccProfile(file_bytes, WalkJpegSegments(file_bytes));

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

std::vector<uint8_t> BuildOutputJpeg(std::span<const uint8_t> encoded_jpeg, const SourceMetadata& source,
                                     const MetadataTransfer& transfer) {
    if (!StartsWithSoi(encoded_jpeg)) {
        // Not a JPEG: there is no place to put metadata, the bytes go out as they are.
        return {encoded_jpeg.begin(), encoded_jpeg.end()};
    }
    std::vector<uint8_t> out;
    out.reserve(encoded_jpeg.size() + AddedMetadataBytes(source, transfer));
    out.insert(out.end(), encoded_jpeg.begin(), encoded_jpeg.begin() + 2);
    if (CopiesExif(source, transfer)) {
        const std::vector<uint8_t> exif = PatchedExifSegment(source.exif_segment, transfer);
        out.insert(out.end(), exif.begin(), exif.end());
    }
    const std::vector<uint8_t> icc = BuildIccSegments(source.icc_profile);
    out.insert(out.end(), icc.begin(), icc.end());
    out.insert(out.end(), encoded_jpeg.begin() + 2, encoded_jpeg.end());
    return out;
}

size_t AddedMetadataBytes(const SourceMetadata& source, const MetadataTransfer& transfer) {
    return (CopiesExif(source, transfer) ? source.exif_segment.size() : 0) +
           BuildIccSegments(source.icc_profile).size();
}

}  // namespace pelimon
