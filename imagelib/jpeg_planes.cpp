// RGB to the JFIF Y, Cb, Cr planes the encoder transforms, padded to whole MCUs by repeating the
// last column and row as libjpeg does, with chroma optionally averaged over 2 x 2 pixels.
#include <algorithm>

#include "imagelib/jpeg_coefficients.h"

namespace pelimon::imagelib_detail {

namespace {

int RoundUp(int value, int multiple) {
    return (value + multiple - 1) / multiple * multiple;
}

void Shape(SamplePlane& plane, int width, int height) {
    plane.width = width;
    plane.height = height;
    plane.samples.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
}

// Full-resolution planes: the image's pixels converted, then its last column and row repeated.
void Convert(const Image& image, YccPlanes& out) {
    for (int y = 0; y < image.height(); ++y) {
        const uint8_t* rgb = image.row(y);
        float* luma = out.planes[0].row(y);
        float* blue = out.planes[1].row(y);
        float* red = out.planes[2].row(y);
        for (int x = 0; x < image.width(); ++x, rgb += 3) {
            const float r = rgb[0];
            const float g = rgb[1];
            const float b = rgb[2];
            luma[x] = 0.299f * r + 0.587f * g + 0.114f * b;
            blue[x] = -0.168735892f * r - 0.331264108f * g + 0.5f * b + 128.0f;
            red[x] = 0.5f * r - 0.418687589f * g - 0.081312411f * b + 128.0f;
        }
    }
    for (SamplePlane& plane : out.planes) {
        for (int y = 0; y < plane.height; ++y) {
            float* row = plane.row(y);
            if (y >= image.height()) {
                std::copy_n(plane.row(image.height() - 1), plane.width, row);
                continue;
            }
            std::fill(row + image.width(), row + plane.width, row[image.width() - 1]);
        }
    }
}

// Halves a plane in both directions in place: each sample the mean of the four under it.
void Halve(SamplePlane& plane) {
    const int width = plane.width / 2;
    const int height = plane.height / 2;
    for (int y = 0; y < height; ++y) {
        const float* top = plane.row(2 * y);
        const float* bottom = plane.row(2 * y + 1);
        float* out = plane.samples.data() + static_cast<size_t>(y) * static_cast<size_t>(width);
        for (int x = 0; x < width; ++x) {
            out[x] = 0.25f * (top[2 * x] + top[2 * x + 1] + bottom[2 * x] + bottom[2 * x + 1]);
        }
    }
    Shape(plane, width, height);
}

}  // namespace

void ToYccPlanes(const Image& image, bool subsample_chroma, YccPlanes& out) {
    const int mcu = subsample_chroma ? 16 : 8;
    const int width = RoundUp(image.width(), mcu);
    const int height = RoundUp(image.height(), mcu);
    for (SamplePlane& plane : out.planes) {
        Shape(plane, width, height);
    }
    Convert(image, out);
    if (subsample_chroma) {
        Halve(out.planes[1]);
        Halve(out.planes[2]);
    }
}

}  // namespace pelimon::imagelib_detail
