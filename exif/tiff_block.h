// Structural edits of an Exif TIFF block (from its "II"/"MM" header to its end) that keep its
// layout: no value moves, so every offset inside the block, including those a maker note keeps
// relative to the TIFF header, stays valid. Only what an edit removes is zeroed, and a new
// thumbnail goes at the end of the block.
//
// Every read is bounds-checked against the block; malformed structures are reported, never
// followed outside it.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace pelimon {

class TiffBlock {
  public:
    // Takes the bytes of a TIFF block. valid() is false unless it starts with "II" or "MM" and
    // IFD0 lies wholly inside it.
    explicit TiffBlock(std::vector<uint8_t> bytes);

    bool valid() const { return valid_; }
    const std::vector<uint8_t>& bytes() const { return bytes_; }
    std::vector<uint8_t> Take() { return std::move(bytes_); }

    struct Entry {
        uint16_t tag = 0;
        uint16_t type = 0;
        uint32_t count = 0;
        size_t position = 0;  // offset of the entry's 12 bytes from the TIFF header
    };

    // The entries of the IFD at `offset`; std::nullopt when the directory (count, entries and
    // next link) does not fit wholly inside the block.
    std::optional<std::vector<Entry>> ReadIfd(uint32_t offset) const;
    uint32_t Ifd0Offset() const { return ifd0_; }
    // Offsets of the Exif sub-IFD (0x8769) and the GPS IFD (0x8825) from IFD0; 0 when absent.
    uint32_t SubIfdOffset() const;
    uint32_t GpsIfdOffset() const;
    // The next-IFD link after IFD0: the offset of IFD1, 0 when there is none.
    uint32_t Ifd1Offset() const;

    // Writes a single inline SHORT or LONG value of `tag` in the IFD at `ifd_offset` (a SHORT
    // takes the low 16 bits and two zero bytes). False when the tag is absent or not stored so.
    bool SetNumber(uint32_t ifd_offset, uint16_t tag, uint32_t value);

    // Removes the GPS IFD: the 0x8825 entry leaves IFD0 (the entries after it move up one place,
    // the freed 12 bytes become zero) and the GPS directory and every value it points at inside
    // the block are zeroed. Returns false when there was a GPS pointer whose directory or values
    // were malformed (an offset outside the block, a directory that does not fit); it is removed
    // all the same. True when there was none or it was sound.
    bool RemoveGps();
    // True when IFD0 has a GPS pointer and its directory and values all lie inside the block.
    bool GpsIsSound() const;

    // The JPEG thumbnail of IFD1 (0x0201 offset, 0x0202 length) when it lies inside the block.
    struct Thumbnail {
        uint32_t offset = 0;
        uint32_t length = 0;
    };
    std::optional<Thumbnail> JpegThumbnail() const;

    // Replaces IFD1's JPEG thumbnail by `jpeg`, placed at the end of the block (the old bytes are
    // cut off when they ended the block, zeroed otherwise) with 0x0201/0x0202 pointing at it and
    // IFD1's image width and height (when stored) set to `width` x `height`. When the block
    // would then exceed `max_size` bytes, or IFD1 holds no JPEG thumbnail, IFD1 is dropped
    // instead (DropIfd1). Returns true when the new thumbnail is in place.
    bool ReplaceThumbnail(std::span<const uint8_t> jpeg, int width, int height, size_t max_size);
    // Unlinks IFD1 from IFD0 and removes its thumbnail bytes (cut off at the end, else zeroed).
    void DropIfd1();

  private:
    bool Fits(uint64_t offset, uint64_t size) const {
        return offset <= bytes_.size() && size <= bytes_.size() - offset;
    }
    uint16_t Short(size_t at) const;
    uint32_t Long(size_t at) const;
    void PutShortAt(size_t at, uint16_t value);
    void PutLongAt(size_t at, uint32_t value);
    std::optional<Entry> Find(uint32_t ifd_offset, uint16_t tag) const;
    // Value offset and byte size of an entry whose value lies outside its 4-byte field.
    std::optional<std::pair<uint32_t, uint64_t>> OutOfLineValue(const Entry& entry) const;
    void Zero(uint64_t offset, uint64_t size);
    size_t Ifd0LinkPosition() const;
    void RemoveThumbnailBytes(const Thumbnail& thumbnail);

    std::vector<uint8_t> bytes_;
    bool little_endian_ = false;
    bool valid_ = false;
    uint32_t ifd0_ = 0;
};

}  // namespace pelimon
