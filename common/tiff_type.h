// The field types of TIFF structures (Exif blocks, TIFF and camera raw files).
#pragma once

#include <cstdint>

namespace pelimon {

// TIFF field types (TIFF 6.0 and BigTIFF).
enum TiffType : uint16_t {
    kTiffByte = 1,
    kTiffAscii = 2,
    kTiffShort = 3,
    kTiffLong = 4,
    kTiffRational = 5,
    kTiffUndefined = 7,
    kTiffSLong = 9,
    kTiffIfd = 13,
    kTiffLong8 = 16,
    kTiffIfd8 = 18,
};

// Bytes per unit of a TIFF field type: BYTE, ASCII, SBYTE, UNDEFINED 1; SHORT, SSHORT 2;
// LONG, SLONG, FLOAT 4; RATIONAL, SRATIONAL, DOUBLE 8; 0 for type 0 and types above 12.
constexpr uint16_t TypeSize(uint16_t type) {
    switch (type) {
        case 1:
        case 2:
        case 6:
        case 7:
            return 1;
        case 3:
        case 8:
            return 2;
        case 4:
        case 9:
        case 11:
            return 4;
        case 5:
        case 10:
        case 12:
            return 8;
        default:
            return 0;
    }
}

}  // namespace pelimon
