#include "exif/format_enums.h"

#include "exif/exif_texts.h"

namespace pelimon {
namespace {

// Tags that share another tag's table.
uint16_t TableTag(uint16_t tag) {
    switch (tag) {
        case 0xA210:
            return 0x0128;
        case 0xA403:
            return 0xA402;
        case 0xA409:
        case 0xA40A:
            return 0xA408;
        default:
            return tag;
    }
}

}  // namespace

std::optional<std::string> EnumerationText(uint16_t tag, uint32_t value) {
    const uint16_t table_tag = TableTag(tag);
    bool known_tag = false;
    for (const exif_texts::EnumWord& row : exif_texts::kEnumWords) {
        if (row.tag != table_tag) {
            continue;
        }
        known_tag = true;
        if (row.value == value) {
            return row.word.str();
        }
    }
    if (!known_tag) {
        return std::nullopt;
    }
    return table_tag == 0xA408 ? std::string() : exif_texts::kUnknown.str();
}

}  // namespace pelimon
