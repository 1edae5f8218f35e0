// Quarter-turn rotation, clockwise.
#include <algorithm>

#include "imagelib/imagelib.h"

namespace pelimon {

Image Rotate(const Image& image, int degrees) {
    const int turns = ((degrees % 360 + 360) % 360) / 90;
    if (turns == 0) {
        return image;
    }
    const int w = image.width();
    const int h = image.height();
    Image out = turns == 2 ? Image(w, h) : Image(h, w);
    for (int y = 0; y < h; ++y) {
        const uint8_t* in = image.row(y);
        for (int x = 0; x < w; ++x) {
            // Where source pixel (x, y) lands.
            int dx = 0;
            int dy = 0;
            if (turns == 1) {  // top edge becomes the right edge
                dx = h - 1 - y;
                dy = x;
            } else if (turns == 2) {
                dx = w - 1 - x;
                dy = h - 1 - y;
            } else {  // 270: top edge becomes the left edge
                dx = y;
                dy = w - 1 - x;
            }
            std::copy_n(in + 3 * static_cast<size_t>(x), 3, out.row(dy) + 3 * static_cast<size_t>(dx));
        }
    }
    return out;
}

}  // namespace pelimon
