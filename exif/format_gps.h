// Display texts of the GPS IFD's values: positions in degrees with their N/S/E/W, altitude,
// time stamp, date stamp.
#pragma once

#include <cstdint>
#include <span>

#include "exif/exif_entry.h"

namespace pelimon {

// The value texts of a GPS IFD's entries, which depend on each other: values[i] holds the value
// bytes of entries[i] (as for FormatTagValue), or nothing for an entry that gets no text.
// Latitudes and longitudes read in degrees with the N, S, E or W of their reference entries
// ("41.853000° N"), the altitude in metres, below sea level with a minus sign ("-12.5 m"), the
// time stamp as UTC time ("14:33:35.62 UTC"), the date stamp as "2011/05/02"; texts as text,
// and the other numbers as numbers. Never reads outside `values`.
void FormatGpsValues(std::span<ExifEntry> entries, std::span<const std::span<const uint8_t>> values,
                     bool little_endian);

}  // namespace pelimon
