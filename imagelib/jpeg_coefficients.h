// The pieces of the rate-distortion optimised JPEG encoder (jpeg_rd_encoder.cpp), one technique
// per file: colour planes (jpeg_planes.cpp), the forward DCT (jpeg_forward_dct.cpp), bit costs
// from symbol statistics (jpeg_bit_costs.cpp), trellis quantisation (jpeg_trellis.cpp), writing
// chosen coefficients with a scan script (jpeg_coefficient_writer.cpp) and choosing the script
// (jpeg_scan_choice.cpp).
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "imagelib/image.h"
#include "imagelib/imagelib.h"
#include "imagelib/jpeg_support.h"

namespace pelimon::imagelib_detail {

// Position in natural (row-major) order of the k-th coefficient in zigzag order.
extern const std::array<uint8_t, 64> kZigzagToNatural;

// One plane of samples as floats, padded by repeating the last column and row.
struct SamplePlane {
    int width = 0;   // padded width, a multiple of 8
    int height = 0;  // padded height, a multiple of 8
    std::vector<float> samples;
    const float* row(int y) const { return samples.data() + static_cast<size_t>(y) * static_cast<size_t>(width); }
    float* row(int y) { return samples.data() + static_cast<size_t>(y) * static_cast<size_t>(width); }
};

// The image's Y, Cb and Cr planes with libjpeg's JFIF conversion, unrounded. Luma is padded to
// whole MCUs (16 x 16 pixels when chroma is subsampled, else 8 x 8); with `subsample_chroma` each
// chroma sample is the mean of the 2 x 2 luma-grid samples under it, sharpened so that the
// decoder's triangle upsampling brings back edges less blurred.
struct YccPlanes {
    std::array<SamplePlane, 3> planes;
};
void ToYccPlanes(const Image& image, bool subsample_chroma, YccPlanes& out);

// The orthonormal 8x8 DCT of the block at `top_left` (level shifted by 128), in natural order.
void ForwardDct8x8(const float* top_left, size_t stride, float out[64]);

// Bits per Huffman symbol of one table class (luma or chroma), as the optimised tables would spend
// them, without the extra bits of the magnitude.
struct JpegBitCosts {
    std::array<float, 16> dc{};   // by magnitude category of the DC difference (0..11 occur)
    std::array<float, 256> ac{};  // by (run << 4) | size; 0x00 is the end of block, 0xF0 sixteen zeros
    // The bits of `run` zeros (0..62) then a level of magnitude category `size` (1..10), the
    // sixteen-zero symbols and the magnitude's extra bits included: run_bits[run * 16 + size].
    std::array<float, 63 * 16> run_bits{};
};

// Symbol counts of one table class, as a sequential scan would code the blocks.
struct JpegSymbolCounts {
    std::array<uint32_t, 16> dc{};
    std::array<uint32_t, 256> ac{};
    void AddAc(const int16_t levels[64]);  // natural order; the DC at [0] is not counted
    void AddDc(int difference);
};
// Costs from counts: about -log2 of each symbol's share; unseen symbols cost more than any seen.
JpegBitCosts CostsOf(const JpegSymbolCounts& counts);
// The bits of `run` zeros then a level of magnitude category `size`, from the symbols' costs.
float RunBits(const JpegBitCosts& costs, int run, int size);

// What the trellis weighs for one component: the quantisation steps and the weight of each
// coefficient's squared error, both in natural order, and the bit costs of its table class.
struct TrellisTable {
    // The table of these steps: each weight is 1 / step^2, so that an error of one step costs the
    // same at every frequency. Every field but `costs` follows from the steps, so there is no
    // table without them.
    explicit TrellisTable(const std::array<uint16_t, 64>& steps);
    std::array<uint16_t, 64> quant{};
    std::array<float, 64> weight{};
    // The steps and weights in zigzag order, the order of the trellis's walk.
    std::array<float, 64> zigzag_step{};
    std::array<float, 64> zigzag_weight{};
    const JpegBitCosts* costs = nullptr;
};

// The quantised AC levels (natural order, [0] left as it is) that minimise weighted squared error
// + lambda x bits for one block of DCT coefficients, including where the block's end of block goes.
void TrellisQuantiseAc(const float coefficients[64], const TrellisTable& table, float lambda, int16_t levels[64]);
// The cost TrellisQuantiseAc minimises, of the given levels.
double AcRateDistortionCost(const float coefficients[64], const TrellisTable& table, float lambda,
                            const int16_t levels[64]);

// The DC levels of a chain of blocks in coding order (each coded as the difference to the one
// before, the first to 0) that minimise the weighted squared error + lambda x bits, each the level
// below or above its exact quotient. `scratch` is reused storage.
void TrellisQuantiseDc(std::span<const float> dc, const TrellisTable& table, float lambda, std::span<int16_t> levels,
                       std::vector<uint8_t>& scratch);
double DcRateDistortionCost(std::span<const float> dc, const TrellisTable& table, float lambda,
                            std::span<const int16_t> levels);

// Quantised coefficients of a whole picture, ready for libjpeg: per component, its blocks in rows
// (64 levels each, natural order), and the two quantisation tables.
struct CoefficientPicture {
    int width = 0;
    int height = 0;
    bool subsampled = false;  // 4:2:0, else 4:4:4
    std::array<std::array<uint16_t, 64>, 2> quant{};
    struct Component {
        int width_in_blocks = 0;
        int height_in_blocks = 0;
        std::vector<int16_t> levels;
        int16_t* block(int x, int y) {
            return levels.data() +
                   (static_cast<size_t>(y) * static_cast<size_t>(width_in_blocks) + static_cast<size_t>(x)) * 64;
        }
        const int16_t* block(int x, int y) const {
            return levels.data() +
                   (static_cast<size_t>(y) * static_cast<size_t>(width_in_blocks) + static_cast<size_t>(x)) * 64;
        }
    };
    std::array<Component, 3> components;
};

// The luma and chroma quantisation tables (natural order) of a 1..100 quality (clamped).
std::array<std::array<uint16_t, 64>, 2> QuantTablesFor(int quality);

// The levels the encoder chooses for the image at a 1..100 quality: colour planes, DCT, trellis.
void ChooseCoefficients(const Image& image, int quality, bool subsample_chroma, CoefficientPicture& picture);

// A progressive scan script (empty: one sequential interleaved scan).
using ScanScript = std::span<const jpeg_scan_info>;

// The picture as a JFIF file with optimised Huffman tables and the given scans; only the MCU rows
// first_mcu_row .. first_mcu_row + mcu_rows - 1 (mcu_rows 0: all), to try a script on a sample.
// Returns false with errors.message set on failure.
bool WriteCoefficients(const CoefficientPicture& picture, ScanScript script, Bytes& out, JpegErrorManager& errors,
                       int first_mcu_row = 0, int mcu_rows = 0);

// The progressive script for a picture of a 1..100 quality: by the quality, or where two scripts
// take turns, the one that gives the smaller file for a sample of the picture.
ScanScript ChooseScanScript(const CoefficientPicture& picture, int quality);

}  // namespace pelimon::imagelib_detail
