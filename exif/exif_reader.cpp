#include "exif/exif_reader.h"

#include <cstdio>
#include <memory>

#include "common/atomic_file.h"
#include "common/tiff_tags.h"
#include "exif/embedded_exif.h"
#include "exif/exif_texts.h"
#include "exif/format_gps.h"
#include "exif/format_value.h"
#include "exif/jpeg_segments.h"
#include "exif/value_bytes.h"
#include "imagelib/format_table.h"
#include "imagelib/tiff_metadata.h"

namespace pelimon {
namespace {

// From the segment's marker to the TIFF header: marker 2, length 2, "Exif\0\0" 6.
constexpr size_t kTiffStart = 4 + kExifIdentifierSize;
constexpr size_t kEntrySize = 12;
// The smallest offset an IFD can have: it cannot overlap the 8-byte TIFF header.
constexpr uint32_t kMinIfdOffset = 8;
// JPEG files larger than this are not examined (no camera writes one).
constexpr size_t kMaxFileBytes = size_t{1} << 30;

bool Fits(std::span<const uint8_t> data, uint64_t offset, uint64_t size) {
    return offset <= data.size() && size <= data.size() - offset;
}

struct FileClose {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// The file, or of a TIFF, whose image data may run to gigabytes, a small TIFF holding its metadata
// (ReadTiffMetadataFile).
Result<std::string> ReadMetadataPart(const std::string& path) {
    const std::unique_ptr<std::FILE, FileClose> file(std::fopen(path.c_str(), "rb"));
    uint8_t prefix[8] = {};
    const size_t got = file ? std::fread(prefix, 1, sizeof prefix, file.get()) : 0;
    const FormatRow* format = FormatOfBytes(std::span<const uint8_t>(prefix, got));
    if (format == nullptr || format->source_metadata != MetadataPlace::kTiffDirectories) {
        return ReadWholeFile(path, kMaxFileBytes);
    }
    Result<Bytes> kept = ReadTiffMetadataFile(file.get());
    if (!kept) {
        return kept.error();
    }
    return std::string(kept.value().begin(), kept.value().end());
}

}  // namespace

int CExifReader::LoadTagTable() {
    tags_ = &BuiltinTagTable();
    return 1;
}

void CExifReader::ResetFile() {
    pending_bytes_.reset();
    segment_.clear();
    main_ = {};
    sub_ = {};
    interop_ = {};
    gps_ = {};
    thumbnail_ = {};
    sub_offset_ = 0;
    interop_offset_ = 0;
    gps_offset_ = 0;
    thumbnail_offset_ = 0;
    m_nTiffBase = 12;
    m_nApp1Length = 0;
    m_bLittleEndian = false;
    m_nSpeed = 0;
    m_bInterop = false;
    m_bSubIFD = false;
}

void CExifReader::SetFileName(const std::string& path) {
    ResetFile();
    file_name_ = path;
}

void CExifReader::SetFileBytes(std::span<const uint8_t> bytes) {
    ResetFile();
    file_name_.clear();
    pending_bytes_ = bytes;
}

int CExifReader::CheckJpeg() {
    const std::optional<std::span<const uint8_t>> given = pending_bytes_;
    ResetFile();
    std::string read_bytes;
    std::span<const uint8_t> file;
    if (given) {
        file = *given;
    } else {
        Result<std::string> read = ReadMetadataPart(file_name_);
        if (!read) {
            return 0;
        }
        read_bytes = std::move(read).value();
        file = {reinterpret_cast<const uint8_t*>(read_bytes.data()), read_bytes.size()};
    }
    // A HEIF/HEIC, AVIF or WebP file is read through its Exif block seen as a JPEG's APP1 segment.
    const std::vector<uint8_t> embedded = StartsWithSoi(file) ? std::vector<uint8_t>{} : EmbeddedExifAsJpeg(file);
    if (!embedded.empty()) {
        file = embedded;
    }
    if (!StartsWithSoi(file)) {
        return 0;
    }
    const std::vector<JpegSegment> segments = WalkJpegSegments(file);
    const std::optional<JpegSegment> exif = FindExifSegment(file, segments);
    if (!exif) {
        return 1;
    }
    const std::span<const uint8_t> whole = exif->Whole(file);
    segment_.assign(whole.begin(), whole.end());
    m_nTiffBase = static_cast<int32_t>(exif->offset + kTiffStart);
    m_nApp1Length = exif->length;
    m_bLittleEndian = segment_[kTiffStart] == 'I';
    return 3;
}

std::span<const uint8_t> CExifReader::Tiff() const {
    return segment_.empty() ? std::span<const uint8_t>() : std::span<const uint8_t>(segment_).subspan(kTiffStart);
}

int CExifReader::ReadMainIFD() {
    main_ = {};
    thumbnail_offset_ = 0;
    // Offsets and flags learnt from IFD0 must not survive from an earlier read.
    sub_offset_ = 0;
    interop_offset_ = 0;
    gps_offset_ = 0;
    m_bSubIFD = false;
    m_bInterop = false;
    const std::span<const uint8_t> tiff = Tiff();
    if (tiff.size() < kTiffHeaderSize) {
        return 0;
    }
    const uint32_t offset = GetLong(tiff.data() + 4, m_bLittleEndian);
    if (ReadIfd(main_, offset, ExifDirectory::kMain) == 0) {
        return 0;
    }
    // The link to IFD1 follows the last entry; an IFD that did not fit whole has no usable link.
    const uint64_t link = uint64_t{offset} + 2 + kEntrySize * GetShort(tiff.data() + offset, m_bLittleEndian);
    if (Fits(tiff, link, 4)) {
        thumbnail_offset_ = GetLong(tiff.data() + link, m_bLittleEndian);
    }
    return 1;
}

int CExifReader::ReadSubIFD() {
    return ReadIfd(sub_, sub_offset_, ExifDirectory::kSub);
}

int CExifReader::ReadInteropIFD() {
    return ReadIfd(interop_, interop_offset_, ExifDirectory::kInterop);
}

int CExifReader::ReadGpsIFD() {
    return ReadIfd(gps_, gps_offset_, ExifDirectory::kGps);
}

int CExifReader::ReadThumbnailIFD() {
    return ReadIfd(thumbnail_, thumbnail_offset_, ExifDirectory::kThumbnail);
}

int CExifReader::ReadIfd(Ifd& ifd, uint32_t offset, ExifDirectory directory) {
    ifd = {};
    const std::span<const uint8_t> tiff = Tiff();
    if (offset < kMinIfdOffset || !Fits(tiff, offset, 2)) {
        return 0;
    }
    const uint16_t stored_count = GetShort(tiff.data() + offset, m_bLittleEndian);
    const size_t fitting = (tiff.size() - offset - 2) / kEntrySize;
    const size_t count = std::min<size_t>(stored_count, fitting);
    ifd.entries.reserve(count);
    ifd.positions.reserve(count);
    // GPS values are formatted together once the directory is read (a latitude needs its N/S).
    std::vector<std::span<const uint8_t>> gps_values;
    for (size_t i = 0; i < count; ++i) {
        const size_t pos = offset + 2 + kEntrySize * i;
        ExifEntry entry;
        entry.tag = GetShort(tiff.data() + pos, m_bLittleEndian);
        entry.type = GetShort(tiff.data() + pos + 2, m_bLittleEndian);
        entry.unit_size = TypeSize(entry.type);
        entry.count = GetLong(tiff.data() + pos + 4, m_bLittleEndian);
        const uint64_t length = uint64_t{entry.unit_size} * entry.count;
        std::span<const uint8_t> value = tiff.subspan(pos + 8, 4);
        if (length > 4 && entry.tag != kExifTagMakerNote) {
            const uint32_t value_offset = GetLong(value.data(), m_bLittleEndian);
            if (!Fits(tiff, value_offset, length)) {
                continue;  // the value lies outside the segment: the entry is not shown
            }
            value = tiff.subspan(value_offset, static_cast<size_t>(length));
        }
        ifd.entries.push_back(std::move(entry));
        ifd.positions.push_back(static_cast<uint32_t>(pos));
        const size_t index = ifd.entries.size() - 1;
        const int table_index = SetTagName(index, ifd.entries[index].tag, ifd.entries, directory);
        if (directory == ExifDirectory::kGps) {
            gps_values.push_back(table_index >= 0 ? value : std::span<const uint8_t>());
        } else {
            FormatValue(index, table_index, value, ifd.entries, directory);
        }
    }
    if (directory == ExifDirectory::kGps && tags_) {
        FormatGpsValues(ifd.entries, gps_values, m_bLittleEndian);
    }
    return 1;
}

int CExifReader::SetTagName(size_t index, uint16_t tag, std::vector<ExifEntry>& list, ExifDirectory directory) const {
    const int found = tags_ ? FindTagIn(*tags_, directory, tag) : -1;
    list[index].name = found >= 0 ? tags_->names[static_cast<size_t>(found)] : std::string(exif_texts::kUnknown);
    return found;
}

void CExifReader::FormatValue(size_t index, int table_index, std::span<const uint8_t> value,
                              std::vector<ExifEntry>& list, ExifDirectory directory) {
    ExifEntry& entry = list[index];
    const ValueBytes bytes(value, m_bLittleEndian, entry.unit_size);
    // The pointers are followed whether or not the catalogue is loaded: the structure of the
    // file does not depend on the names shown for it.
    switch (entry.tag) {
        case kTiffTagExifIfd:
            sub_offset_ = bytes.Long(0);
            m_bSubIFD = true;
            break;
        case kExifTagInteropIfd:
            interop_offset_ = bytes.Long(0);
            m_bInterop = true;
            break;
        case kTiffTagGpsIfd:
            // Only IFD0's pointer is the file's location (the one location removal takes out).
            if (directory == ExifDirectory::kMain) {
                gps_offset_ = bytes.Long(0);
            }
            break;
        case 0x0115:
        case 0x8827:
        case 0xA405:
            m_nSpeed = bytes.Number();
            break;
        default:
            break;
    }
    if (table_index >= 0 && tags_) {
        entry.value = FormatTagValue(entry, value, m_bLittleEndian, m_nSpeed);
    }
}

bool CExifReader::WriteSubIFDValue(uint16_t tag, uint32_t value) {
    return WriteValue(sub_, tag, value);
}

bool CExifReader::WriteMainIFDValue(uint16_t tag, uint32_t value) {
    return WriteValue(main_, tag, value);
}

bool CExifReader::WriteValue(const Ifd& ifd, uint16_t tag, uint32_t value) {
    for (size_t i = 0; i < ifd.entries.size(); ++i) {
        const ExifEntry& entry = ifd.entries[i];
        if (entry.tag != tag) {
            continue;
        }
        if (entry.count != 1 || (entry.type != 3 && entry.type != 4)) {
            return false;
        }
        uint8_t* field = segment_.data() + kTiffStart + ifd.positions[i] + 8;
        if (entry.type == 3) {
            // A SHORT fills the field's first two bytes; the other two become zero.
            PutShort(field, static_cast<uint16_t>(value), m_bLittleEndian);
            field[2] = 0;
            field[3] = 0;
        } else {
            PutLong(field, value, m_bLittleEndian);
        }
        return true;
    }
    return false;
}

std::optional<uint32_t> CExifReader::MainIFDNumber(uint16_t tag) const {
    for (size_t i = 0; i < main_.entries.size(); ++i) {
        const ExifEntry& entry = main_.entries[i];
        const bool inline_number = (entry.type == 1 || entry.type == 3 || entry.type == 4) && entry.count >= 1 &&
                                   uint64_t{entry.unit_size} * entry.count <= 4;
        if (entry.tag == tag && inline_number) {
            const ValueBytes bytes(Tiff().subspan(main_.positions[i] + 8, 4), m_bLittleEndian, entry.unit_size);
            return bytes.Number();
        }
    }
    return std::nullopt;
}

}  // namespace pelimon
