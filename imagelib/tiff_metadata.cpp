#include "imagelib/tiff_metadata.h"

#include <algorithm>
#include <optional>

#include "imagelib/codec_support.h"

namespace pelimon {

namespace {

constexpr uint16_t kTiffMagics[] = {42, 43};

// The descriptive tags of IFD0 an Exif block keeps; the others describe the TIFF's own image.
constexpr uint16_t kDescriptiveTags[] = {
    0x010D,  // DocumentName
    0x010E,  // ImageDescription
    0x010F,  // Make
    0x0110,  // Model
    0x0112,  // Orientation
    0x011A,  // XResolution
    0x011B,  // YResolution
    0x0128,  // ResolutionUnit
    0x0131,  // Software
    0x0132,  // DateTime
    0x013B,  // Artist
    0x013C,  // HostComputer
    0x013E,  // WhitePoint
    0x013F,  // PrimaryChromaticities
    0x4746,  // Rating
    0x4749,  // RatingPercent
    0x8298,  // Copyright
    0x9C9B,  // XPTitle
    0x9C9C,  // XPComment
    0x9C9D,  // XPAuthor
    0x9C9E,  // XPKeywords
    0x9C9F,  // XPSubject
};

bool IsDescriptive(uint16_t tag) {
    return std::find(std::begin(kDescriptiveTags), std::end(kDescriptiveTags), tag) != std::end(kDescriptiveTags);
}

// How much of the file's Exif goes into a block.
struct CopyLimits {
    bool maker_note = true;
    size_t max_value_bytes = kMaxTiffValueBytes;
};

// An entry as a classic-TIFF entry in the same byte order: 8-byte integers become LONGs when they
// fit; pointers to other directories (which the copy does not follow) and values too large for
// the limits are left out.
std::optional<TiffOutEntry> CopyEntry(const TiffStructure& tiff, const TiffEntry& entry, const CopyLimits& limits) {
    if (entry.value.empty() || entry.value.size() > limits.max_value_bytes || entry.count > UINT32_MAX ||
        (entry.tag == kExifTagMakerNote && !limits.maker_note)) {
        return std::nullopt;
    }
    TiffOutEntry out{.tag = entry.tag, .type = entry.type, .count = static_cast<uint32_t>(entry.count), .value = {}};
    switch (entry.type) {
        case kTiffIfd:
        case kTiffIfd8:
            return std::nullopt;
        case kTiffLong8:
            out.type = kTiffLong;
            for (const uint64_t number : tiff.Numbers(entry)) {
                if (number > UINT32_MAX) {
                    return std::nullopt;
                }
                const Bytes bytes = TiffLongBytes(tiff.little_endian(), static_cast<uint32_t>(number));
                out.value.insert(out.value.end(), bytes.begin(), bytes.end());
            }
            return out;
        case 17:  // SLONG8: no classic equivalent
            return std::nullopt;
        default:
            out.value = entry.value;
            return out;
    }
}

// Reads the directory that `pointer` of `from` names, when it is one not yet visited.
std::optional<TiffDirectory> FollowPointer(const TiffStructure& tiff, const TiffDirectory& from, uint16_t pointer,
                                           std::vector<uint64_t>& visited) {
    const std::optional<uint64_t> offset = tiff.Number(from, pointer);
    if (!offset || *offset == 0 || std::find(visited.begin(), visited.end(), *offset) != visited.end()) {
        return std::nullopt;
    }
    visited.push_back(*offset);
    return tiff.ReadDirectory(*offset);
}

// The directories of the Exif block: IFD0's descriptive tags, then the Exif, Interoperability and
// GPS IFDs, linked by their pointers. Empty when there is nothing to keep.
std::vector<TiffOutDirectory> CopyExifDirectories(const TiffStructure& tiff, const TiffDirectory& ifd0,
                                                  uint64_t ifd0_offset, const CopyLimits& limits) {
    std::vector<TiffOutDirectory> directories(1);
    std::vector<uint64_t> visited = {ifd0_offset};
    for (const TiffEntry& entry : ifd0.entries) {
        if (IsDescriptive(entry.tag)) {
            if (std::optional<TiffOutEntry> copy = CopyEntry(tiff, entry, limits)) {
                directories[0].push_back(std::move(*copy));
            }
        }
    }
    const auto copy_all = [&](const TiffDirectory& directory) {
        TiffOutDirectory out;
        for (const TiffEntry& entry : directory.entries) {
            if (entry.tag == kExifTagInteropIfd) {
                continue;  // linked below when it leads to a directory
            }
            if (std::optional<TiffOutEntry> copy = CopyEntry(tiff, entry, limits)) {
                out.push_back(std::move(*copy));
            }
        }
        return out;
    };
    const auto link = [&](size_t from, uint16_t tag, TiffOutDirectory directory) {
        directories[from].push_back(TiffOutEntry{
            .tag = tag, .type = kTiffLong, .count = 1, .value = {}, .link = static_cast<int>(directories.size())});
        directories.push_back(std::move(directory));
    };
    if (std::optional<TiffDirectory> exif = FollowPointer(tiff, ifd0, kTiffTagExifIfd, visited)) {
        const std::optional<TiffDirectory> interop = FollowPointer(tiff, *exif, kExifTagInteropIfd, visited);
        link(0, kTiffTagExifIfd, copy_all(*exif));
        if (interop) {
            link(directories.size() - 1, kExifTagInteropIfd, copy_all(*interop));
        }
    }
    if (std::optional<TiffDirectory> gps = FollowPointer(tiff, ifd0, kTiffTagGpsIfd, visited)) {
        link(0, kTiffTagGpsIfd, copy_all(*gps));
    }
    // The resolution every TIFF writer stores says nothing about the photo: alone it makes no Exif.
    const bool only_resolution = std::all_of(directories[0].begin(), directories[0].end(), [](const TiffOutEntry& e) {
        return e.tag == 0x011A || e.tag == 0x011B || e.tag == 0x0128;
    });
    if (directories.size() == 1 && only_resolution) {
        return {};
    }
    return directories;
}

// The Exif block within kMaxExifBlockBytes: without the maker note when it is too large with it,
// then without any value of more than a kilobyte.
Bytes BuildExifBlock(const TiffStructure& tiff, const TiffDirectory& ifd0, uint64_t ifd0_offset) {
    for (const CopyLimits limits :
         {CopyLimits{}, CopyLimits{.maker_note = false}, CopyLimits{.maker_note = false, .max_value_bytes = 1024}}) {
        const std::vector<TiffOutDirectory> directories = CopyExifDirectories(tiff, ifd0, ifd0_offset, limits);
        if (directories.empty()) {
            return {};
        }
        Bytes block = WriteTiffBlock(tiff.little_endian(), directories);
        if (block.size() <= kMaxExifBlockBytes) {
            return block;
        }
    }
    return {};
}

Bytes ValueOf(const TiffDirectory& directory, uint16_t tag) {
    const TiffEntry* entry = directory.Find(tag);
    return entry != nullptr ? entry->value : Bytes{};
}

}  // namespace

TiffMetadata ReadTiffMetadata(const TiffSource& source, std::span<const uint16_t> magics) {
    TiffMetadata metadata;
    const std::optional<TiffStructure> tiff = TiffStructure::Open(source, magics);
    if (!tiff) {
        return metadata;
    }
    const std::optional<TiffDirectory> ifd0 = tiff->ReadDirectory(tiff->first_directory());
    if (!ifd0) {
        return metadata;
    }
    metadata.exif = BuildExifBlock(*tiff, *ifd0, tiff->first_directory());
    metadata.xmp = ValueOf(*ifd0, kTiffTagXmp);
    metadata.iptc = ValueOf(*ifd0, kTiffTagIptc);
    metadata.photoshop = ValueOf(*ifd0, kTiffTagPhotoshop);
    metadata.icc_profile = ValueOf(*ifd0, kTiffTagIcc);
    const uint64_t orientation = tiff->Number(*ifd0, kTiffTagOrientation).value_or(1);
    metadata.orientation = orientation >= 1 && orientation <= 8 ? static_cast<int>(orientation) : 1;
    if (const std::optional<uint64_t> photometric = tiff->Number(*ifd0, kTiffTagPhotometric)) {
        metadata.photometric = static_cast<int>(std::min<uint64_t>(*photometric, INT32_MAX));
    }
    if (const TiffEntry* sub_ifds = ifd0->Find(kTiffTagSubIfds)) {
        metadata.sub_ifds = tiff->Numbers(*sub_ifds);
    }
    metadata.exif_ifd = tiff->Number(*ifd0, kTiffTagExifIfd).value_or(0);
    metadata.gps_ifd = tiff->Number(*ifd0, kTiffTagGpsIfd).value_or(0);
    return metadata;
}

TiffMetadata ReadTiffMetadata(ByteView file) {
    const MemoryTiffSource source(file);
    return ReadTiffMetadata(source, kTiffMagics);
}

std::vector<TiffOutDirectory> ExifDirectories(ByteView exif, bool& little_endian) {
    const MemoryTiffSource source(exif);
    const std::optional<TiffStructure> tiff = TiffStructure::Open(source);
    if (!tiff) {
        return {};
    }
    little_endian = tiff->little_endian();
    const std::optional<TiffDirectory> ifd0 = tiff->ReadDirectory(tiff->first_directory());
    return ifd0 ? CopyExifDirectories(*tiff, *ifd0, tiff->first_directory(), {}) : std::vector<TiffOutDirectory>{};
}

TiffOutDirectory CopyDirectory(const TiffStructure& tiff, const TiffDirectory& directory) {
    TiffOutDirectory out;
    for (const TiffEntry& entry : directory.entries) {
        if (std::optional<TiffOutEntry> copy = CopyEntry(tiff, entry, {})) {
            out.push_back(std::move(*copy));
        }
    }
    return out;
}

Bytes TiffMetadataFile(const TiffMetadata& metadata) {
    bool little_endian = true;
    std::vector<TiffOutDirectory> directories = ExifDirectories(metadata.exif, little_endian);
    if (directories.empty()) {
        directories.resize(1);
    }
    TiffOutDirectory& ifd0 = directories[0];
    if (metadata.photometric >= 0 && metadata.photometric <= UINT16_MAX) {
        ifd0.push_back(
            TiffOutEntry{.tag = kTiffTagPhotometric,
                         .type = kTiffShort,
                         .count = 1,
                         .value = TiffShortBytes(little_endian, static_cast<uint16_t>(metadata.photometric))});
    }
    for (const auto& [tag, block] :
         {std::pair{kTiffTagXmp, &metadata.xmp}, std::pair{kTiffTagIptc, &metadata.iptc},
          std::pair{kTiffTagPhotoshop, &metadata.photoshop}, std::pair{kTiffTagIcc, &metadata.icc_profile}}) {
        if (!block->empty() && block->size() <= UINT32_MAX) {
            ifd0.push_back(TiffOutEntry{
                .tag = tag, .type = kTiffUndefined, .count = static_cast<uint32_t>(block->size()), .value = *block});
        }
    }
    return WriteTiffBlock(little_endian, directories);
}

Result<Bytes> ReadTiffMetadataFile(std::FILE* file) {
    const FileTiffSource source(file);
    if (!TiffStructure::Open(source)) {
        return imagelib_detail::UnsupportedError();
    }
    return TiffMetadataFile(ReadTiffMetadata(source, kTiffMagics));
}

}  // namespace pelimon
