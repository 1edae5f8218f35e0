// The colours of an output: converted to sRGB when the settings ask for it and the source's are
// not sRGB, else carried as the source's profile.
#pragma once

#include <vector>

#include "exif/source_metadata.h"
#include "imagelib/image.h"
#include "settings/app_settings.h"

namespace pelimon {

// The source's colour profile: its ICC profile, or one built from nclx colour whose primaries are
// not sRGB's; empty when the source says nothing or says sRGB through nclx.
std::vector<uint8_t> SourceColourProfile(const SourceMetadata& source);

// With ToSRGB 1 and a source profile that is not sRGB, converts `image` (the reduced output, so
// that the cost follows the output size) to sRGB and returns an empty profile: the output is
// written without one. Otherwise leaves the image alone and returns the source profile for the
// output to carry. A profile lcms2 cannot use is carried as it is.
std::vector<uint8_t> PrepareOutputColour(const AppSettings& settings, const SourceMetadata& source, Image& image);

}  // namespace pelimon
