// The TIFF format's probe and metadata, read through the directories (tiff_structure.h) without
// libtiff: a probe reads IFD0 alone, wherever in the file it lies.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string_view>

#include "common/tiff_tags.h"
#include "imagelib/codec_support.h"
#include "imagelib/formats.h"
#include "imagelib/tiff_metadata.h"
#include "imagelib/tiff_structure.h"

namespace pelimon::imagelib_detail {

namespace {

constexpr int kPhotometricSeparated = 5;

Result<ImageHeader> ProbeTiffSource(const TiffSource& source) {
    const std::optional<TiffStructure> tiff = TiffStructure::Open(source);
    if (!tiff) {
        return UnsupportedError();
    }
    const std::optional<TiffDirectory> ifd0 =
        tiff->ReadDirectory(tiff->first_directory(), 16);  // the sizes, not the blocks
    if (!ifd0) {
        return CorruptError(imagelib_texts::kTiffNoDirectory);
    }
    const uint64_t width = tiff->Number(*ifd0, kTiffTagImageWidth).value_or(0);
    const uint64_t height = tiff->Number(*ifd0, kTiffTagImageLength).value_or(0);
    if (width == 0 || height == 0 || width > INT32_MAX || height > INT32_MAX) {
        return BadSizeError(static_cast<int64_t>(std::min<uint64_t>(width, INT64_MAX)),
                            static_cast<int64_t>(std::min<uint64_t>(height, INT64_MAX)));
    }
    return ImageHeader{ImageFormat::kTiff, static_cast<int>(width), static_cast<int>(height)};
}

struct FileClose {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// Wraps IPTC-IIM data sets as the one image resource (0x0404) of a Photoshop payload, as a JPEG's
// APP13 segment carries them.
Bytes PhotoshopPayloadOfIptc(ByteView iptc) {
    constexpr std::string_view kHeader("Photoshop 3.0\0", 14);
    Bytes payload(kHeader.begin(), kHeader.end());
    const auto size = static_cast<uint32_t>(iptc.size());
    const uint8_t resource[] = {'8',
                                'B',
                                'I',
                                'M',
                                0x04,
                                0x04,
                                0,
                                0,
                                static_cast<uint8_t>(size >> 24),
                                static_cast<uint8_t>(size >> 16),
                                static_cast<uint8_t>(size >> 8),
                                static_cast<uint8_t>(size)};
    payload.insert(payload.end(), std::begin(resource), std::end(resource));
    payload.insert(payload.end(), iptc.begin(), iptc.end());
    if (iptc.size() % 2 != 0) {
        payload.push_back(0);
    }
    return payload;
}

}  // namespace

Result<ImageHeader> ProbeTiff(ByteView bytes) {
    const MemoryTiffSource source(bytes);
    return ProbeTiffSource(source);
}

Result<ImageHeader> ProbeTiffFile(const std::string& path, ImageFormat /*format*/) {
    const std::unique_ptr<std::FILE, FileClose> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        return Error{imagelib_texts::NotReadable(std::strerror(errno)), path};
    }
    const FileTiffSource source(file.get());
    return ProbeTiffSource(source);
}

// The Exif block, XMP and ICC profile, and the IPTC data as a Photoshop payload (the file's own
// image resources when it has them). A CMYK file's profile is not passed on: its pixels are RGB
// once decoded.
void ReadTiffEmbeddedMetadata(ByteView bytes, EmbeddedMetadata& out) {
    TiffMetadata metadata = ReadTiffMetadata(bytes);
    out.exif = std::move(metadata.exif);
    out.xmp = std::move(metadata.xmp);
    if (metadata.photometric != kPhotometricSeparated) {
        out.icc_profile = std::move(metadata.icc_profile);
    }
    if (!metadata.photoshop.empty()) {
        constexpr std::string_view kHeader("Photoshop 3.0\0", 14);
        out.photoshop.assign(kHeader.begin(), kHeader.end());
        out.photoshop.insert(out.photoshop.end(), metadata.photoshop.begin(), metadata.photoshop.end());
    } else if (!metadata.iptc.empty()) {
        out.photoshop = PhotoshopPayloadOfIptc(metadata.iptc);
    }
}

}  // namespace pelimon::imagelib_detail
