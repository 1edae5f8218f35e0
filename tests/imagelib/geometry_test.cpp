// Rotation and the eight Exif orientations on small asymmetric images.
#include <gtest/gtest.h>

#include "imagelib/imagelib.h"
#include "imagelib/orientation.h"
#include "test_images.h"

namespace pelimon {
namespace {

// A 3 x 2 image whose pixels are numbered 1..6 in reading order (red channel):
//   1 2 3
//   4 5 6
Image Numbered() {
    Image image(3, 2);
    for (size_t i = 0; i < 6; ++i) {
        image.data()[3 * i] = static_cast<uint8_t>(i + 1);
    }
    return image;
}

std::vector<int> Reading(const Image& image) {
    std::vector<int> values;
    for (size_t i = 0; i < image.size_bytes(); i += 3) {
        values.push_back(image.data()[i]);
    }
    return values;
}

TEST(RotateTest, EachAngleClockwise) {
    struct Case {
        int degrees;
        int width, height;
        std::vector<int> pixels;
    };
    const Case cases[] = {
        {0, 3, 2, {1, 2, 3, 4, 5, 6}},   {90, 2, 3, {4, 1, 5, 2, 6, 3}},  {180, 3, 2, {6, 5, 4, 3, 2, 1}},
        {270, 2, 3, {3, 6, 2, 5, 1, 4}}, {-90, 2, 3, {3, 6, 2, 5, 1, 4}}, {450, 2, 3, {4, 1, 5, 2, 6, 3}},
        {100, 2, 3, {4, 1, 5, 2, 6, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.degrees);
        const Image rotated = Rotate(Numbered(), c.degrees);
        EXPECT_EQ(rotated.width(), c.width);
        EXPECT_EQ(rotated.height(), c.height);
        EXPECT_EQ(Reading(rotated), c.pixels);
    }
}

TEST(RotateTest, FourQuarterTurnsRestoreTheImage) {
    const Image image = test::MakeGradient(5, 3);
    Image turned = image;
    for (int i = 0; i < 4; ++i) {
        turned = Rotate(turned, 90);
    }
    EXPECT_EQ(turned, image);
}

TEST(OrientationTest, EachExifValueMakesTheImageUpright) {
    struct Case {
        int orientation;
        int width, height;
        std::vector<int> pixels;
    };
    const Case cases[] = {
        {1, 3, 2, {1, 2, 3, 4, 5, 6}},  // upright
        {2, 3, 2, {3, 2, 1, 6, 5, 4}},  // mirror horizontal
        {3, 3, 2, {6, 5, 4, 3, 2, 1}},  // rotate 180
        {4, 3, 2, {4, 5, 6, 1, 2, 3}},  // mirror vertical
        {5, 2, 3, {1, 4, 2, 5, 3, 6}},  // transpose
        {6, 2, 3, {4, 1, 5, 2, 6, 3}},  // rotate 90 clockwise
        {7, 2, 3, {6, 3, 5, 2, 4, 1}},  // transverse
        {8, 2, 3, {3, 6, 2, 5, 1, 4}},  // rotate 270 clockwise
        {0, 3, 2, {1, 2, 3, 4, 5, 6}}, {9, 3, 2, {1, 2, 3, 4, 5, 6}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.orientation);
        Image image = Numbered();
        ApplyExifOrientation(image, c.orientation);
        EXPECT_EQ(image.width(), c.width);
        EXPECT_EQ(image.height(), c.height);
        EXPECT_EQ(Reading(image), c.pixels);
    }
}

// The sizes the batch and the preview report come from TurnsQuarter; the pixels from the
// orientation and the turn. The two must agree for every orientation and turn.
TEST(OrientationTest, TurnsQuarterSaysWhenOrientingAndTurningSwapTheSize) {
    for (int orientation = 0; orientation <= 9; ++orientation) {
        for (int degrees : {0, 90, 180, 270, -90, 450}) {
            SCOPED_TRACE(::testing::Message() << orientation << " " << degrees);
            Image image = Numbered();
            ApplyExifOrientation(image, orientation);
            image = Rotate(image, degrees);
            EXPECT_EQ(TurnsQuarter(orientation, degrees), image.width() == 2);
        }
    }
}

}  // namespace
}  // namespace pelimon
