// The exact orthonormal 8x8 DCT-II of JPEG, F(u,v) = C(u) C(v) / 4 sum f(x,y) cos((2x+1)u pi/16)
// cos((2y+1)v pi/16), computed as two passes of an 8x8 matrix product in single precision, which
// is far more exact than the quantisation that follows.
#include <cmath>
#include <numbers>

#include "imagelib/jpeg_coefficients.h"

namespace pelimon::imagelib_detail {

namespace {

struct DctBasis {
    float m[8][8];  // m[u][x] = C(u) / 2 cos((2x + 1) u pi / 16)
    DctBasis() {
        for (int u = 0; u < 8; ++u) {
            const double scale = u == 0 ? std::numbers::sqrt2 / 4.0 : 0.5;
            for (int x = 0; x < 8; ++x) {
                m[u][x] = static_cast<float>(scale * std::cos((2 * x + 1) * u * std::numbers::pi / 16.0));
            }
        }
    }
};

const DctBasis kBasis;

}  // namespace

void ForwardDct8x8(const float* top_left, size_t stride, float out[64]) {
    float rows[64];  // rows[y * 8 + u]: each row transformed
    for (int y = 0; y < 8; ++y) {
        const float* src = top_left + static_cast<size_t>(y) * stride;
        float shifted[8];
        for (int x = 0; x < 8; ++x) {
            shifted[x] = src[x] - 128.0f;
        }
        for (int u = 0; u < 8; ++u) {
            float sum = 0.0f;
            for (int x = 0; x < 8; ++x) {
                sum += kBasis.m[u][x] * shifted[x];
            }
            rows[y * 8 + u] = sum;
        }
    }
    for (int v = 0; v < 8; ++v) {
        for (int u = 0; u < 8; ++u) {
            float sum = 0.0f;
            for (int y = 0; y < 8; ++y) {
                sum += kBasis.m[v][y] * rows[y * 8 + u];
            }
            out[v * 8 + u] = sum;
        }
    }
}

}  // namespace pelimon::imagelib_detail
