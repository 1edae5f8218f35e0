// XMP packets carried as bytes. The only edit is the removal of listed properties; everything
// else of the packet stays byte for byte.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pelimon {

// The groups of XMP properties an output may have to leave out, as bits to combine. A property is
// listed by namespace URI and local name (a name ending in '*' matches every local name that
// begins with what precedes it) and is removed wherever it stands, with everything nested in it.
enum XmpGroup : unsigned {
    // Where the photo was taken (NoLocation):
    //   exif:GPS*                        coordinates, altitude, GPS time stamp, direction, speed,
    //                                    area, destination, processing method, map datum, version
    //   photoshop:City, State, Country   where the photo was taken, in words
    //   Iptc4xmpCore:Location, CountryCode
    //   Iptc4xmpExt:LocationCreated, LocationShown (structures with coordinates, city and country)
    //   drone-dji:GpsLatitude, GpsLongitude, GpsLongtitude, AbsoluteAltitude (drone positions)
    // Other properties stay, also when they might hint at a place (a caption, keywords): only the
    // fields whose meaning is the location are removed.
    kXmpLocation = 1u,
    // A gain map (the second picture of an HDR photo) that outputs do not carry:
    //   hdrgm:*              (http://ns.adobe.com/hdr-gain-map/1.0/) the gain map's version and
    //                        parameters, which announce it to HDR viewers
    //   Container:Directory  (http://ns.google.com/photos/1.0/container/) the list of pictures
    //                        stored after the primary one, with their lengths
    //   HDRGainMap:*         (http://ns.apple.com/HDRGainMap/1.0/) Apple's gain-map version and
    //                        headroom
    kXmpGainMap = 2u,
};

// True when `packet` is well-formed enough to edit: UTF-8, balanced elements with matching
// names, quoted attributes, every prefix declared, no DTD.
bool IsWellFormedXmp(std::string_view packet);

// True when the packet holds any property of `groups` (in any form: attribute, element or
// nested structure). False for a malformed packet.
bool XmpHasProperties(std::string_view packet, unsigned groups);

// The packet without the properties of `groups`: attributes are removed with the white space
// before them, elements from the white space before their start tag to the end of their end tag.
// A packet without any is returned unchanged. std::nullopt when the packet is malformed.
std::optional<std::string> RemoveXmpProperties(std::string_view packet, unsigned groups);

}  // namespace pelimon
