// The signatures of camera raw files. Most formats have their own magic; those that are plain
// TIFF files (DNG, NEF, ARW, PEF, SRW, 3FR...) are told from other TIFF files by their first
// directories: a DNG version, a colour filter array (or linear raw samples) in the first directory,
// its first sub directory or the next one, or a camera maker's name beside a layout only a raw file
// has (sub directories, a reduced first image, a compression of the maker's own).
#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "common/tiff_tags.h"
#include "imagelib/formats.h"
#include "imagelib/tiff_structure.h"

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
    std::string make;
    uint64_t sub_ifd = 0;   // the first sub directory
    uint64_t next_ifd = 0;  // the directory after it
};

// The values a signature reads are numbers and a maker's name.
constexpr size_t kMaxSignValueBytes = 4096;

DirectorySigns ReadSigns(const TiffStructure& tiff, uint64_t ifd) {
    DirectorySigns signs;
    const std::optional<TiffDirectory> directory =
        ifd >= 8 ? tiff.ReadDirectory(ifd, kMaxSignValueBytes) : std::nullopt;
    if (!directory) {
        return signs;
    }
    for (const TiffEntry& entry : directory->entries) {
        const uint64_t value = tiff.Number(entry).value_or(0);
        switch (entry.tag) {
            case kTiffTagDngVersion:
                signs.dng = true;
                break;
            case kTiffTagNewSubfileType:
                signs.raw_layout = signs.raw_layout || value == 1;
                break;
            case kTiffTagSubIfds:
                signs.raw_layout = true;
                signs.sub_ifd = value;
                break;
            case kTiffTagPhotometric:
                signs.raw_samples = value == kPhotometricCfa || value == kPhotometricLinearRaw;
                break;
            case kTiffTagCompression:
                signs.raw_layout = signs.raw_layout || !OrdinaryCompression(static_cast<uint32_t>(value));
                break;
            case kTiffTagMake:
                if (entry.type == kTiffAscii) {
                    signs.make.assign(entry.value.begin(), entry.value.end());
                }
                break;
            default:
                break;
        }
    }
    signs.next_ifd = directory->next;
    return signs;
}

// Raw when the first directory gives a DNG version, when it, its first sub directory or the
// directory after it holds raw samples, or when a camera maker's name stands beside a raw layout.
bool TiffLooksRaw(ByteView bytes) {
    const MemoryTiffSource source(bytes);
    constexpr uint16_t kClassicTiff[] = {42};
    const std::optional<TiffStructure> tiff = TiffStructure::Open(source, kClassicTiff);
    if (!tiff) {
        return false;
    }
    const DirectorySigns first = ReadSigns(*tiff, tiff->first_directory());
    if (first.dng || first.raw_samples) {
        return true;
    }
    for (const uint64_t further : {first.sub_ifd, first.next_ifd}) {
        if (further != 0 && ReadSigns(*tiff, further).raw_samples) {
            return true;
        }
    }
    const bool raw_maker = std::any_of(kRawMakers.begin(), kRawMakers.end(), [&first](std::string_view maker) {
        return std::string_view(first.make).starts_with(maker);
    });
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
