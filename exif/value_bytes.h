// Bounds-safe access to the value bytes of an IFD entry in the file's byte order.
// Reads past the end of the bytes give 0, so a formatting rule that expects more data than an
// entry holds never reads outside it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace pelimon {

// Assembles 2 or 4 bytes in the given byte order (little_endian: "II", else "MM").
constexpr uint16_t GetShort(const uint8_t* p, bool little_endian) {
    return little_endian ? static_cast<uint16_t>(p[0] | (p[1] << 8)) : static_cast<uint16_t>((p[0] << 8) | p[1]);
}
constexpr uint32_t GetLong(const uint8_t* p, bool little_endian) {
    return little_endian ? (uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24))
                         : ((uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | uint32_t{p[3]});
}

// Stores 2 or 4 bytes in the given byte order.
constexpr void PutShort(uint8_t* p, uint16_t value, bool little_endian) {
    const auto low = static_cast<uint8_t>(value & 0xFF);
    const auto high = static_cast<uint8_t>(value >> 8);
    p[0] = little_endian ? low : high;
    p[1] = little_endian ? high : low;
}
constexpr void PutLong(uint8_t* p, uint32_t value, bool little_endian) {
    for (int k = 0; k < 4; ++k) {
        const int shift = little_endian ? 8 * k : 24 - 8 * k;
        p[k] = static_cast<uint8_t>((value >> shift) & 0xFF);
    }
}

class ValueBytes {
  public:
    ValueBytes(std::span<const uint8_t> bytes, bool little_endian, uint16_t unit_size)
        : bytes_(bytes), little_endian_(little_endian), unit_size_(unit_size) {}

    size_t size() const { return bytes_.size(); }
    std::span<const uint8_t> bytes() const { return bytes_; }
    uint8_t Byte(size_t k) const { return k < bytes_.size() ? bytes_[k] : 0; }
    // S(k) and L(k): the 16- and 32-bit values at byte k; 0 when they do not fit.
    uint16_t Short(size_t k) const { return Fits(k, 2) ? GetShort(bytes_.data() + k, little_endian_) : 0; }
    uint32_t Long(size_t k) const { return Fits(k, 4) ? GetLong(bytes_.data() + k, little_endian_) : 0; }
    int32_t SignedLong(size_t k) const { return static_cast<int32_t>(Long(k)); }
    // The first value as an unsigned number read at its own width: S(0) for 2-byte types,
    // byte 0 for 1-byte types, L(0) otherwise.
    uint32_t Number() const {
        if (unit_size_ == 2) {
            return Short(0);
        }
        return unit_size_ == 1 ? Byte(0) : Long(0);
    }

  private:
    bool Fits(size_t k, size_t n) const { return k <= bytes_.size() && n <= bytes_.size() - k; }

    std::span<const uint8_t> bytes_;
    bool little_endian_;
    uint16_t unit_size_;
};

}  // namespace pelimon
