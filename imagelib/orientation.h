// The turn of a picture: the Exif Orientation of its file, then a clockwise turn the person chose.
// The renderer and the preview load, orient and turn through these, so that the pixels, the
// sizes they report and the Exif they write agree.
#pragma once

#include "common/result.h"
#include "imagelib/image.h"
#include "imagelib/imagelib.h"

namespace pelimon {

// An Exif Orientation that changes the pixels (2..8); 1 and unknown values leave them alone.
inline bool OrientationChangesPixels(int orientation) {
    return orientation >= 2 && orientation <= 8;
}

// True when `orientation` followed by `degrees` clockwise (taken as Rotate takes it) turns the
// stored frame a quarter, so that width and height swap. Orientations 5..8 turn by a quarter,
// as do 90 and 270 degrees; two quarter turns cancel.
bool TurnsQuarter(int orientation, int degrees);

// True when the pixels written differ in placement from the stored ones: an orientation that
// changes them, or a turn that is not a whole number of full turns.
inline bool PixelsTurned(int orientation, int degrees) {
    return degrees % 360 != 0 || OrientationChangesPixels(orientation);
}

// Load -> orient -> turn: decodes `bytes` into `out` (reusing its allocation), applies the Exif
// `orientation`, then turns it `degrees` clockwise. On a decode failure `out` is left empty and
// the decoder's error is returned.
Status DecodeUpright(ByteView bytes, const DecodeOptions& options, int orientation, int degrees, Image& out);

}  // namespace pelimon
