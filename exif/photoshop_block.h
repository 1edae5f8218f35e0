// The payload of a JPEG APP13 "Photoshop 3.0" segment: image resource blocks, one of which
// (0x0404) holds the IPTC-IIM data sets (captions, keywords, copyright, ...). Carried as bytes;
// the only edit is the removal of the IPTC location data sets.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace pelimon {

// True when the payload begins with "Photoshop 3.0\0" (what JPEG files carry in APP13).
bool IsPhotoshopPayload(std::span<const uint8_t> payload);

// True when the resource blocks tile the payload (zero bytes may pad its end) and the IPTC
// block, when there is one, is a sequence of well-formed data sets.
bool IsWellFormedPhotoshop(std::span<const uint8_t> payload);

// The payload without the IPTC data sets that name a place: 2:26 and 2:27 (content location
// code and name), 2:90 City, 2:92 Sub-location, 2:95 Province/State, 2:100 and 2:101 (country
// code and name). When any is removed the IPTC digest (resource 0x0425) goes too, since it no
// longer matches. Unchanged when there are none; std::nullopt when the payload is malformed.
std::optional<std::vector<uint8_t>> RemoveIptcLocation(std::span<const uint8_t> payload);

}  // namespace pelimon
