// Texts of the enumerated Exif values (orientation, metering mode, flash, …).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace pelimon {

// The display text of an enumerated tag's value: the table's word, or "不明" (Unknown) for a value the
// table does not list (contrast, saturation and sharpness give an empty text instead).
// std::nullopt when `tag` is not an enumerated tag.
std::optional<std::string> EnumerationText(uint16_t tag, uint32_t value);

}  // namespace pelimon
