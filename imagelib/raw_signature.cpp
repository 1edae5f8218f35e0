// The signatures of camera raw files. Most formats have their own magic; those that are plain
// TIFF files (DNG, NEF, ARW, PEF, SRW, 3FR...) are told from other TIFF files by their first
// directories: a DNG version, a colour filter array (or linear raw samples) in the first directory,
// its first sub directory or the next one, or a camera maker's name beside a layout only a raw file
// has (sub directories, a reduced first image, a compression of the maker's own).
#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

#include "common/tiff_tags.h"
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

// The compressions of ordinary TIFF files; any other is a camera maker's.
bool OrdinaryCompression(uint32_t compression) {
    constexpr std::array<uint32_t, 10> kOrdinary = {1, 2, 3, 4, 5, 6, 7, 8, 32773, 32946};
    return std::find(kOrdinary.begin(), kOrdinary.end(), compression) != kOrdinary.end();
}

// What one directory of a TIFF structure tells about raw data.
struct DirectorySigns {
    bool dng = false;
    bool raw_samples = false;  // a colour filter array or linear raw samples
    bool raw_layout = false;   // sub directories, a reduced image, a maker's compression
    std::string_view make;
    uint32_t sub_ifd = 0;   // the first sub directory
    uint32_t next_ifd = 0;  // the directory after it
};

DirectorySigns ReadSigns(ByteView bytes, size_t ifd) {
    const bool little = bytes[0] == 'I';
    const auto u16 = [&](size_t at) { return little ? ReadLe16(bytes, at) : ReadBe16(bytes, at); };
    const auto u32 = [&](size_t at) { return little ? ReadLe32(bytes, at) : ReadBe32(bytes, at); };
    DirectorySigns signs;
    if (ifd < 8 || ifd + 2 > bytes.size()) {
        return signs;
    }
    const size_t count = u16(ifd);
    for (size_t i = 0; i < count && ifd + 2 + 12 * (i + 1) <= bytes.size(); ++i) {
        const size_t entry = ifd + 2 + 12 * i;
        const uint32_t type = u16(entry + 2);
        const uint32_t number = u32(entry + 4);
        const uint32_t value = type == 3 ? u16(entry + 8) : u32(entry + 8);
        switch (u16(entry)) {
            case kTiffTagDngVersion:
                signs.dng = true;
                break;
            case kTiffTagNewSubfileType:
                signs.raw_layout = signs.raw_layout || value == 1;
                break;
            case kTiffTagSubIfds:
                signs.raw_layout = true;
                signs.sub_ifd = number == 1 ? value : u32(value);
                break;
            case kTiffTagPhotometric:
                signs.raw_samples = value == kPhotometricCfa || value == kPhotometricLinearRaw;
                break;
            case kTiffTagCompression:
                signs.raw_layout = signs.raw_layout || !OrdinaryCompression(value);
                break;
            case kTiffTagMake: {
                const size_t at = number <= 4 ? entry + 8 : value;
                if (type == 2 && at < bytes.size() && number <= bytes.size() - at) {
                    signs.make = std::string_view(reinterpret_cast<const char*>(bytes.data()) + at, number);
                }
                break;
            }
            default:
                break;
        }
    }
    if (ifd + 2 + 12 * count + 4 <= bytes.size()) {
        signs.next_ifd = u32(ifd + 2 + 12 * count);
    }
    return signs;
}

// Raw when the first directory gives a DNG version, when it, its first sub directory or the
// directory after it holds raw samples, or when a camera maker's name stands beside a raw layout.
bool TiffLooksRaw(ByteView bytes) {
    const DirectorySigns first = ReadSigns(bytes, bytes[0] == 'I' ? ReadLe32(bytes, 4) : ReadBe32(bytes, 4));
    if (first.dng || first.raw_samples) {
        return true;
    }
    for (const uint32_t further : {first.sub_ifd, first.next_ifd}) {
        if (further != 0 && ReadSigns(bytes, further).raw_samples) {
            return true;
        }
    }
    const bool raw_maker = std::any_of(kRawMakers.begin(), kRawMakers.end(),
                                       [make = first.make](std::string_view maker) { return make.starts_with(maker); });
    return raw_maker && first.raw_layout;
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
