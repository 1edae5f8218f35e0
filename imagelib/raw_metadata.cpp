// The metadata of camera raw files. Most are TIFF structures whose directories hold the Exif
// (raw_exif.cpp); a CR3 file keeps those directories in boxes of its own; the others (RAF, CRW,
// MRW...) carry it in their embedded preview JPEG, which libraw finds (a RAF names its own).
#include <algorithm>
#include <string_view>

#include "imagelib/codec_support.h"
#include "imagelib/embedded_metadata.h"
#include "imagelib/formats.h"
#include "imagelib/raw_exif.h"
#include "imagelib/raw_session.h"

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
