// The eight Exif orientations. The value says how the stored pixels must be transformed to show
// the picture upright:
//   1 upright (nothing to do)
//   2 mirror horizontal
//   3 rotate 180
//   4 mirror vertical
//   5 transpose (mirror across the top-left to bottom-right diagonal)
//   6 rotate 90 clockwise
//   7 transverse (mirror across the top-right to bottom-left diagonal)
//   8 rotate 270 clockwise
#include <algorithm>
#include <utility>

#include "imagelib/orientation.h"

namespace pelimon {

namespace {

void MirrorHorizontal(Image& image) {
    for (int y = 0; y < image.height(); ++y) {
        uint8_t* row = image.row(y);
        for (size_t l = 0, r = static_cast<size_t>(image.width()) - 1; l < r; ++l, --r) {
            std::swap_ranges(row + 3 * l, row + 3 * l + 3, row + 3 * r);
        }
    }
}

void MirrorVertical(Image& image) {
    for (int top = 0, bottom = image.height() - 1; top < bottom; ++top, --bottom) {
        std::swap_ranges(image.row(top), image.row(top) + image.stride(), image.row(bottom));
    }
}

}  // namespace

void ApplyExifOrientation(Image& image, int orientation) {
    if (image.empty()) {
        return;
    }
    switch (orientation) {
        case 2:
            MirrorHorizontal(image);
            break;
        case 3:
            image = Rotate(image, 180);
            break;
        case 4:
            MirrorVertical(image);
            break;
        case 5:  // transpose = rotate 90 clockwise, then mirror horizontally
            image = Rotate(image, 90);
            MirrorHorizontal(image);
            break;
        case 6:
            image = Rotate(image, 90);
            break;
        case 7:  // transverse = rotate 270 clockwise, then mirror horizontally
            image = Rotate(image, 270);
            MirrorHorizontal(image);
            break;
        case 8:
            image = Rotate(image, 270);
            break;
        default:
            break;
    }
}

bool TurnsQuarter(int orientation, int degrees) {
    const bool orientation_turns = orientation >= 5 && orientation <= 8;
    const bool rotation_turns = ((degrees % 360 + 360) % 360) / 90 % 2 != 0;
    return orientation_turns != rotation_turns;
}

Status DecodeUpright(ByteView bytes, const DecodeOptions& options, int orientation, int degrees, Image& out) {
    if (Status decoded = DecodeImage(bytes, options, out); !decoded.ok()) {
        return decoded;
    }
    ApplyExifOrientation(out, orientation);
    if (degrees % 360 != 0) {
        out = Rotate(out, degrees);
    }
    return {};
}

}  // namespace pelimon
