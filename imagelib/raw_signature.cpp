// The signatures of camera raw files. Most formats have their own magic; those that are plain
// TIFF files (DNG, NEF, ARW, PEF, SRW, 3FR...) are told from other TIFF files by their first
// directory: a DNG version, or a camera maker's name beside a directory only a raw file has (sub
// directories, a reduced first image, a colour filter array, a compression of the maker's own).
#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

#include "imagelib/codec_support.h"
#include "imagelib/formats.h"

namespace pelimon::imagelib_detail {

namespace {

bool HasAt(ByteView bytes, size_t at, std::string_view text) {
    return at + text.size() <= bytes.size() &&
           std::equal(text.begin(), text.end(), bytes.begin() + static_cast<long>(at));
}

// The makers whose cameras write raw files as plain TIFF structures.
constexpr std::array<std::string_view, 16> kRawMakers = {
    "NIKON", "SONY", "PENTAX",    "RICOH",  "SAMSUNG",     "Hasselblad", "KODAK", "EASTMAN KODAK",
    "Kodak", "Leaf", "Phase One", "Mamiya", "SEIKO EPSON", "Leica",      "LEICA", "Canon"};

constexpr uint16_t kTagNewSubfileType = 0x00FE;
constexpr uint16_t kTagCompression = 0x0103;
constexpr uint16_t kTagPhotometric = 0x0106;
constexpr uint16_t kTagMake = 0x010F;
constexpr uint16_t kTagSubIfds = 0x014A;
constexpr uint16_t kTagDngVersion = 0xC612;
constexpr uint32_t kPhotometricCfa = 32803;
constexpr uint32_t kPhotometricLinearRaw = 34892;

// The compressions of ordinary TIFF files; any other is a camera maker's.
bool OrdinaryCompression(uint32_t compression) {
    constexpr std::array<uint32_t, 10> kOrdinary = {1, 2, 3, 4, 5, 6, 7, 8, 32773, 32946};
    return std::find(kOrdinary.begin(), kOrdinary.end(), compression) != kOrdinary.end();
}

bool TiffLooksRaw(ByteView bytes) {
    const bool little = bytes[0] == 'I';
    const auto u16 = [&](size_t at) { return little ? ReadLe16(bytes, at) : ReadBe16(bytes, at); };
    const auto u32 = [&](size_t at) { return little ? ReadLe32(bytes, at) : ReadBe32(bytes, at); };
    const size_t ifd = u32(4);
    if (ifd < 8 || ifd + 2 > bytes.size()) {
        return false;
    }
    const size_t count = u16(ifd);
    bool dng = false;
    bool raw_layout = false;
    std::string_view make;
    for (size_t i = 0; i < count && ifd + 2 + 12 * (i + 1) <= bytes.size(); ++i) {
        const size_t entry = ifd + 2 + 12 * i;
        const uint32_t tag = u16(entry);
        const uint32_t type = u16(entry + 2);
        const uint32_t number = u32(entry + 4);
        const uint32_t value = type == 3 ? u16(entry + 8) : u32(entry + 8);
        switch (tag) {
            case kTagDngVersion:
                dng = true;
                break;
            case kTagNewSubfileType:
                raw_layout = raw_layout || value == 1;
                break;
            case kTagSubIfds:
                raw_layout = true;
                break;
            case kTagPhotometric:
                raw_layout = raw_layout || value == kPhotometricCfa || value == kPhotometricLinearRaw;
                break;
            case kTagCompression:
                raw_layout = raw_layout || !OrdinaryCompression(value);
                break;
            case kTagMake: {
                const size_t at = number <= 4 ? entry + 8 : value;
                if (type == 2 && at < bytes.size() && number <= bytes.size() - at) {
                    make = std::string_view(reinterpret_cast<const char*>(bytes.data()) + at, number);
                }
                break;
            }
            default:
                break;
        }
    }
    const bool raw_maker = std::any_of(kRawMakers.begin(), kRawMakers.end(),
                                       [make](std::string_view maker) { return make.starts_with(maker); });
    return dng || (raw_maker && raw_layout);
}

}  // namespace

bool SniffsRaw(ByteView bytes) {
    if (bytes.size() < 16) {
        return false;
    }
    if (HasAt(bytes, 0, "FUJIFILM") || HasAt(bytes, 0, std::string_view("\0MRM", 4)) || HasAt(bytes, 0, "FOVb") ||
        HasAt(bytes, 6, "HEAPCCDR") || (HasAt(bytes, 4, "ftyp") && HasAt(bytes, 8, "crx ")) ||
        HasAt(bytes, 0, "IIRO") || HasAt(bytes, 0, "IIRS") || HasAt(bytes, 0, "MMOR") ||
        HasAt(bytes, 0, std::string_view("IIU\0", 4))) {
        return true;
    }
    const bool tiff = HasAt(bytes, 0, std::string_view("II*\0", 4)) || HasAt(bytes, 0, std::string_view("MM\0*", 4));
    if (!tiff) {
        return false;
    }
    // Canon CR2 and Phase One IIQ mark their TIFF header.
    if (HasAt(bytes, 8, "CR") || HasAt(bytes, 8, "IIII") || HasAt(bytes, 8, "MMMM")) {
        return true;
    }
    return TiffLooksRaw(bytes);
}

}  // namespace pelimon::imagelib_detail
