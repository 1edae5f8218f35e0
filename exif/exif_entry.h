// One entry of an Exif image file directory (IFD) as the reader shows it: the raw tag, type and
// count, plus a display name from the tag catalogue and a display text of the value.
#pragma once

#include <cstdint>
#include <string>

#include "common/tiff_type.h"

namespace pelimon {

struct ExifEntry {
    uint16_t tag = 0;        // tag number as stored
    uint16_t type = 0;       // TIFF field type as stored (1..12 are defined)
    uint16_t unit_size = 0;  // TypeSize(type)
    uint32_t count = 0;      // number of units as stored
    std::string name;        // catalogue name, or "不明" for a tag outside the catalogue (UTF-8)
    std::string value;       // display text of the value (UTF-8); empty when no rule applies
};

}  // namespace pelimon
