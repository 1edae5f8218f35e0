// RGB to the JFIF Y, Cb, Cr planes the encoder transforms, padded to whole MCUs by repeating the
// last column and row as libjpeg does, with chroma optionally subsampled: averaged over 2 x 2
// pixels, then sharpened against the blur of the decoder's upsampling.
#include <algorithm>
#include <vector>

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

// One step of back-projection against libjpeg's fancy (triangle) 2x upsampling, which decoders
// use by default: the halved plane c becomes c + (c - B(U(c))), where U upsamples and B averages
// each 2 x 2 back. B(U(c)) is c filtered by [1 6 1] / 8 in both directions (edges repeated), so the
// step is an unsharp mask. Colour edges then come back from the decoder less smeared; on the
// bench's photographs that lowered Butteraugli distances at equal bytes. Values stay in 0..255.
void SharpenForUpsampling(SamplePlane& plane, std::vector<float>& scratch) {
    const int width = plane.width;
    const int height = plane.height;
    scratch.resize(plane.samples.size());
    for (int y = 0; y < height; ++y) {
        const float* in = plane.row(y);
        float* out = scratch.data() + static_cast<size_t>(y) * static_cast<size_t>(width);
        for (int x = 0; x < width; ++x) {
            const float left = in[std::max(x - 1, 0)];
            const float right = in[std::min(x + 1, width - 1)];
            out[x] = 0.125f * (left + right) + 0.75f * in[x];
        }
    }
    for (int y = 0; y < height; ++y) {
        const auto row = [&](int r) {
            return scratch.data() + static_cast<size_t>(std::clamp(r, 0, height - 1)) * static_cast<size_t>(width);
        };
        const float* above = row(y - 1);
        const float* middle = row(y);
        const float* below = row(y + 1);
        float* out = plane.row(y);
        for (int x = 0; x < width; ++x) {
            const float blurred = 0.125f * (above[x] + below[x]) + 0.75f * middle[x];
            out[x] = std::clamp(2.0f * out[x] - blurred, 0.0f, 255.0f);
        }
    }
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
        std::vector<float> scratch;
        for (const size_t c : {size_t{1}, size_t{2}}) {
            Halve(out.planes[c]);
            SharpenForUpsampling(out.planes[c], scratch);
        }
    }
}

}  // namespace pelimon::imagelib_detail
