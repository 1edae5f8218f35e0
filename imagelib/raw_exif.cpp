#include "imagelib/raw_exif.h"

#include <algorithm>
#include <array>
#include <map>

#include "common/tiff_type.h"
#include "imagelib/codec_support.h"
#include "imagelib/format_table.h"
#include "imagelib/raw_metadata.h"
#include "imagelib/raw_session.h"
#include "imagelib/tiff_structure.h"

namespace pelimon::imagelib_detail {

namespace {

constexpr uint16_t kTagXmp = 0x02BC;
constexpr uint16_t kTagExifIfd = 0x8769;
constexpr uint16_t kTagGpsIfd = 0x8825;
constexpr uint16_t kTagMakerNote = 0x927C;
constexpr uint16_t kTagInteropIfd = 0xA005;
constexpr uint16_t kTypeLong = 4;
constexpr size_t kEntrySize = 12;
// A value larger than this is no description of the photo (a maker's private block); the whole
// block must fit in one JPEG segment.
constexpr size_t kMaxValueBytes = 16 * 1024;
constexpr size_t kMaxBlockBytes = 60 * 1024;

// The first directory's tags that describe the photo rather than the raw data's layout.
constexpr std::array<uint16_t, 11> kDescriptiveTags = {0x010E, 0x010F, 0x0110, 0x0112, 0x011A, 0x011B,
                                                       0x0128, 0x0131, 0x0132, 0x013B, 0x8298};

struct Value {
    uint16_t type = 0;
    uint32_t count = 0;
    ByteView bytes;  // in the source's byte order
};
using Directory = std::map<uint16_t, Value>;

class Reader {
  public:
    explicit Reader(ByteView file) : file_(file), little_(file.size() >= 2 && file[0] == 'I') {}
    bool little() const { return little_; }
    uint32_t U16(size_t at) const { return little_ ? ReadLe16(file_, at) : ReadBe16(file_, at); }
    uint32_t U32(size_t at) const { return little_ ? ReadLe32(file_, at) : ReadBe32(file_, at); }

    // The entries of the directory at `offset` whose values lie inside the file.
    Directory Read(size_t offset) const {
        Directory directory;
        if (offset < 8 || offset + 2 > file_.size()) {
            return directory;
        }
        const size_t count = U16(offset);
        for (size_t i = 0; i < count && offset + 2 + kEntrySize * (i + 1) <= file_.size(); ++i) {
            const size_t entry = offset + 2 + kEntrySize * i;
            Value value{static_cast<uint16_t>(U16(entry + 2)), U32(entry + 4), {}};
            const size_t size = TypeSize(value.type) * size_t{value.count};
            if (size == 0 || size > kMaxValueBytes) {
                continue;
            }
            const size_t at = size <= 4 ? entry + 8 : U32(entry + 8);
            if (at > file_.size() || size > file_.size() - at) {
                continue;
            }
            value.bytes = file_.subspan(at, size);
            directory.emplace(static_cast<uint16_t>(U16(entry)), value);
        }
        return directory;
    }

    std::optional<uint32_t> Pointer(const Directory& directory, uint16_t tag) const {
        const auto found = directory.find(tag);
        if (found == directory.end() || found->second.bytes.size() != 4) {
            return std::nullopt;
        }
        return U32(static_cast<size_t>(found->second.bytes.data() - file_.data()));
    }

  private:
    ByteView file_;
    bool little_;
};

class Writer {
  public:
    explicit Writer(bool little) : little_(little) {
        out_ = {little ? uint8_t{'I'} : uint8_t{'M'}, little ? uint8_t{'I'} : uint8_t{'M'}, 0, 0, 0, 0, 0, 0};
        Put16(2, 42);
        Put32(4, 8);
    }
    // Writes `directory` at the end (its pointers as placeholders) and returns its offset; the
    // values are copied as they are, the byte order being the source's.
    size_t Write(const Directory& directory) {
        const size_t start = out_.size();
        out_.resize(start + 2 + kEntrySize * directory.size() + 4);
        Put16(start, static_cast<uint32_t>(directory.size()));
        size_t entry = start + 2;
        for (const auto& [tag, value] : directory) {
            Put16(entry, tag);
            Put16(entry + 2, value.type);
            Put32(entry + 4, value.count);
            if (value.bytes.size() <= 4) {
                std::copy(value.bytes.begin(), value.bytes.end(), out_.begin() + static_cast<long>(entry + 8));
            } else {
                if (out_.size() % 2 != 0) {
                    out_.push_back(0);
                }
                Put32(entry + 8, static_cast<uint32_t>(out_.size()));
                out_.insert(out_.end(), value.bytes.begin(), value.bytes.end());
            }
            positions_[{start, tag}] = entry + 8;
            entry += kEntrySize;
        }
        if (out_.size() % 2 != 0) {
            out_.push_back(0);
        }
        return start;
    }
    void Point(size_t directory, uint16_t tag, size_t target) {
        Put32(positions_.at({directory, tag}), static_cast<uint32_t>(target));
    }
    Bytes Take() { return std::move(out_); }
    size_t size() const { return out_.size(); }

  private:
    void Put16(size_t at, uint32_t v) {
        out_[at] = static_cast<uint8_t>(little_ ? v : v >> 8);
        out_[at + 1] = static_cast<uint8_t>(little_ ? v >> 8 : v);
    }
    void Put32(size_t at, uint32_t v) {
        Put16(at + (little_ ? 0 : 2), v & 0xFFFF);
        Put16(at + (little_ ? 2 : 0), v >> 16);
    }
    bool little_;
    Bytes out_;
    std::map<std::pair<size_t, uint16_t>, size_t> positions_;
};

Value PointerValue() {
    static constexpr std::array<uint8_t, 4> kZero{};
    return Value{kTypeLong, 1, kZero};
}

}  // namespace

namespace {

bool IsTiff(ByteView file) {
    return file.size() >= 8 && file[0] == file[1] && (file[0] == 'I' || file[0] == 'M');
}

// The compact block of the descriptive tags of `ifd0` and the whole `exif` and `gps` directories
// (the maker note and interoperability pointer left out); empty without an Exif directory.
Bytes Compact(bool little, const Directory& ifd0, Directory exif, const Directory& gps) {
    exif.erase(kTagMakerNote);
    exif.erase(kTagInteropIfd);
    if (exif.empty()) {
        return {};
    }
    Directory first;
    for (const uint16_t tag : kDescriptiveTags) {
        if (const auto found = ifd0.find(tag); found != ifd0.end()) {
            first.emplace(tag, found->second);
        }
    }
    first.emplace(kTagExifIfd, PointerValue());
    if (!gps.empty()) {
        first.emplace(kTagGpsIfd, PointerValue());
    }
    Writer writer(little);
    const size_t first_at = writer.Write(first);
    writer.Point(first_at, kTagExifIfd, writer.Write(exif));
    if (!gps.empty()) {
        writer.Point(first_at, kTagGpsIfd, writer.Write(gps));
    }
    return writer.size() <= kMaxBlockBytes ? writer.Take() : Bytes{};
}

}  // namespace

TiffMetadata ReadTiffStructureMetadata(ByteView file) {
    TiffMetadata metadata;
    if (!IsTiff(file)) {
        return metadata;
    }
    const Reader reader(file);
    const Directory ifd0 = reader.Read(reader.U32(4));
    if (const auto xmp = ifd0.find(kTagXmp); xmp != ifd0.end()) {
        metadata.xmp.assign(xmp->second.bytes.begin(), xmp->second.bytes.end());
    }
    const std::optional<uint32_t> exif_offset = reader.Pointer(ifd0, kTagExifIfd);
    const std::optional<uint32_t> gps_offset = reader.Pointer(ifd0, kTagGpsIfd);
    metadata.exif = Compact(reader.little(), ifd0, exif_offset ? reader.Read(*exif_offset) : Directory{},
                            gps_offset ? reader.Read(*gps_offset) : Directory{});
    return metadata;
}

Bytes CombineTiffDirectories(ByteView ifd0, ByteView exif, ByteView gps) {
    if (!IsTiff(ifd0) || !IsTiff(exif) || ifd0[0] != exif[0]) {
        return {};
    }
    const Reader first(ifd0);
    const Reader exif_reader(exif);
    const bool gps_fits = IsTiff(gps) && gps[0] == ifd0[0];
    const Reader gps_reader(gps_fits ? gps : ifd0);
    return Compact(first.little(), first.Read(first.U32(4)), exif_reader.Read(exif_reader.U32(4)),
                   gps_fits ? gps_reader.Read(gps_reader.U32(4)) : Directory{});
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
    // TIFF, and the magic numbers of Olympus (ORF) and Panasonic (RW2) files.
    constexpr uint16_t kRawTiffMagics[] = {42, 0x4F52, 0x5352, 0x55};
    const std::optional<TiffStructure> tiff = TiffStructure::Open(source, kRawTiffMagics);
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
        const uint64_t entries = tiff->little_endian() ? count[0] | count[1] << 8 : count[0] << 8 | count[1];
        end = std::max(end, offset + 2 + kEntrySize * entries + 4);
        for (const TiffEntry& entry : directory->entries) {
            if (entry.value_offset != 0 && !entry.value.empty()) {
                end = std::max(end, entry.value_offset + entry.value.size());
            }
        }
        return directory;
    };
    const std::optional<TiffDirectory> ifd0 = take(tiff->first_directory());
    const std::optional<uint64_t> exif_offset = ifd0 ? tiff->Number(*ifd0, kTagExifIfd) : std::nullopt;
    const std::optional<TiffDirectory> exif = exif_offset ? take(*exif_offset) : std::nullopt;
    const bool describes = exif && std::any_of(exif->entries.begin(), exif->entries.end(), [](const TiffEntry& entry) {
                               return entry.tag != kTagMakerNote && entry.tag != kTagInteropIfd;
                           });
    if (!describes) {
        return std::max(end, PreviewEnd(file, whole));  // the Exif may then come from the preview
    }
    if (const std::optional<uint64_t> gps_offset = tiff->Number(*ifd0, kTagGpsIfd)) {
        take(*gps_offset);
    }
    return std::min(end, whole);
}

}  // namespace pelimon
