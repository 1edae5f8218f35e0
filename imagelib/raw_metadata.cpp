// The metadata of camera raw files. Most are TIFF structures whose directories hold the Exif
// (raw_exif.cpp); a CR3 file keeps those directories in boxes of its own; the others (RAF, CRW,
// MRW...) carry it in their embedded preview JPEG, which libraw finds (a RAF names its own). The
// batch reads only the start of a file that holds what these read (RawMetadataExtent).
#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

#include "common/tiff_tags.h"
#include "imagelib/codec_support.h"
#include "imagelib/embedded_metadata.h"
#include "imagelib/format_table.h"
#include "imagelib/formats.h"
#include "imagelib/raw_exif.h"
#include "imagelib/raw_metadata.h"
#include "imagelib/raw_session.h"
#include "imagelib/tiff_structure.h"

namespace pelimon::imagelib_detail {

namespace {

// The TIFF block of the APP1 Exif segment among the segments before a JPEG's first scan.
Bytes ExifOfJpeg(ByteView jpeg) {
    size_t at = 2;
    while (at + 4 <= jpeg.size() && jpeg[at] == 0xFF) {
        const uint8_t marker = jpeg[at + 1];
        const size_t length = ReadBe16(jpeg, at + 2);
        if (marker == 0xDA || length < 2 || at + 2 + length > jpeg.size()) {
            break;
        }
        const ByteView payload = jpeg.subspan(at + 4, length - 2);
        if (marker == 0xE1 && TiffHeaderOffset(payload) == size_t{6}) {
            return Bytes(payload.begin() + 6, payload.end());
        }
        at += 2 + length;
    }
    return {};
}

// The payload of the first box of type `type` among the ISO base media boxes of `bytes`; empty
// when there is none that fits.
ByteView FindBox(ByteView bytes, std::string_view type) {
    size_t at = 0;
    while (at + 8 <= bytes.size()) {
        uint64_t size = ReadBe32(bytes, at);
        size_t header = 8;
        if (size == 1) {
            size = uint64_t{ReadBe32(bytes, at + 8)} << 32 | ReadBe32(bytes, at + 12);
            header = 16;
        } else if (size == 0) {
            size = bytes.size() - at;
        }
        if (size < header || size > bytes.size() - at) {
            break;
        }
        if (std::equal(type.begin(), type.end(), bytes.begin() + static_cast<long>(at + 4))) {
            return bytes.subspan(at + header, static_cast<size_t>(size) - header);
        }
        at += static_cast<size_t>(size);
    }
    return {};
}

// A CR3 file keeps its first directory, Exif directory and GPS directory as TIFF structures in the
// CMT1, CMT2 and CMT4 boxes of Canon's 'uuid' box inside 'moov'.
Bytes Cr3Exif(ByteView bytes) {
    constexpr uint8_t kCanonUuid[16] = {0x85, 0xC0, 0xB6, 0x87, 0x82, 0x0F, 0x11, 0xE0,
                                        0x81, 0x11, 0xF4, 0xCE, 0x46, 0x2B, 0x6A, 0x48};
    const ByteView uuid = FindBox(FindBox(bytes, "moov"), "uuid");
    if (uuid.size() < sizeof kCanonUuid || !std::equal(std::begin(kCanonUuid), std::end(kCanonUuid), uuid.begin())) {
        return {};
    }
    const ByteView boxes = uuid.subspan(sizeof kCanonUuid);
    return CombineTiffDirectories(FindBox(boxes, "CMT1"), FindBox(boxes, "CMT2"), FindBox(boxes, "CMT4"));
}

// A RAF file names its embedded JPEG, which holds the Exif, at byte 84: offset and length.
Bytes RafExif(ByteView bytes) {
    constexpr size_t kJpegPointer = 84;
    const size_t offset = ReadBe32(bytes, kJpegPointer);
    const size_t length = ReadBe32(bytes, kJpegPointer + 4);
    if (bytes.size() < kJpegPointer + 8 || offset > bytes.size() || length > bytes.size() - offset) {
        return {};
    }
    return ExifOfJpeg(bytes.subspan(offset, length));
}

// The Exif of the preview JPEG libraw finds.
Bytes PreviewExif(ByteView bytes) {
    RawSession session;
    if (!session.Open(bytes) || session.UnpackPreview() != LIBRAW_SUCCESS) {
        return {};
    }
    const libraw_thumbnail_t& thumbnail = session.raw().imgdata.thumbnail;
    if (thumbnail.tformat != LIBRAW_THUMBNAIL_JPEG || thumbnail.thumb == nullptr) {
        return {};
    }
    return ExifOfJpeg(ByteView(reinterpret_cast<const uint8_t*>(thumbnail.thumb), thumbnail.tlength));
}

}  // namespace

void ReadRawMetadata(ByteView bytes, EmbeddedMetadata& out) {
    TiffMetadata metadata = ReadTiffStructureMetadata(bytes);
    constexpr std::string_view kRafMagic = "FUJIFILM";
    if (metadata.exif.empty() && bytes.size() > kRafMagic.size() &&
        std::equal(kRafMagic.begin(), kRafMagic.end(), bytes.begin())) {
        metadata.exif = RafExif(bytes);
    }
    if (metadata.exif.empty()) {
        metadata.exif = Cr3Exif(bytes);
    }
    if (metadata.exif.empty()) {
        metadata.exif = PreviewExif(bytes);
    }
    out.exif = std::move(metadata.exif);
    out.xmp = std::move(metadata.xmp);
    out.decoder_orients = true;
}

}  // namespace pelimon::imagelib_detail

namespace pelimon {

using namespace imagelib_detail;

namespace {

// Where the preview libraw finds in `file` ends, when it ends within `limit`; else 0.
uint64_t PreviewEnd(std::FILE* file, uint64_t limit) {
    RawSession session;
    if (!session.OpenDescriptor(fileno(file))) {
        return 0;
    }
    LibRaw& raw = session.raw();
    const int64_t offset = raw.get_internal_data_pointer()->internal_data.toffset;
    const uint64_t end = static_cast<uint64_t>(std::max<int64_t>(offset, 0)) + raw.imgdata.thumbnail.tlength;
    return raw.imgdata.thumbnail.tlength > 0 && end <= limit ? end : 0;
}

}  // namespace

uint64_t RawMetadataExtent(std::FILE* file) {
    const FileTiffSource source(file);
    const uint64_t whole = std::min<uint64_t>(source.size(), kMaxFileStartMetadataBytes);
    std::array<uint8_t, 4> header{};
    if (!source.ReadAt(0, header) || header[0] != header[1] || (header[0] != 'I' && header[0] != 'M')) {
        return whole;
    }
    // Any magic number: raw formats (ORF, RW2) have their own.
    const bool little = header[0] == 'I';
    const uint16_t magics[] = {static_cast<uint16_t>(little ? header[2] | header[3] << 8 : header[2] << 8 | header[3])};
    const std::optional<TiffStructure> tiff = TiffStructure::Open(source, magics);
    if (!tiff || tiff->big_tiff()) {
        return whole;
    }
    uint64_t end = 8;
    // Takes in the directory at `offset` and its values as ReadTiffStructureMetadata reads them.
    const auto take = [&](uint64_t offset) -> std::optional<TiffDirectory> {
        std::array<uint8_t, 2> count{};
        std::optional<TiffDirectory> directory = tiff->ReadDirectory(offset, kMaxRawExifValueBytes);
        if (!directory || !source.ReadAt(offset, count)) {
            return std::nullopt;
        }
        const uint64_t low = little ? count[0] : count[1];
        const uint64_t high = little ? count[1] : count[0];
        const uint64_t entries = high << 8 | low;
        end = std::max(end, offset + 2 + 12 * entries + 4);
        for (const TiffEntry& entry : directory->entries) {
            if (entry.value_offset != 0 && !entry.value.empty()) {
                end = std::max(end, entry.value_offset + entry.value.size());
            }
        }
        return directory;
    };
    const std::optional<TiffDirectory> ifd0 = take(tiff->first_directory());
    const std::optional<uint64_t> exif_offset = ifd0 ? tiff->Number(*ifd0, kTiffTagExifIfd) : std::nullopt;
    const std::optional<TiffDirectory> exif = exif_offset ? take(*exif_offset) : std::nullopt;
    const bool describes = exif && std::any_of(exif->entries.begin(), exif->entries.end(), [](const TiffEntry& entry) {
                               return entry.tag != kExifTagMakerNote && entry.tag != kExifTagInteropIfd;
                           });
    if (!describes) {
        return std::max(end, PreviewEnd(file, whole));  // the Exif may then come from the preview
    }
    if (const std::optional<uint64_t> gps_offset = tiff->Number(*ifd0, kTiffTagGpsIfd)) {
        take(*gps_offset);
    }
    return std::min(end, whole);
}

}  // namespace pelimon
