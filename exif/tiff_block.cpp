#include "exif/tiff_block.h"

#include <algorithm>

#include "common/tiff_tags.h"
#include "common/tiff_type.h"
#include "exif/exif_entry.h"
#include "exif/value_bytes.h"

namespace pelimon {
namespace {

constexpr size_t kEntrySize = 12;
constexpr uint32_t kMinIfdOffset = 8;  // an IFD cannot overlap the 8-byte header

uint64_t DirectorySize(uint16_t count) {
    return 2 + kEntrySize * count + 4;
}

bool Overlaps(uint64_t a, uint64_t a_size, uint64_t b, uint64_t b_size) {
    return a < b + b_size && b < a + a_size;
}

}  // namespace

TiffBlock::TiffBlock(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {
    if (bytes_.size() < 8 || bytes_[0] != bytes_[1] || (bytes_[0] != 'I' && bytes_[0] != 'M')) {
        return;
    }
    little_endian_ = bytes_[0] == 'I';
    ifd0_ = Long(4);
    valid_ = ReadIfd(ifd0_).has_value();
}

uint16_t TiffBlock::Short(size_t at) const {
    return GetShort(bytes_.data() + at, little_endian_);
}

uint32_t TiffBlock::Long(size_t at) const {
    return GetLong(bytes_.data() + at, little_endian_);
}

void TiffBlock::PutShortAt(size_t at, uint16_t value) {
    PutShort(bytes_.data() + at, value, little_endian_);
}

void TiffBlock::PutLongAt(size_t at, uint32_t value) {
    PutLong(bytes_.data() + at, value, little_endian_);
}

std::optional<std::vector<TiffBlock::Entry>> TiffBlock::ReadIfd(uint32_t offset) const {
    if (offset < kMinIfdOffset || !Fits(offset, 2) || !Fits(offset, DirectorySize(Short(offset)))) {
        return std::nullopt;
    }
    const uint16_t count = Short(offset);
    std::vector<Entry> entries(count);
    for (size_t i = 0; i < count; ++i) {
        const size_t at = offset + 2 + kEntrySize * i;
        entries[i] = {Short(at), Short(at + 2), Long(at + 4), at};
    }
    return entries;
}

std::optional<TiffBlock::Entry> TiffBlock::Find(uint32_t ifd_offset, uint16_t tag) const {
    const std::optional<std::vector<Entry>> entries = ReadIfd(ifd_offset);
    if (!entries) {
        return std::nullopt;
    }
    const auto found =
        std::find_if(entries->begin(), entries->end(), [tag](const Entry& entry) { return entry.tag == tag; });
    return found == entries->end() ? std::nullopt : std::optional<Entry>(*found);
}

uint32_t TiffBlock::SubIfdOffset() const {
    const std::optional<Entry> entry = valid_ ? Find(ifd0_, kTiffTagExifIfd) : std::nullopt;
    return entry ? Long(entry->position + 8) : 0;
}

uint32_t TiffBlock::GpsIfdOffset() const {
    const std::optional<Entry> entry = valid_ ? Find(ifd0_, kTiffTagGpsIfd) : std::nullopt;
    return entry ? Long(entry->position + 8) : 0;
}

size_t TiffBlock::Ifd0LinkPosition() const {
    return ifd0_ + 2 + kEntrySize * Short(ifd0_);
}

uint32_t TiffBlock::Ifd1Offset() const {
    return valid_ ? Long(Ifd0LinkPosition()) : 0;
}

bool TiffBlock::SetNumber(uint32_t ifd_offset, uint16_t tag, uint32_t value) {
    const std::optional<Entry> entry = Find(ifd_offset, tag);
    if (!entry || entry->count != 1 || (entry->type != kTiffShort && entry->type != kTiffLong)) {
        return false;
    }
    const size_t field = entry->position + 8;
    if (entry->type == kTiffShort) {
        PutShortAt(field, static_cast<uint16_t>(value));
        bytes_[field + 2] = 0;
        bytes_[field + 3] = 0;
    } else {
        PutLongAt(field, value);
    }
    return true;
}

std::optional<std::pair<uint32_t, uint64_t>> TiffBlock::OutOfLineValue(const Entry& entry) const {
    const uint64_t size = uint64_t{TypeSize(entry.type)} * entry.count;
    if (size <= 4) {
        return std::nullopt;
    }
    return std::pair<uint32_t, uint64_t>{Long(entry.position + 8), size};
}

void TiffBlock::Zero(uint64_t offset, uint64_t size) {
    // The header and IFD0's directory are never zeroed: a malformed pointer into them must not
    // break the block.
    if (!Fits(offset, size) || Overlaps(offset, size, 0, kMinIfdOffset) ||
        Overlaps(offset, size, ifd0_, DirectorySize(Short(ifd0_)))) {
        return;
    }
    std::fill_n(bytes_.begin() + static_cast<std::ptrdiff_t>(offset), static_cast<size_t>(size), uint8_t{0});
}

bool TiffBlock::GpsIsSound() const {
    const std::optional<Entry> pointer = valid_ ? Find(ifd0_, kTiffTagGpsIfd) : std::nullopt;
    if (!pointer) {
        return false;
    }
    if (pointer->count != 1 || (pointer->type != kTiffLong && pointer->type != kTiffIfd)) {
        return false;
    }
    const uint32_t gps = Long(pointer->position + 8);
    const std::optional<std::vector<Entry>> entries = ReadIfd(gps);
    if (!entries || Overlaps(gps, DirectorySize(Short(gps)), ifd0_, DirectorySize(Short(ifd0_)))) {
        return false;
    }
    return std::all_of(entries->begin(), entries->end(), [this](const Entry& entry) {
        const auto value = OutOfLineValue(entry);
        return !value || Fits(value->first, value->second);
    });
}

bool TiffBlock::RemoveGps() {
    const std::optional<Entry> pointer = valid_ ? Find(ifd0_, kTiffTagGpsIfd) : std::nullopt;
    if (!pointer) {
        return true;
    }
    const bool sound = GpsIsSound();
    // Zero what the GPS directory holds, as far as it lies inside the block.
    const uint32_t gps = Long(pointer->position + 8);
    if (gps >= kMinIfdOffset && Fits(gps, 2)) {
        const uint16_t stored = Short(gps);
        const size_t fitting = std::min<size_t>(stored, (bytes_.size() - gps - 2) / kEntrySize);
        for (size_t i = 0; i < fitting; ++i) {
            const size_t at = gps + 2 + kEntrySize * i;
            if (const auto value = OutOfLineValue({Short(at), Short(at + 2), Long(at + 4), at})) {
                Zero(value->first, value->second);
            }
        }
        Zero(gps, std::min<uint64_t>(DirectorySize(stored), bytes_.size() - gps));
    }
    // Take the pointer out of IFD0: the later entries and the next link move up one place.
    const size_t end = Ifd0LinkPosition() + 4;
    std::copy(bytes_.begin() + static_cast<std::ptrdiff_t>(pointer->position + kEntrySize),
              bytes_.begin() + static_cast<std::ptrdiff_t>(end),
              bytes_.begin() + static_cast<std::ptrdiff_t>(pointer->position));
    std::fill_n(bytes_.begin() + static_cast<std::ptrdiff_t>(end - kEntrySize), kEntrySize, uint8_t{0});
    PutShortAt(ifd0_, static_cast<uint16_t>(Short(ifd0_) - 1));
    return sound;
}

std::optional<TiffBlock::Thumbnail> TiffBlock::JpegThumbnail() const {
    const uint32_t ifd1 = Ifd1Offset();
    if (ifd1 == 0) {
        return std::nullopt;
    }
    const std::optional<Entry> offset = Find(ifd1, kTiffTagJpegOffset);
    const std::optional<Entry> length = Find(ifd1, kTiffTagJpegLength);
    auto number = [this](const std::optional<Entry>& entry) -> std::optional<uint32_t> {
        if (!entry || entry->count != 1 || (entry->type != kTiffShort && entry->type != kTiffLong)) {
            return std::nullopt;
        }
        return entry->type == kTiffShort ? Short(entry->position + 8) : Long(entry->position + 8);
    };
    const std::optional<uint32_t> at = number(offset);
    const std::optional<uint32_t> size = number(length);
    if (!at || !size || *size == 0 || *at < kMinIfdOffset || !Fits(*at, *size)) {
        return std::nullopt;
    }
    return Thumbnail{*at, *size};
}

void TiffBlock::RemoveThumbnailBytes(const Thumbnail& thumbnail) {
    const bool ends_block = uint64_t{thumbnail.offset} + thumbnail.length == bytes_.size();
    const bool after_ifd0 = thumbnail.offset >= Ifd0LinkPosition() + 4;
    if (ends_block && after_ifd0) {
        bytes_.resize(thumbnail.offset);
    } else {
        Zero(thumbnail.offset, thumbnail.length);
    }
}

void TiffBlock::DropIfd1() {
    if (!valid_) {
        return;
    }
    const std::optional<Thumbnail> thumbnail = JpegThumbnail();
    PutLongAt(Ifd0LinkPosition(), 0);
    if (thumbnail) {
        RemoveThumbnailBytes(*thumbnail);
    }
}

bool TiffBlock::ReplaceThumbnail(std::span<const uint8_t> jpeg, int width, int height, size_t max_size) {
    const uint32_t ifd1 = Ifd1Offset();
    const std::optional<Thumbnail> old = JpegThumbnail();
    if (ifd1 == 0 || !old || jpeg.empty()) {
        DropIfd1();
        return false;
    }
    RemoveThumbnailBytes(*old);
    // TIFF values start on a word boundary.
    const size_t at = bytes_.size() + (bytes_.size() % 2);
    if (!ReadIfd(ifd1) || at + jpeg.size() > max_size) {
        PutLongAt(Ifd0LinkPosition(), 0);
        return false;
    }
    bytes_.resize(at);
    bytes_.insert(bytes_.end(), jpeg.begin(), jpeg.end());
    SetNumber(ifd1, kTiffTagJpegOffset, static_cast<uint32_t>(at));
    SetNumber(ifd1, kTiffTagJpegLength, static_cast<uint32_t>(jpeg.size()));
    SetNumber(ifd1, kTiffTagImageWidth, static_cast<uint32_t>(std::max(width, 0)));
    SetNumber(ifd1, kTiffTagImageLength, static_cast<uint32_t>(std::max(height, 0)));
    return true;
}

}  // namespace pelimon
