#include "exif/photoshop_block.h"

#include <algorithm>
#include <cstring>

namespace pelimon {
namespace {

constexpr uint8_t kHeader[] = {'P', 'h', 'o', 't', 'o', 's', 'h', 'o', 'p', ' ', '3', '.', '0', 0};
constexpr uint16_t kIptcResource = 0x0404;
constexpr uint16_t kIptcDigestResource = 0x0425;
constexpr uint8_t kIimMarker = 0x1C;
constexpr uint8_t kApplicationRecord = 2;
constexpr uint8_t kLocationDataSets[] = {26, 27, 90, 92, 95, 100, 101};

uint32_t BigEndian(std::span<const uint8_t> bytes, size_t at, size_t width) {
    uint32_t value = 0;
    for (size_t k = 0; k < width; ++k) {
        value = (value << 8) | bytes[at + k];
    }
    return value;
}

bool AllZero(std::span<const uint8_t> bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](uint8_t b) { return b == 0; });
}

struct Resource {
    uint16_t id = 0;
    std::span<const uint8_t> head;  // signature, id and name, as stored
    std::span<const uint8_t> data;
};

// The resource blocks after the header; std::nullopt when they do not tile the payload.
std::optional<std::vector<Resource>> Resources(std::span<const uint8_t> payload) {
    if (!IsPhotoshopPayload(payload)) {
        return std::nullopt;
    }
    std::vector<Resource> resources;
    size_t pos = sizeof kHeader;
    while (pos < payload.size()) {
        const std::span<const uint8_t> rest = payload.subspan(pos);
        if (AllZero(rest)) {
            break;
        }
        // Signature 4, id 2, name length 1: the smallest head.
        if (rest.size() < 7) {
            return std::nullopt;
        }
        const bool signed_ok = std::memcmp(rest.data(), "8BIM", 4) == 0 || std::memcmp(rest.data(), "PHUT", 4) == 0 ||
                               std::memcmp(rest.data(), "AgHg", 4) == 0 || std::memcmp(rest.data(), "DCSR", 4) == 0;
        if (!signed_ok) {
            return std::nullopt;
        }
        // The name is a Pascal string padded to an even size, length byte included.
        size_t name_size = size_t{1} + rest[6];
        name_size += name_size % 2;
        const size_t head_size = 6 + name_size;
        if (rest.size() < head_size + 4) {
            return std::nullopt;
        }
        const uint32_t size = BigEndian(rest, head_size, 4);
        const uint64_t padded = uint64_t{size} + (size % 2);
        if (rest.size() - head_size - 4 < size) {
            return std::nullopt;
        }
        resources.push_back(
            {static_cast<uint16_t>(BigEndian(rest, 4, 2)), rest.first(head_size), rest.subspan(head_size + 4, size)});
        // A missing pad byte after the last block is tolerated.
        pos += static_cast<size_t>(std::min<uint64_t>(head_size + 4 + padded, rest.size()));
    }
    return resources;
}

struct DataSet {
    uint8_t record = 0;
    uint8_t number = 0;
    std::span<const uint8_t> whole;  // marker to the end of the value
};

std::optional<std::vector<DataSet>> DataSets(std::span<const uint8_t> iim) {
    std::vector<DataSet> sets;
    size_t pos = 0;
    while (pos < iim.size()) {
        const std::span<const uint8_t> rest = iim.subspan(pos);
        if (AllZero(rest)) {
            break;
        }
        if (rest.size() < 5 || rest[0] != kIimMarker) {
            return std::nullopt;
        }
        size_t head = 5;
        uint64_t size = BigEndian(rest, 3, 2);
        if ((size & 0x8000) != 0) {
            // Extended data set: the low bits give how many bytes hold the length.
            const size_t width = size & 0x7FFF;
            if (width == 0 || width > 4 || rest.size() < 5 + width) {
                return std::nullopt;
            }
            size = BigEndian(rest, 5, width);
            head += width;
        }
        if (rest.size() - head < size) {
            return std::nullopt;
        }
        sets.push_back({rest[1], rest[2], rest.first(head + static_cast<size_t>(size))});
        pos += head + static_cast<size_t>(size);
    }
    return sets;
}

bool IsLocationSet(const DataSet& set) {
    return set.record == kApplicationRecord && std::find(std::begin(kLocationDataSets), std::end(kLocationDataSets),
                                                         set.number) != std::end(kLocationDataSets);
}

void AppendResource(std::vector<uint8_t>& out, std::span<const uint8_t> head, std::span<const uint8_t> data) {
    out.insert(out.end(), head.begin(), head.end());
    const auto size = static_cast<uint32_t>(data.size());
    out.insert(out.end(), {static_cast<uint8_t>(size >> 24), static_cast<uint8_t>(size >> 16),
                           static_cast<uint8_t>(size >> 8), static_cast<uint8_t>(size)});
    out.insert(out.end(), data.begin(), data.end());
    if (data.size() % 2 != 0) {
        out.push_back(0);
    }
}

}  // namespace

bool IsPhotoshopPayload(std::span<const uint8_t> payload) {
    return payload.size() >= sizeof kHeader && std::memcmp(payload.data(), kHeader, sizeof kHeader) == 0;
}

bool IsWellFormedPhotoshop(std::span<const uint8_t> payload) {
    const std::optional<std::vector<Resource>> resources = Resources(payload);
    return resources && std::all_of(resources->begin(), resources->end(), [](const Resource& resource) {
               return resource.id != kIptcResource || DataSets(resource.data).has_value();
           });
}

std::optional<std::vector<uint8_t>> RemoveIptcLocation(std::span<const uint8_t> payload) {
    const std::optional<std::vector<Resource>> resources = Resources(payload);
    if (!resources) {
        return std::nullopt;
    }
    bool removed = false;
    std::vector<std::vector<uint8_t>> iim(resources->size());
    for (size_t i = 0; i < resources->size(); ++i) {
        if ((*resources)[i].id != kIptcResource) {
            continue;
        }
        const std::optional<std::vector<DataSet>> sets = DataSets((*resources)[i].data);
        if (!sets) {
            return std::nullopt;
        }
        for (const DataSet& set : *sets) {
            if (IsLocationSet(set)) {
                removed = true;
            } else {
                iim[i].insert(iim[i].end(), set.whole.begin(), set.whole.end());
            }
        }
    }
    if (!removed) {
        return std::vector<uint8_t>(payload.begin(), payload.end());
    }
    std::vector<uint8_t> out(std::begin(kHeader), std::end(kHeader));
    for (size_t i = 0; i < resources->size(); ++i) {
        const Resource& resource = (*resources)[i];
        if (resource.id == kIptcDigestResource) {
            continue;
        }
        AppendResource(out, resource.head, resource.id == kIptcResource ? iim[i] : resource.data);
    }
    return out;
}

}  // namespace pelimon
