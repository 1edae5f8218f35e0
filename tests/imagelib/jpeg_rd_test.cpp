// The rate-distortion optimised JPEG encoder: its files hold exactly the levels it chose, its
// trellis never does worse than rounding by its own measure, every quality decodes, and the bytes
// depend on nothing but the input.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "imagelib/imagelib.h"
#include "imagelib/jpeg_coefficients.h"
#include "imagelib/jpeg_rd_encoder.h"
#include "tests/imagelib/test_images.h"

namespace pelimon {
namespace {

using namespace imagelib_detail;

// A photograph-like test image: a smooth gradient with seeded noise and a sharp edge.
Image MakeScene(int width, int height, unsigned seed) {
    Image image(width, height);
    std::mt19937 random(seed);
    std::normal_distribution<double> noise(0.0, 12.0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint8_t* pixel = image.row(y) + 3 * x;
            const double edge = x > width / 2 ? 60.0 : 0.0;
            const double base[3] = {40.0 + 150.0 * x / width + edge, 200.0 - 120.0 * y / height,
                                    90.0 + 50.0 * std::sin(x * 0.3 + y * 0.2)};
            for (int c = 0; c < 3; ++c) {
                pixel[c] = static_cast<uint8_t>(std::clamp(base[c] + noise(random), 0.0, 255.0));
            }
        }
    }
    return image;
}

// The levels of every component of a JPEG file, read with libjpeg's coefficient reader.
struct ReadBack {
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    ~ReadBack() { jpeg_destroy_decompress(&info); }
};

void ExpectHoldsLevels(const Bytes& file, const CoefficientPicture& picture) {
    ReadBack read;
    read.info.err = jpeg_std_error(&read.errors);
    jpeg_create_decompress(&read.info);
    jpeg_mem_src(&read.info, file.data(), static_cast<unsigned long>(file.size()));
    ASSERT_EQ(jpeg_read_header(&read.info, TRUE), JPEG_HEADER_OK);
    jvirt_barray_ptr* arrays = jpeg_read_coefficients(&read.info);
    ASSERT_EQ(read.info.num_components, 3);
    for (int c = 0; c < 3; ++c) {
        const CoefficientPicture::Component& component = picture.components[static_cast<size_t>(c)];
        ASSERT_EQ(static_cast<int>(read.info.comp_info[c].width_in_blocks), component.width_in_blocks);
        ASSERT_EQ(static_cast<int>(read.info.comp_info[c].height_in_blocks), component.height_in_blocks);
        for (int y = 0; y < component.height_in_blocks; ++y) {
            JBLOCKARRAY row = (*read.info.mem->access_virt_barray)(reinterpret_cast<j_common_ptr>(&read.info),
                                                                   arrays[c], static_cast<JDIMENSION>(y), 1, FALSE);
            ASSERT_EQ(std::memcmp(row[0], component.block(0, y),
                                  sizeof(JBLOCK) * static_cast<size_t>(component.width_in_blocks)),
                      0)
                << "component " << c << " block row " << y;
        }
    }
    jpeg_finish_decompress(&read.info);
}

TEST(JpegRdEncoder, FileHoldsTheChosenLevels) {
    struct Case {
        int width, height, quality;
        bool subsampled;
    };
    for (const Case& test : {Case{1, 1, 90, true}, Case{17, 9, 50, true}, Case{33, 31, 75, false},
                             Case{200, 120, 90, true}, Case{64, 48, 20, false}, Case{250, 200, 100, true}}) {
        SCOPED_TRACE(testing::Message() << test.width << "x" << test.height << " q" << test.quality
                                        << (test.subsampled ? " 4:2:0" : " 4:4:4"));
        CoefficientPicture picture;
        ChooseCoefficients(MakeScene(test.width, test.height, 7), test.quality, test.subsampled, picture);
        Bytes file;
        JpegErrorManager errors{};
        ASSERT_TRUE(WriteCoefficients(picture, ChooseScanScript(picture, test.quality), file, errors))
            << errors.message;
        ExpectHoldsLevels(file, picture);
    }
    // What EncodeJpegOptimised writes is that choice too.
    const Image scene = MakeScene(97, 65, 3);
    CoefficientPicture picture;
    ChooseCoefficients(scene, 80, true, picture);
    Result<Bytes> file = EncodeJpegOptimised(scene, 80);
    ASSERT_TRUE(file.ok());
    ExpectHoldsLevels(file.value(), picture);
}

TEST(JpegRdEncoder, TrellisNeverCostsMoreThanRounding) {
    std::mt19937 random(11);
    std::exponential_distribution<float> magnitude(0.08f);
    std::bernoulli_distribution negative(0.5);
    for (int quality : {5, 50, 90, 100}) {
        const auto steps = QuantTablesFor(quality);
        TrellisTable table(steps[0]);
        std::vector<std::array<float, 64>> blocks(200);
        std::vector<std::array<int16_t, 64>> rounded(blocks.size());
        JpegSymbolCounts counts;
        for (size_t b = 0; b < blocks.size(); ++b) {
            for (size_t i = 0; i < 64; ++i) {
                const float value = magnitude(random) * 40.0f / (1.0f + static_cast<float>(i));
                blocks[b][i] = negative(random) ? -value : value;
                rounded[b][i] = static_cast<int16_t>(std::clamp(
                    static_cast<int>(std::lround(blocks[b][i] / static_cast<float>(table.quant[i]))), -1023, 1023));
            }
            counts.AddAc(rounded[b].data());
        }
        const JpegBitCosts costs = CostsOf(counts);
        table.costs = &costs;
        for (float lambda : {0.001f, 0.05f, 0.5f, 5.0f}) {
            SCOPED_TRACE(testing::Message() << "quality " << quality << " lambda " << lambda);
            std::vector<float> dc;
            std::vector<int16_t> dc_rounded;
            for (size_t b = 0; b < blocks.size(); ++b) {
                std::array<int16_t, 64> levels{};
                TrellisQuantiseAc(blocks[b].data(), table, lambda, levels.data());
                EXPECT_LE(AcRateDistortionCost(blocks[b].data(), table, lambda, levels.data()),
                          AcRateDistortionCost(blocks[b].data(), table, lambda, rounded[b].data()) * (1 + 1e-4) + 1e-6)
                    << "block " << b;
                dc.push_back(std::clamp(blocks[b][0] * 3.0f, -1024.0f, 1016.0f));
                dc_rounded.push_back(static_cast<int16_t>(std::lround(dc.back() / table.quant[0])));
            }
            std::vector<int16_t> dc_levels(dc.size());
            std::vector<uint8_t> scratch;
            TrellisQuantiseDc(dc, table, lambda, dc_levels, scratch);
            EXPECT_LE(DcRateDistortionCost(dc, table, lambda, dc_levels),
                      DcRateDistortionCost(dc, table, lambda, dc_rounded) * (1 + 1e-4) + 1e-6);
        }
    }
}

TEST(JpegRdEncoder, EveryQualityAndSubsamplingDecodes) {
    const Image scene = MakeScene(45, 29, 5);
    for (bool subsampled : {true, false}) {
        for (int quality = 1; quality <= 100; ++quality) {
            SCOPED_TRACE(testing::Message() << "quality " << quality << (subsampled ? " 4:2:0" : " 4:4:4"));
            CoefficientPicture picture;
            ChooseCoefficients(scene, quality, subsampled, picture);
            Bytes file;
            JpegErrorManager errors{};
            ASSERT_TRUE(WriteCoefficients(picture, ChooseScanScript(picture, quality), file, errors)) << errors.message;
            Result<Image> decoded = DecodeImage(file);
            ASSERT_TRUE(decoded.ok());
            ASSERT_EQ(decoded.value().width(), 45);
            ASSERT_EQ(decoded.value().height(), 29);
            if (quality >= 90) {
                // Noise of 12 grey levels is not kept at this size, but the picture is.
                EXPECT_LE(test::MaxDifference(decoded.value(), scene), 80);
            }
        }
    }
}

// Squared error of a halved chroma plane, upsampled as libjpeg's fancy upsampling does, against the
// full-resolution plane.
double UpsamplingError(const SamplePlane& low, const SamplePlane& full) {
    double error = 0;
    for (int y = 0; y < full.height; ++y) {
        for (int x = 0; x < full.width; ++x) {
            const int cx = x / 2;
            const int cy = y / 2;
            const int nx = std::clamp(x % 2 == 0 ? cx - 1 : cx + 1, 0, low.width - 1);
            const int ny = std::clamp(y % 2 == 0 ? cy - 1 : cy + 1, 0, low.height - 1);
            const double up =
                (9.0 * low.row(cy)[cx] + 3.0 * low.row(cy)[nx] + 3.0 * low.row(ny)[cx] + low.row(ny)[nx]) / 16.0;
            error += (up - full.row(y)[x]) * (up - full.row(y)[x]);
        }
    }
    return error;
}

TEST(JpegRdEncoder, SubsampledChromaComesBackSharperThanItsMean) {
    Image edges(32, 32);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const bool red = (x / 5 + y / 7) % 2 == 0;
            std::memcpy(edges.row(y) + 3 * x, red ? "\xe0\x20\x30" : "\x20\x40\xe0", 3);
        }
    }
    YccPlanes full;
    YccPlanes halved;
    ToYccPlanes(edges, false, full);
    ToYccPlanes(edges, true, halved);
    for (const size_t c : {size_t{1}, size_t{2}}) {
        SamplePlane mean{.width = 16, .height = 16, .samples = std::vector<float>(256)};
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                const SamplePlane& f = full.planes[c];
                mean.row(y)[x] = 0.25f * (f.row(2 * y)[2 * x] + f.row(2 * y)[2 * x + 1] + f.row(2 * y + 1)[2 * x] +
                                          f.row(2 * y + 1)[2 * x + 1]);
            }
        }
        EXPECT_LT(UpsamplingError(halved.planes[c], full.planes[c]), 0.9 * UpsamplingError(mean, full.planes[c]));
    }
    // A flat colour stays exactly what it was.
    Image flat(16, 16);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            std::memcpy(flat.row(y) + 3 * x, "\x30\xa0\x50", 3);
        }
    }
    ToYccPlanes(flat, true, halved);
    EXPECT_NEAR(halved.planes[1].row(3)[5], -0.168735892f * 48 - 0.331264108f * 160 + 0.5f * 80 + 128, 1e-3);
}

TEST(JpegRdEncoder, BytesDependOnlyOnTheInput) {
    const Image scene = MakeScene(130, 70, 9);
    const Bytes first = EncodeJpeg(scene, {.quality = 85}).value();
    EXPECT_EQ(EncodeJpeg(scene, {.quality = 85}).value(), first);
    EXPECT_EQ(EncodeJpeg(Image(scene), {.quality = 85}).value(), first);
    // The baseline encoder stays available and differs.
    EXPECT_NE(EncodeJpeg(scene, {.quality = 85, .fast_jpeg = true}).value(), first);
}

}  // namespace
}  // namespace pelimon
