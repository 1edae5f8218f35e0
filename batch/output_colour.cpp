#include "batch/output_colour.h"

#include "imagelib/colour.h"

namespace pelimon {

std::vector<uint8_t> SourceColourProfile(const SourceMetadata& source) {
    if (!source.icc_profile.empty()) {
        return source.icc_profile;
    }
    if (source.nclx && !IsSrgbNclx(*source.nclx)) {
        return IccProfileForNclx(*source.nclx);
    }
    return {};
}

std::vector<uint8_t> PrepareOutputColour(const AppSettings& settings, const SourceMetadata& source, Image& image) {
    std::vector<uint8_t> profile = SourceColourProfile(source);
    if (settings.ToSRGB == 1 && !profile.empty() && !IsSrgbProfile(profile) && ConvertToSrgb(image, profile).ok()) {
        return {};
    }
    return profile;
}

}  // namespace pelimon
