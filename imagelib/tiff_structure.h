// Reading and writing the directories (IFDs) of TIFF-structured files: TIFF and BigTIFF in either
// byte order, and the camera raw formats built on the same structure (their own magic numbers
// included). Nothing here decodes pixels; libtiff does that.
//
// Safety: every read is checked against the file's size, directories hold at most
// kMaxTiffEntries entries, a value is fetched only up to kMaxTiffValueBytes (and a directory's
// values up to kMaxTiffDirectoryValueBytes together), and a chain of
// directories is never followed into a directory already seen, so malformed files never crash,
// loop or exhaust memory.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <span>
#include <vector>

#include "common/tiff_type.h"
#include "imagelib/imagelib.h"

namespace pelimon {

// Random access to a file's bytes: held in memory, or read from an open file.
class TiffSource {
  public:
    virtual ~TiffSource() = default;
    // Fills `out` with the bytes at `offset`; false (and `out` unspecified) when the file ends first.
    virtual bool ReadAt(uint64_t offset, std::span<uint8_t> out) const = 0;
    virtual uint64_t size() const = 0;
};

class MemoryTiffSource final : public TiffSource {
  public:
    explicit MemoryTiffSource(ByteView bytes) : bytes_(bytes) {}
    bool ReadAt(uint64_t offset, std::span<uint8_t> out) const override;
    uint64_t size() const override { return bytes_.size(); }

  private:
    ByteView bytes_;
};

// Reads through `file` (seekable; its position is not kept), which must outlive the source.
class FileTiffSource final : public TiffSource {
  public:
    explicit FileTiffSource(std::FILE* file);
    bool ReadAt(uint64_t offset, std::span<uint8_t> out) const override;
    uint64_t size() const override { return size_; }

  private:
    std::FILE* file_;
    uint64_t size_ = 0;
};

inline constexpr size_t kMaxTiffEntries = 4096;
inline constexpr size_t kMaxTiffValueBytes = size_t{16} << 20;
// The values of one directory together: beyond it, entries keep an empty value.
inline constexpr size_t kMaxTiffDirectoryValueBytes = size_t{64} << 20;

// The size of one value of `type` in bytes; 0 for a type TIFF does not define.
size_t TiffTypeSize(uint16_t type);

// One directory entry with its value bytes, as stored (in the file's byte order).
struct TiffEntry {
    uint16_t tag = 0;
    uint16_t type = 0;
    uint64_t count = 0;
    Bytes value;                // count * TiffTypeSize(type) bytes; empty when the value was not fetched
    uint64_t value_offset = 0;  // where a value too large for the entry itself lies; 0 for one inside it
};

struct TiffDirectory {
    std::vector<TiffEntry> entries;  // in stored order; entries whose value lay outside the file are left out
    uint64_t next = 0;               // offset of the next directory in the chain, 0 at its end

    const TiffEntry* Find(uint16_t tag) const;
};

// A file's header and its directories.
class TiffStructure {
  public:
    // The structure of `source`, or nullopt when it does not start with "II" or "MM" and a magic
    // number of `magics` (42 TIFF, 43 BigTIFF; raw formats add their own). The source must outlive
    // the structure.
    static std::optional<TiffStructure> Open(const TiffSource& source, std::span<const uint16_t> magics);
    // TIFF (42) and BigTIFF (43) only.
    static std::optional<TiffStructure> Open(const TiffSource& source);

    bool little_endian() const { return little_endian_; }
    bool big_tiff() const { return big_tiff_; }
    uint16_t magic() const { return magic_; }
    uint64_t first_directory() const { return first_; }

    // The directory at `offset`; nullopt when its entry count does not lie inside the file. Values
    // larger than `max_value_bytes` are not fetched (their entries keep an empty value).
    std::optional<TiffDirectory> ReadDirectory(uint64_t offset, size_t max_value_bytes = kMaxTiffValueBytes) const;

    // The unsigned number at `index` of an entry of type BYTE, SHORT, LONG, IFD, LONG8 or IFD8;
    // nullopt for other types or an index beyond its value.
    std::optional<uint64_t> Number(const TiffEntry& entry, size_t index = 0) const;
    // The first number of `tag` in `directory`, or nullopt.
    std::optional<uint64_t> Number(const TiffDirectory& directory, uint16_t tag) const;
    // Every number of an entry (for offset lists such as SubIFDs); empty for other types.
    std::vector<uint64_t> Numbers(const TiffEntry& entry) const;

  private:
    TiffStructure(const TiffSource& source, bool little_endian, bool big_tiff, uint16_t magic, uint64_t first)
        : source_(&source), little_endian_(little_endian), big_tiff_(big_tiff), magic_(magic), first_(first) {}
    uint64_t Unsigned(const uint8_t* bytes, size_t size) const;

    const TiffSource* source_;
    bool little_endian_;
    bool big_tiff_;
    uint16_t magic_;
    uint64_t first_;
};

// An entry to write: its value in the byte order of the block it goes into, or a link to another
// directory of the same write, whose offset becomes its value (a LONG).
struct TiffOutEntry {
    uint16_t tag = 0;
    uint16_t type = 0;
    uint32_t count = 0;
    Bytes value;
    int link = -1;  // index of the directory this entry points at, or -1
};

using TiffOutDirectory = std::vector<TiffOutEntry>;

// Appends classic-TIFF directories to `file` (whose byte order `little_endian` gives), each
// sorted by tag and followed by its out-of-line values, and returns the offset of the first.
// Directory links are resolved; every directory ends its chain (next offset 0). Nullopt when the
// file would pass 4 GB.
std::optional<uint32_t> AppendTiffDirectories(Bytes& file, bool little_endian,
                                              std::span<const TiffOutDirectory> directories);

// A classic TIFF block made of a header and `directories` (the first one is IFD0).
Bytes WriteTiffBlock(bool little_endian, std::span<const TiffOutDirectory> directories);

// Encoding numbers in a byte order, for the values of TiffOutEntry.
Bytes TiffShortBytes(bool little_endian, uint16_t value);
Bytes TiffLongBytes(bool little_endian, uint32_t value);

}  // namespace pelimon
