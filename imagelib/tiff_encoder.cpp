// TIFF encoding with libtiff to memory: 8-bit RGB in strips of about 64 KB, Deflate with the
// horizontal predictor (lossless, and a third smaller than LZW on photographs), 72 dpi. The ICC
// profile, XMP and the Photoshop image resources (IPTC) are tags of IFD0; the Exif block's
// descriptive tags join IFD0 and its Exif, Interoperability and GPS IFDs follow it, in the byte
// order of the Exif block, which the whole file takes.
#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

#include "imagelib/codec_support.h"
#include "imagelib/tiff_metadata.h"
#include "imagelib/tiff_structure.h"
#include "imagelib/tiff_support.h"

namespace pelimon {

using namespace imagelib_detail;

namespace {

constexpr size_t kStripBytes = size_t{64} << 10;
constexpr int kDeflateLevel = 6;
constexpr std::string_view kPhotoshopHeader("Photoshop 3.0\0", 14);

// IFD0 as libtiff wrote it, with the Exif block's IFD0 entries it lacks and the block's other
// directories, written anew at the end of the file; the image data does not move.
Status AddExif(Bytes& file, ByteView exif) {
    bool little_endian = true;
    std::vector<TiffOutDirectory> directories = ExifDirectories(exif, little_endian);
    if (directories.empty()) {
        return {};
    }
    const MemoryTiffSource source(file);
    const std::optional<TiffStructure> tiff = TiffStructure::Open(source);
    const std::optional<TiffDirectory> ifd0 = tiff ? tiff->ReadDirectory(tiff->first_directory()) : std::nullopt;
    if (!ifd0 || tiff->little_endian() != little_endian) {
        return EncodeError(imagelib_texts::kTiffWriteSetupFailed);
    }
    TiffOutDirectory merged = CopyDirectory(*tiff, *ifd0);
    for (TiffOutEntry& entry : directories[0]) {
        const bool present =
            std::any_of(merged.begin(), merged.end(), [&](const TiffOutEntry& e) { return e.tag == entry.tag; });
        if (!present) {
            merged.push_back(std::move(entry));
        }
    }
    directories[0] = std::move(merged);
    const std::optional<uint32_t> first = AppendTiffDirectories(file, little_endian, directories);
    if (!first) {
        return EncodeError(imagelib_texts::kTiffWriteSetupFailed);
    }
    const Bytes offset = TiffLongBytes(little_endian, *first);
    std::copy(offset.begin(), offset.end(), file.begin() + 4);
    return {};
}

bool SetFields(TIFF* tiff, const Image& image, const EncodeMetadata& metadata) {
    const auto rows_per_strip =
        static_cast<uint32_t>(std::clamp<size_t>(kStripBytes / std::max<size_t>(image.stride(), 1), 1, 65536));
    bool ok =
        TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(image.width())) == 1 &&
        TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(image.height())) == 1 &&
        TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8) == 1 && TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 3) == 1 &&
        TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB) == 1 &&
        TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG) == 1 &&
        TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_ADOBE_DEFLATE) == 1 &&
        TIFFSetField(tiff, TIFFTAG_ZIPQUALITY, kDeflateLevel) == 1 &&
        TIFFSetField(tiff, TIFFTAG_PREDICTOR, PREDICTOR_HORIZONTAL) == 1 &&
        TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, rows_per_strip) == 1 &&
        TIFFSetField(tiff, TIFFTAG_XRESOLUTION, 72.0) == 1 && TIFFSetField(tiff, TIFFTAG_YRESOLUTION, 72.0) == 1 &&
        TIFFSetField(tiff, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH) == 1;
    const auto size = [](ByteView block) { return static_cast<uint32_t>(block.size()); };
    if (ok && !metadata.icc_profile.empty()) {
        ok = TIFFSetField(tiff, TIFFTAG_ICCPROFILE, size(metadata.icc_profile), metadata.icc_profile.data()) == 1;
    }
    if (ok && !metadata.xmp.empty()) {
        ok = TIFFSetField(tiff, TIFFTAG_XMLPACKET, size(metadata.xmp), metadata.xmp.data()) == 1;
    }
    // The APP13 payload without its "Photoshop 3.0" header is what the tag holds.
    const ByteView photoshop = metadata.photoshop;
    if (ok && photoshop.size() > kPhotoshopHeader.size() &&
        std::equal(kPhotoshopHeader.begin(), kPhotoshopHeader.end(), photoshop.begin())) {
        const ByteView resources = photoshop.subspan(kPhotoshopHeader.size());
        ok = TIFFSetField(tiff, TIFFTAG_PHOTOSHOP, size(resources), resources.data()) == 1;
    }
    return ok;
}

}  // namespace

Result<Bytes> EncodeTiff(const Image& image, const EncodeOptions& options) {
    if (image.empty()) {
        return EncodeError(imagelib_texts::kTiffEmptyImage);
    }
    const EncodeMetadata& metadata = options.metadata;
    const ByteView exif = metadata.exif;
    const bool little_endian = !(exif.size() >= 2 && exif[0] == 'M' && exif[1] == 'M');
    Bytes out;
    {
        TiffHandle handle;
        if (Status opened = handle.OpenForWriting(out, little_endian); !opened) {
            return EncodeError(imagelib_texts::kTiffWriteSetupFailed);
        }
        TIFF* tiff = handle.get();
        if (!SetFields(tiff, image, metadata)) {
            return EncodeError(handle.ErrorOr(imagelib_texts::kTiffWriteSetupFailed.str()));
        }
        // libtiff applies the predictor in the row it is given, so it gets a copy.
        std::vector<uint8_t> row(image.stride());
        for (int y = 0; y < image.height(); ++y) {
            std::memcpy(row.data(), image.row(y), row.size());
            if (TIFFWriteScanline(tiff, row.data(), static_cast<uint32_t>(y), 0) != 1) {
                return EncodeError(handle.ErrorOr(imagelib_texts::kTiffWriteSetupFailed.str()));
            }
        }
        if (!handle.Finish()) {
            return EncodeError(handle.ErrorOr(imagelib_texts::kTiffWriteSetupFailed.str()));
        }
    }
    if (!exif.empty()) {
        if (Status added = AddExif(out, exif); !added) {
            return added.error();
        }
    }
    return out;
}

}  // namespace pelimon
