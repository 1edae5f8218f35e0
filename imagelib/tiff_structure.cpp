#include "imagelib/tiff_structure.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace pelimon {

namespace {

constexpr uint16_t kTiffMagics[] = {42, 43};

void PutUnsigned(uint8_t* out, uint64_t value, size_t size, bool little_endian) {
    for (size_t i = 0; i < size; ++i) {
        const size_t shift = 8 * (little_endian ? i : size - 1 - i);
        out[i] = static_cast<uint8_t>(value >> shift);
    }
}

void PutAt(Bytes& file, size_t at, uint64_t value, size_t size, bool little_endian) {
    PutUnsigned(file.data() + at, value, size, little_endian);
}

}  // namespace

bool MemoryTiffSource::ReadAt(uint64_t offset, std::span<uint8_t> out) const {
    if (offset > bytes_.size() || out.size() > bytes_.size() - offset) {
        return false;
    }
    std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(offset), out.size(), out.begin());
    return true;
}

FileTiffSource::FileTiffSource(std::FILE* file) : file_(file) {
    if (fseeko(file_, 0, SEEK_END) == 0) {
        const off_t end = ftello(file_);
        size_ = end > 0 ? static_cast<uint64_t>(end) : 0;
    }
}

bool FileTiffSource::ReadAt(uint64_t offset, std::span<uint8_t> out) const {
    if (offset > size_ || out.size() > size_ - offset) {
        return false;
    }
    return fseeko(file_, static_cast<off_t>(offset), SEEK_SET) == 0 &&
           std::fread(out.data(), 1, out.size(), file_) == out.size();
}

size_t TiffTypeSize(uint16_t type) {
    switch (type) {
        case 1:  // BYTE
        case 2:  // ASCII
        case 6:  // SBYTE
        case 7:  // UNDEFINED
            return 1;
        case 3:  // SHORT
        case 8:  // SSHORT
            return 2;
        case 4:   // LONG
        case 9:   // SLONG
        case 11:  // FLOAT
        case 13:  // IFD
            return 4;
        case 5:   // RATIONAL
        case 10:  // SRATIONAL
        case 12:  // DOUBLE
        case 16:  // LONG8
        case 17:  // SLONG8
        case 18:  // IFD8
            return 8;
        default:
            return 0;
    }
}

const TiffEntry* TiffDirectory::Find(uint16_t tag) const {
    for (const TiffEntry& entry : entries) {
        if (entry.tag == tag) {
            return &entry;
        }
    }
    return nullptr;
}

std::optional<TiffStructure> TiffStructure::Open(const TiffSource& source) {
    return Open(source, kTiffMagics);
}

std::optional<TiffStructure> TiffStructure::Open(const TiffSource& source, std::span<const uint16_t> magics) {
    std::array<uint8_t, 16> header{};
    if (!source.ReadAt(0, std::span(header).first(8))) {
        return std::nullopt;
    }
    const bool little = header[0] == 'I' && header[1] == 'I';
    if (!little && !(header[0] == 'M' && header[1] == 'M')) {
        return std::nullopt;
    }
    TiffStructure probe(source, little, false, 0, 0);
    const auto magic = static_cast<uint16_t>(probe.Unsigned(header.data() + 2, 2));
    if (std::find(magics.begin(), magics.end(), magic) == magics.end()) {
        return std::nullopt;
    }
    if (magic != 43) {
        return TiffStructure(source, little, false, magic, probe.Unsigned(header.data() + 4, 4));
    }
    // BigTIFF: offset size 8, a reserved 0, then the 8-byte offset of the first directory.
    if (!source.ReadAt(0, header) || probe.Unsigned(header.data() + 4, 2) != 8) {
        return std::nullopt;
    }
    return TiffStructure(source, little, true, magic, probe.Unsigned(header.data() + 8, 8));
}

uint64_t TiffStructure::Unsigned(const uint8_t* bytes, size_t size) const {
    uint64_t value = 0;
    for (size_t i = 0; i < size; ++i) {
        const size_t at = little_endian_ ? size - 1 - i : i;
        value = value << 8 | bytes[at];
    }
    return value;
}

std::optional<TiffDirectory> TiffStructure::ReadDirectory(uint64_t offset, size_t max_value_bytes) const {
    const size_t count_size = big_tiff_ ? 8 : 2;
    const size_t entry_size = big_tiff_ ? 20 : 12;
    const size_t field_size = big_tiff_ ? 8 : 4;
    std::array<uint8_t, 8> count_bytes{};
    if (offset == 0 || !source_->ReadAt(offset, std::span(count_bytes).first(count_size))) {
        return std::nullopt;
    }
    const uint64_t stored_count = Unsigned(count_bytes.data(), count_size);
    // Entries beyond the end of the file are not there: keep those that are.
    const uint64_t room = (source_->size() - offset - count_size) / entry_size;
    const size_t count = static_cast<size_t>(std::min({stored_count, room, uint64_t{kMaxTiffEntries}}));
    Bytes raw(count * entry_size + field_size);
    const bool has_next = source_->ReadAt(offset + count_size, raw);
    if (!has_next) {
        raw.resize(count * entry_size);
        if (!source_->ReadAt(offset + count_size, raw)) {
            return std::nullopt;
        }
    }
    TiffDirectory directory;
    size_t budget = kMaxTiffDirectoryValueBytes;
    if (has_next && count == stored_count) {
        directory.next = Unsigned(raw.data() + count * entry_size, field_size);
    }
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* field = raw.data() + i * entry_size;
        TiffEntry entry;
        entry.tag = static_cast<uint16_t>(Unsigned(field, 2));
        entry.type = static_cast<uint16_t>(Unsigned(field + 2, 2));
        entry.count = Unsigned(field + 4, big_tiff_ ? 8 : 4);
        const uint8_t* value_field = field + (big_tiff_ ? 12 : 8);
        const size_t unit = TiffTypeSize(entry.type);
        if (unit == 0 || entry.count > max_value_bytes / unit) {
            if (unit != 0) {
                directory.entries.push_back(std::move(entry));  // known, but too large to fetch
            }
            continue;
        }
        const size_t size = unit * static_cast<size_t>(entry.count);
        if (size <= field_size) {
            entry.value.assign(value_field, value_field + size);
        } else {
            // A value must lie inside the file, and the values of one directory together stay
            // within a budget: thousands of entries may all name the same large extent.
            const uint64_t at = Unsigned(value_field, field_size);
            if (at > source_->size() || size > source_->size() - at) {
                continue;
            }
            entry.value_offset = at;
            if (size <= budget) {
                budget -= size;
                entry.value.resize(size);
                if (!source_->ReadAt(at, entry.value)) {
                    continue;
                }
            }
        }
        directory.entries.push_back(std::move(entry));
    }
    return directory;
}

std::optional<uint64_t> TiffStructure::Number(const TiffEntry& entry, size_t index) const {
    size_t size = 0;
    switch (entry.type) {
        case kTiffByte:
            size = 1;
            break;
        case kTiffShort:
            size = 2;
            break;
        case kTiffLong:
        case kTiffIfd:
            size = 4;
            break;
        case kTiffLong8:
        case kTiffIfd8:
            size = 8;
            break;
        default:
            return std::nullopt;
    }
    if (index >= entry.value.size() / size) {
        return std::nullopt;
    }
    return Unsigned(entry.value.data() + index * size, size);
}

std::optional<uint64_t> TiffStructure::Number(const TiffDirectory& directory, uint16_t tag) const {
    const TiffEntry* entry = directory.Find(tag);
    return entry != nullptr ? Number(*entry) : std::nullopt;
}

std::vector<uint64_t> TiffStructure::Numbers(const TiffEntry& entry) const {
    std::vector<uint64_t> numbers;
    for (size_t i = 0;; ++i) {
        const std::optional<uint64_t> number = Number(entry, i);
        if (!number) {
            return numbers;
        }
        numbers.push_back(*number);
    }
}

Bytes TiffShortBytes(bool little_endian, uint16_t value) {
    Bytes bytes(2);
    PutUnsigned(bytes.data(), value, 2, little_endian);
    return bytes;
}

Bytes TiffLongBytes(bool little_endian, uint32_t value) {
    Bytes bytes(4);
    PutUnsigned(bytes.data(), value, 4, little_endian);
    return bytes;
}

std::optional<uint32_t> AppendTiffDirectories(Bytes& file, bool little_endian,
                                              std::span<const TiffOutDirectory> directories) {
    // First the layout: where each directory and each of its out-of-line values go.
    std::vector<uint64_t> starts;
    uint64_t at = file.size();
    for (const TiffOutDirectory& directory : directories) {
        at += at & 1;  // directories and values start on a word boundary
        starts.push_back(at);
        at += 2 + 12 * directory.size() + 4;
        for (const TiffOutEntry& entry : directory) {
            if (entry.link < 0 && entry.value.size() > 4) {
                at += (at & 1) + entry.value.size();
            }
        }
    }
    if (at > UINT32_MAX) {
        return std::nullopt;
    }
    file.reserve(static_cast<size_t>(at));
    for (size_t d = 0; d < directories.size(); ++d) {
        std::vector<const TiffOutEntry*> sorted;
        for (const TiffOutEntry& entry : directories[d]) {
            sorted.push_back(&entry);
        }
        std::stable_sort(sorted.begin(), sorted.end(),
                         [](const TiffOutEntry* a, const TiffOutEntry* b) { return a->tag < b->tag; });
        file.resize(static_cast<size_t>(starts[d]), 0);
        const size_t head = file.size();
        file.resize(head + 2 + 12 * sorted.size() + 4, 0);
        PutAt(file, head, sorted.size(), 2, little_endian);
        for (size_t i = 0; i < sorted.size(); ++i) {
            const TiffOutEntry& entry = *sorted[i];
            const size_t field = head + 2 + 12 * i;
            const bool linked = entry.link >= 0 && static_cast<size_t>(entry.link) < directories.size();
            PutAt(file, field, entry.tag, 2, little_endian);
            PutAt(file, field + 2, linked ? uint16_t{kTiffLong} : entry.type, 2, little_endian);
            PutAt(file, field + 4, linked ? 1 : entry.count, 4, little_endian);
            if (linked) {
                PutAt(file, field + 8, starts[static_cast<size_t>(entry.link)], 4, little_endian);
            } else if (entry.value.size() <= 4) {
                std::copy(entry.value.begin(), entry.value.end(),
                          file.begin() + static_cast<std::ptrdiff_t>(field + 8));
            } else {
                file.resize(file.size() + (file.size() & 1), 0);
                PutAt(file, field + 8, file.size(), 4, little_endian);
                file.insert(file.end(), entry.value.begin(), entry.value.end());
            }
        }
    }
    return static_cast<uint32_t>(starts.empty() ? file.size() : starts.front());
}

Bytes WriteTiffBlock(bool little_endian, std::span<const TiffOutDirectory> directories) {
    Bytes block(8, 0);
    block[0] = block[1] = little_endian ? 'I' : 'M';
    PutAt(block, 2, 42, 2, little_endian);
    const std::optional<uint32_t> first = AppendTiffDirectories(block, little_endian, directories);
    PutAt(block, 4, first.value_or(0), 4, little_endian);
    return block;
}

}  // namespace pelimon
