// XMP packets carried as bytes. The only edit is the removal of location properties; everything
// else of the packet stays byte for byte.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pelimon {

// The XMP properties that tell where a photo was taken, by namespace URI and local name (a name
// ending in '*' matches every local name that begins with what precedes it). A property is
// removed wherever it stands, with everything nested in it:
//   exif:GPS*                        coordinates, altitude, GPS time stamp, direction, speed,
//                                    area, destination, processing method, map datum, version
//   photoshop:City, State, Country   where the photo was taken, in words
//   Iptc4xmpCore:Location, CountryCode
//   Iptc4xmpExt:LocationCreated, LocationShown (structures with coordinates, city and country)
//   drone-dji:GpsLatitude, GpsLongitude, GpsLongtitude, AbsoluteAltitude (drone positions)
// Other properties stay, also when they might hint at a place (a caption, keywords): only the
// fields whose meaning is the location are removed.
// True when `packet` is well-formed enough to edit: UTF-8, balanced elements with matching
// names, quoted attributes, every prefix declared, no DTD.
bool IsWellFormedXmp(std::string_view packet);

// True when the packet holds any of the location properties (in any form: attribute, element
// or nested structure). False for a malformed packet.
bool XmpHasLocation(std::string_view packet);

// The packet without its location properties: attributes are removed with the white space
// before them, elements from the white space before their start tag to the end of their end
// tag. A packet without any is returned unchanged. std::nullopt when the packet is malformed.
std::optional<std::string> RemoveXmpLocation(std::string_view packet);

}  // namespace pelimon
