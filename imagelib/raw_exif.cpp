#include "imagelib/raw_exif.h"

#include <algorithm>
#include <array>
#include <optional>

#include "common/tiff_tags.h"
#include "common/tiff_type.h"
#include "imagelib/format_table.h"
#include "imagelib/raw_metadata.h"
#include "imagelib/raw_session.h"
#include "imagelib/tiff_structure.h"

namespace pelimon::imagelib_detail {

namespace {

// A value larger than this is no description of the photo (a maker's private block); the whole
// block must fit in one JPEG segment.
constexpr size_t kMaxValueBytes = 16 * 1024;
constexpr size_t kMaxBlockBytes = 60 * 1024;

// The first directory's tags that describe the photo rather than the raw data's layout.
constexpr std::array<uint16_t, 11> kDescriptiveTags = {0x010E, 0x010F, 0x0110, 0x0112, 0x011A, 0x011B,
                                                       0x0128, 0x0131, 0x0132, 0x013B, 0x8298};

// A TIFF structure in memory, whatever its magic number (raw formats have their own), and its
// first directory with the values a description takes.
class Structure {
  public:
    explicit Structure(ByteView bytes) : source_(bytes) {
        const bool little = bytes.size() >= 4 && bytes[0] == 'I' && bytes[1] == 'I';
        const bool big = bytes.size() >= 4 && bytes[0] == 'M' && bytes[1] == 'M';
        if (!little && !big) {
            return;
        }
        const auto magic = static_cast<uint16_t>(little ? bytes[2] | bytes[3] << 8 : bytes[2] << 8 | bytes[3]);
        const uint16_t magics[] = {magic};
        tiff_ = TiffStructure::Open(source_, magics);
    }
    Structure(const Structure&) = delete;
    Structure& operator=(const Structure&) = delete;

    const TiffStructure* tiff() const { return tiff_ ? &*tiff_ : nullptr; }
    std::optional<TiffDirectory> Read(uint64_t offset) const {
        return tiff_ ? tiff_->ReadDirectory(offset, kMaxValueBytes) : std::nullopt;
    }
    std::optional<TiffDirectory> First() const { return tiff_ ? Read(tiff_->first_directory()) : std::nullopt; }
    // The directory the pointer `tag` of `from` names.
    std::optional<TiffDirectory> Follow(const std::optional<TiffDirectory>& from, uint16_t tag) const {
        const std::optional<uint64_t> offset = tiff_ && from ? tiff_->Number(*from, tag) : std::nullopt;
        return offset ? Read(*offset) : std::nullopt;
    }

  private:
    MemoryTiffSource source_;
    std::optional<TiffStructure> tiff_;
};

// The entries of `directory` whose values were fetched, once each, as they are stored; those that
// `keep` refuses left out.
template <typename Keep>
TiffOutDirectory Copy(const std::optional<TiffDirectory>& directory, Keep keep) {
    TiffOutDirectory out;
    if (!directory) {
        return out;
    }
    for (const TiffEntry& entry : directory->entries) {
        const bool seen =
            std::any_of(out.begin(), out.end(), [&](const TiffOutEntry& e) { return e.tag == entry.tag; });
        if (!entry.value.empty() && entry.count <= UINT32_MAX && !seen && keep(entry.tag)) {
            out.push_back({.tag = entry.tag,
                           .type = entry.type,
                           .count = static_cast<uint32_t>(entry.count),
                           .value = entry.value});
        }
    }
    return out;
}

// The compact block of the descriptive tags of `ifd0` and the whole `exif` and `gps` directories
// (the maker note and interoperability pointer left out); empty without an Exif directory.
Bytes Compact(bool little, const std::optional<TiffDirectory>& ifd0, const std::optional<TiffDirectory>& exif,
              const std::optional<TiffDirectory>& gps) {
    std::vector<TiffOutDirectory> directories(2);
    directories[1] = Copy(exif, [](uint16_t tag) { return tag != kExifTagMakerNote && tag != kExifTagInteropIfd; });
    if (directories[1].empty()) {
        return {};
    }
    directories[0] = Copy(ifd0, [](uint16_t tag) {
        return std::find(kDescriptiveTags.begin(), kDescriptiveTags.end(), tag) != kDescriptiveTags.end();
    });
    directories[0].push_back({.tag = kTiffTagExifIfd, .type = kTiffLong, .count = 1, .value = {}, .link = 1});
    TiffOutDirectory location = Copy(gps, [](uint16_t) { return true; });
    if (!location.empty()) {
        directories[0].push_back({.tag = kTiffTagGpsIfd, .type = kTiffLong, .count = 1, .value = {}, .link = 2});
        directories.push_back(std::move(location));
    }
    Bytes block = WriteTiffBlock(little, directories);
    return block.size() <= kMaxBlockBytes ? block : Bytes{};
}

}  // namespace

TiffMetadata ReadTiffStructureMetadata(ByteView file) {
    TiffMetadata metadata;
    const Structure structure(file);
    const std::optional<TiffDirectory> ifd0 = structure.First();
    if (!ifd0) {
        return metadata;
    }
    if (const TiffEntry* xmp = ifd0->Find(kTiffTagXmp)) {
        metadata.xmp = xmp->value;
    }
    metadata.exif = Compact(structure.tiff()->little_endian(), ifd0, structure.Follow(ifd0, kTiffTagExifIfd),
                            structure.Follow(ifd0, kTiffTagGpsIfd));
    return metadata;
}

Bytes CombineTiffDirectories(ByteView ifd0, ByteView exif, ByteView gps) {
    const Structure first(ifd0);
    const Structure exif_structure(exif);
    const Structure gps_structure(gps);
    if (first.tiff() == nullptr || exif_structure.tiff() == nullptr ||
        first.tiff()->little_endian() != exif_structure.tiff()->little_endian()) {
        return {};
    }
    const bool gps_fits =
        gps_structure.tiff() != nullptr && gps_structure.tiff()->little_endian() == first.tiff()->little_endian();
    return Compact(first.tiff()->little_endian(), first.First(), exif_structure.First(),
                   gps_fits ? gps_structure.First() : std::nullopt);
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
        std::optional<TiffDirectory> directory = tiff->ReadDirectory(offset, kMaxValueBytes);
        if (!directory || !source.ReadAt(offset, count)) {
            return std::nullopt;
        }
        const uint64_t entries = little ? count[0] | count[1] << 8 : count[0] << 8 | count[1];
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
