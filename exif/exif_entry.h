// One entry of an Exif image file directory (IFD) as the reader shows it: the raw tag, type and
// count, plus a display name from the tag catalogue and a display text of the value.
#pragma once

#include <cstdint>
#include <string>

namespace pelimon {

struct ExifEntry {
    uint16_t tag = 0;        // tag number as stored
    uint16_t type = 0;       // TIFF field type as stored (1..12 are defined)
    uint16_t unit_size = 0;  // TypeSize(type)
    uint32_t count = 0;      // number of units as stored
    std::string name;        // catalogue name, or "不明" for a tag outside the catalogue (UTF-8)
    std::string value;       // display text of the value (UTF-8); empty when no rule applies
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
