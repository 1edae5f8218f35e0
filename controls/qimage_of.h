// The program's RGB images as Qt images, for drawing.
#pragma once

#include <QImage>

#include "imagelib/image.h"

namespace pelimon {

// A deep copy of `image` (24-bit RGB).
inline QImage QImageOf(const Image& image) {
    return QImage(image.data(), image.width(), image.height(), static_cast<qsizetype>(image.stride()),
                  QImage::Format_RGB888)
        .copy();
}

}  // namespace pelimon
