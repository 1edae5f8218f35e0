// CExifReader examines one JPEG file at a time: whether it is a JPEG, where its Exif APP1
// segment is, and the entries of IFD0, the Exif sub-IFD, the Interoperability IFD, the GPS IFD
// and IFD1, each with a display name and a display text of its value.
//
// Use: SetFileName (or SetFileBytes), CheckJpeg, then ReadMainIFD when CheckJpeg's bit 1 is set,
// ReadSubIFD when m_bSubIFD is set, ReadInteropIFD when m_bInterop is set, ReadGpsIFD when
// GpsIFDOffset() is not 0, ReadThumbnailIFD when ThumbnailIFDOffset() is not 0.
//
// Safety: CheckJpeg copies the Exif segment (at most 64 KB) and every later read stays inside
// that copy. An IFD offset outside the segment gives an empty list; an IFD that runs past the
// end keeps the entries that fit; an entry whose value lies outside the segment is skipped.
// Nothing is allocated beyond the segment's size and no IFD link is followed twice, so malformed
// files never crash, loop or exhaust memory.
//
// The reader is not thread-safe; use one per thread. The tag catalogue it names tags from is
// shared and immutable.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "exif/exif_entry.h"
#include "exif/tag_table.h"

namespace pelimon {

class CExifReader {
  public:
    CExifReader() = default;

    // Takes the tag catalogue compiled into the program. Returns 1. Without it every entry is
    // named "不明" and gets no value text.
    int LoadTagTable();

    // The next CheckJpeg examines this file. Clears everything learnt about the previous file.
    void SetFileName(const std::string& path);
    // The next CheckJpeg examines these bytes (a whole file in memory). They must stay valid
    // until CheckJpeg returns; the reader keeps only its own copy of the Exif segment.
    void SetFileBytes(std::span<const uint8_t> bytes);
    // A temporary would be gone before CheckJpeg reads it.
    void SetFileBytes(std::vector<uint8_t>&& bytes) = delete;

    // 0: not a JPEG (or the file cannot be read); 1: a JPEG without a usable Exif segment;
    // 3: a JPEG with one (bit 0 JPEG, bit 1 Exif). The Exif segment is the first APP1 before the
    // image data whose identifier is "Exif\0\0" and whose TIFF header says "II" or "MM", found
    // by following the segment lengths. Sets m_nTiffBase, m_nApp1Length and m_bLittleEndian.
    // A HEIF/HEIC, AVIF, WebP, PNG or TIFF file counts as a JPEG whose Exif segment holds its Exif
    // block (m_nTiffBase is then 12, as after SOI and the segment head); of a TIFF named by
    // SetFileName only its directories are read, however large its image data.
    int CheckJpeg();

    // Each read returns 1 when its IFD was found inside the segment, 0 otherwise (its list is
    // then empty). ReadMainIFD also learns the IFD1 and GPS IFD offsets; formatting IFD0 and the
    // sub-IFD sets the sub-IFD and Interoperability offsets and flags.
    int ReadMainIFD();
    int ReadSubIFD();
    int ReadInteropIFD();
    int ReadGpsIFD();
    int ReadThumbnailIFD();

    // Overwrites the value field of `tag` in the sub-IFD (or IFD0) of the reader's copy of the
    // Exif segment: a SHORT entry gets the low 16 bits and two zero bytes, a LONG entry 32 bits,
    // both in the file's byte order; type and count stay. False when the tag is not in that
    // IFD's list or its value is not a single inline SHORT or LONG. The file is never written:
    // callers take the patched segment from ExifSegment().
    bool WriteSubIFDValue(uint16_t tag, uint32_t value);
    bool WriteMainIFDValue(uint16_t tag, uint32_t value);

    // The numeric value of an IFD0 entry stored inline as BYTE, SHORT or LONG (the first one);
    // std::nullopt when the tag is absent or stored otherwise.
    std::optional<uint32_t> MainIFDNumber(uint16_t tag) const;

    // Entry lists, in stored order, of the last read of each IFD.
    const std::vector<ExifEntry>& MainEntries() const { return main_.entries; }
    const std::vector<ExifEntry>& SubEntries() const { return sub_.entries; }
    const std::vector<ExifEntry>& InteropEntries() const { return interop_.entries; }
    const std::vector<ExifEntry>& GpsEntries() const { return gps_.entries; }
    const std::vector<ExifEntry>& ThumbnailEntries() const { return thumbnail_.entries; }

    // IFD offsets from the TIFF header, as stored; 0 when not known.
    uint32_t GpsIFDOffset() const { return gps_offset_; }
    uint32_t ThumbnailIFDOffset() const { return thumbnail_offset_; }

    // The Exif APP1 segment from its 0xFF 0xE1 marker to its end, with any values written by
    // WriteSubIFDValue/WriteMainIFDValue; empty when CheckJpeg found none.
    const std::vector<uint8_t>& ExifSegment() const { return segment_; }

    // Looks `tag` up among the catalogue rows of `directory` (see FindTagIn); sets
    // list[index].name to the catalogue name or "不明". Returns the catalogue index or -1.
    int SetTagName(size_t index, uint16_t tag, std::vector<ExifEntry>& list, ExifDirectory directory) const;
    // Sets list[index].value from the value bytes by the rule of its tag when `table_index` is a
    // catalogue row (no text for -1). Whatever the catalogue, 0x8769 and 0xA005 store the sub-IFD
    // and Interoperability offsets and set their flags, 0x8825 of IFD0 stores the GPS IFD offset,
    // and 0x0115, 0x8827 and 0xA405 set m_nSpeed. Not for GPS IFD entries, whose texts depend on
    // each other (ReadGpsIFD formats them together).
    void FormatValue(size_t index, int table_index, std::span<const uint8_t> value, std::vector<ExifEntry>& list,
                     ExifDirectory directory);

    // Facts about the current file; read them, do not set them. All are reset for every file.
    int32_t m_nTiffBase = 12;      // file offset of the TIFF header ("II"/"MM")
    uint16_t m_nApp1Length = 0;    // length field of the Exif APP1 segment (counts itself)
    bool m_bLittleEndian = false;  // byte order: true for "II", false for "MM"
    uint32_t m_nSpeed = 0;         // last ISO speed formatted, for the brightness text
    bool m_bInterop = false;       // 0xA005 was seen
    bool m_bSubIFD = false;        // 0x8769 was seen

  private:
    struct Ifd {
        std::vector<ExifEntry> entries;
        std::vector<uint32_t> positions;  // offset of each entry's 12 bytes from the TIFF header
    };

    void ResetFile();
    std::span<const uint8_t> Tiff() const;
    int ReadIfd(Ifd& ifd, uint32_t offset, ExifDirectory directory);
    bool WriteValue(const Ifd& ifd, uint16_t tag, uint32_t value);

    const TagTable* tags_ = nullptr;
    std::string file_name_;
    std::optional<std::span<const uint8_t>> pending_bytes_;  // set by SetFileBytes until CheckJpeg
    std::vector<uint8_t> segment_;
    Ifd main_;
    Ifd sub_;
    Ifd interop_;
    Ifd gps_;
    Ifd thumbnail_;
    uint32_t sub_offset_ = 0;
    uint32_t interop_offset_ = 0;
    uint32_t gps_offset_ = 0;
    uint32_t thumbnail_offset_ = 0;
};

}  // namespace pelimon
