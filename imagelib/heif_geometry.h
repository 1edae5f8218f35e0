// The geometry of a HEIF/AVIF image item: its coded size ('ispe') and the transformations its
// property list gives ('clap' crop, 'irot' rotation, 'imir' mirror), read from the file's boxes,
// with the size they give and their effect on the decoded picture.
//
// libheif 1.15 applies the transformations itself, but reports an item's size without those its
// property list gives before 'ispe', and rounds a crop one way in the size it reports and another
// in the picture it makes. So the decoder takes the coded picture from libheif, compares it with
// 'ispe', and transforms it here; the probes report the size this same code computes, so that
// probe and decoder always agree.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "common/result.h"
#include "imagelib/image.h"
#include "imagelib/imagelib.h"

namespace pelimon::imagelib_detail {

// A 'clap' clean aperture, its fractions evaluated: the size of the aperture, and the offset of
// its centre from the centre of the picture it crops, in pixels.
struct HeifCrop {
    double width = 0;
    double height = 0;
    double horizontal_offset = 0;
    double vertical_offset = 0;
};

struct HeifTransform {
    enum class Kind { kCrop, kRotate, kMirror };
    Kind kind = Kind::kRotate;
    int anticlockwise_quarters = 0;  // kRotate: 0..3 quarter turns anticlockwise
    bool top_bottom = false;         // kMirror: axis 0 exchanges top and bottom, axis 1 left and right
    HeifCrop crop;                   // kCrop
};

struct HeifGeometry {
    int coded_width = 0;  // from 'ispe'; 0 x 0 when the item has none
    int coded_height = 0;
    std::vector<HeifTransform> transforms;  // in the order of the item's property list
};

struct HeifSize {
    int width = 0;
    int height = 0;
};

// Reads the geometry of item `item` from the top-level 'meta' box of `bytes` (a whole file, or
// a buffer that holds its 'meta' box). Fails, as corrupt, when a 'clap' box is malformed (a zero
// denominator or an empty aperture); boxes that cannot be read are left out, as libheif, which
// reads the same boxes first, refuses files whose boxes are damaged.
Result<HeifGeometry> ReadHeifGeometry(ByteView bytes, uint32_t item);

// The picture's size after every transformation. A crop never reaches outside the picture it
// crops and keeps at least one pixel each way.
HeifSize DisplayedSize(const HeifGeometry& geometry);

// How many of the item's transformations a decoded picture of width x height has had already: 0
// for the coded picture (coded_width x coded_height); 1 when the first transformation is a crop
// and the picture has the size that crop gives, as HEVC's conformance window crops a coded picture
// (phones crop their thumbnails both ways). nullopt for any other size: the picture is not what
// the file declares.
std::optional<size_t> TransformsDone(const HeifGeometry& geometry, int width, int height);

// Applies the transformations from the `first` on to `image`, turning a picture that has had the
// ones before (TransformsDone) into the displayed one (DisplayedSize).
void ApplyHeifTransforms(const HeifGeometry& geometry, size_t first, Image& image);

}  // namespace pelimon::imagelib_detail
