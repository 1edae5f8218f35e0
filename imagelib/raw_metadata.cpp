// The metadata of camera raw files. Most are TIFF structures whose directories hold the Exif
// (raw_exif.cpp); the others (RAF, CR3, CRW, MRW...) carry it in their embedded preview JPEG, which
// libraw finds.
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
        metadata.exif = PreviewExif(bytes);
    }
    out.exif = std::move(metadata.exif);
    out.xmp = std::move(metadata.xmp);
    out.decoder_orients = true;
}

}  // namespace pelimon::imagelib_detail
