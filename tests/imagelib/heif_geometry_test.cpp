// The geometry of HEIF items read from hand-made boxes: which size 'ispe' gives, the size after
// the transformations, and the pixels they move.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "imagelib/heif_geometry.h"
#include "test_images.h"

namespace pelimon::imagelib_detail {
namespace {

void Put32(Bytes& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<uint8_t>(value >> shift));
    }
}

Bytes Words(std::initializer_list<uint32_t> words) {
    Bytes out;
    for (const uint32_t word : words) {
        Put32(out, word);
    }
    return out;
}

Bytes Joined(std::initializer_list<Bytes> parts) {
    Bytes joined;
    for (const Bytes& part : parts) {
        joined.insert(joined.end(), part.begin(), part.end());
    }
    return joined;
}

Bytes Box(const char (&type)[5], std::initializer_list<Bytes> parts) {
    const Bytes body = Joined(parts);
    Bytes box = Words({static_cast<uint32_t>(body.size() + 8),
                       uint32_t{static_cast<uint8_t>(type[0])} << 24 | uint32_t{static_cast<uint8_t>(type[1])} << 16 |
                           uint32_t{static_cast<uint8_t>(type[2])} << 8 | uint32_t{static_cast<uint8_t>(type[3])}});
    box.insert(box.end(), body.begin(), body.end());
    return box;
}

Bytes Ispe(uint32_t width, uint32_t height) {
    return Box("ispe", {Words({0, width, height})});
}
Bytes Irot(uint8_t quarters) {
    return Box("irot", {Bytes{quarters}});
}
Bytes Imir(uint8_t axis) {
    return Box("imir", {Bytes{axis}});
}
Bytes Clap(uint32_t width, uint32_t height, int32_t horizontal, int32_t vertical, uint32_t denominator = 1) {
    return Box("clap", {Words({width, denominator, height, denominator, static_cast<uint32_t>(horizontal), denominator,
                               static_cast<uint32_t>(vertical), denominator})});
}
// An AV1 configuration whose sequence header (a reduced still picture header) gives a frame of
// width x height.
Bytes Av1c(uint32_t width, uint32_t height) {
    std::vector<bool> bits;
    auto put = [&bits](uint32_t value, int count) {
        for (int i = count - 1; i >= 0; --i) {
            bits.push_back(((value >> i) & 1) != 0);
        }
    };
    put(0, 3);   // seq_profile
    put(1, 1);   // still_picture
    put(1, 1);   // reduced_still_picture_header
    put(5, 5);   // seq_level_idx
    put(11, 4);  // frame_width_bits_minus_1
    put(11, 4);
    put(width - 1, 12);
    put(height - 1, 12);
    Bytes payload((bits.size() + 7) / 8);
    for (size_t i = 0; i < bits.size(); ++i) {
        payload[i / 8] = static_cast<uint8_t>(payload[i / 8] | (bits[i] ? 0x80 >> (i % 8) : 0));
    }
    Bytes config{0x81, 0x05, 0x0C, 0x00, 0x0A, static_cast<uint8_t>(payload.size())};  // a sequence header OBU
    config.insert(config.end(), payload.begin(), payload.end());
    return Box("av1C", {config});
}

// A file holding a 'meta' box whose item 1 has `properties`, in this order.
Bytes FileWith(const std::vector<Bytes>& properties) {
    Bytes ipco_body;
    Bytes ipma_body = Words({0, 1});
    ipma_body.insert(ipma_body.end(), {0, 1, static_cast<uint8_t>(properties.size())});
    for (size_t i = 0; i < properties.size(); ++i) {
        ipco_body.insert(ipco_body.end(), properties[i].begin(), properties[i].end());
        ipma_body.push_back(static_cast<uint8_t>(i + 1));
    }
    const Bytes iprp = Box("iprp", {Box("ipco", {ipco_body}), Box("ipma", {ipma_body})});
    return Joined(
        {Box("ftyp", {Bytes{'a', 'v', 'i', 'f'}}), Box("meta", {Words({0}), Box("hdlr", {Words({0, 0, 0})}), iprp})});
}

TEST(HeifGeometryTest, CodedAndDisplayedSizes) {
    struct Case {
        const char* what;
        std::vector<Bytes> properties;
        int coded_width, coded_height;
        int shown_width, shown_height;
    };
    const Case cases[] = {
        {"no transformation", {Ispe(30, 20)}, 30, 20, 30, 20},
        {"a quarter turn after ispe", {Ispe(30, 20), Irot(1)}, 30, 20, 20, 30},
        {"a half turn", {Ispe(30, 20), Irot(2)}, 30, 20, 30, 20},
        {"a turn before ispe, which holds the turned size", {Irot(3), Ispe(20, 30)}, 30, 20, 20, 30},
        {"a turn before ispe, the AV1 frame its size", {Irot(3), Ispe(30, 20), Av1c(30, 20)}, 30, 20, 20, 30},
        {"a turn before ispe, the AV1 frame turned", {Irot(3), Ispe(20, 30), Av1c(30, 20)}, 30, 20, 20, 30},
        {"a crop", {Ispe(30, 20), Clap(11, 7, 0, 0)}, 30, 20, 11, 7},
        {"a crop, then a turn", {Ispe(30, 20), Clap(11, 7, 0, 0), Irot(1)}, 30, 20, 7, 11},
        {"a crop of fractions", {Ispe(30, 20), Clap(221, 75, 0, 0, 10)}, 30, 20, 22, 8},
        {"a crop larger than the picture", {Ispe(30, 20), Clap(300, 7, 0, 0)}, 30, 20, 30, 7},
        {"a mirror", {Ispe(30, 20), Imir(1)}, 30, 20, 30, 20},
        {"no ispe", {Irot(1)}, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Result<HeifGeometry> geometry = ReadHeifGeometry(FileWith(c.properties), 1);
        ASSERT_TRUE(geometry.ok());
        EXPECT_EQ(geometry.value().coded_width, c.coded_width);
        EXPECT_EQ(geometry.value().coded_height, c.coded_height);
        EXPECT_EQ(DisplayedSize(geometry.value()).width, c.shown_width);
        EXPECT_EQ(DisplayedSize(geometry.value()).height, c.shown_height);
        // Another item has none of these properties.
        EXPECT_TRUE(ReadHeifGeometry(FileWith(c.properties), 2).value().transforms.empty());
    }
}

TEST(HeifGeometryTest, MalformedCropIsRefused) {
    EXPECT_FALSE(ReadHeifGeometry(FileWith({Ispe(30, 20), Clap(11, 7, 0, 0, 0)}), 1).ok());
    EXPECT_FALSE(ReadHeifGeometry(FileWith({Ispe(30, 20), Clap(0, 7, 0, 0)}), 1).ok());
    EXPECT_FALSE(ReadHeifGeometry(FileWith({Ispe(30, 20), Box("clap", {Words({1, 1})})}), 1).ok());
}

TEST(HeifGeometryTest, TransformationsMoveThePixels) {
    // The coded picture is 4 x 3 with pixels numbered 1..12 in reading order:
    //    1  2  3  4
    //    5  6  7  8
    //    9 10 11 12
    struct Case {
        const char* what;
        std::vector<Bytes> properties;
        int width, height;
        std::vector<int> pixels;
    };
    const Case cases[] = {
        {"a quarter turn anticlockwise", {Ispe(4, 3), Irot(1)}, 3, 4, {4, 8, 12, 3, 7, 11, 2, 6, 10, 1, 5, 9}},
        {"three quarters anticlockwise", {Ispe(4, 3), Irot(3)}, 3, 4, {9, 5, 1, 10, 6, 2, 11, 7, 3, 12, 8, 4}},
        {"axis 0 exchanges top and bottom", {Ispe(4, 3), Imir(0)}, 4, 3, {9, 10, 11, 12, 5, 6, 7, 8, 1, 2, 3, 4}},
        {"axis 1 exchanges left and right", {Ispe(4, 3), Imir(1)}, 4, 3, {4, 3, 2, 1, 8, 7, 6, 5, 12, 11, 10, 9}},
        {"a centred crop", {Ispe(4, 3), Clap(2, 1, 0, 0)}, 2, 1, {6, 7}},
        {"a crop moved right and down", {Ispe(4, 3), Clap(2, 2, 1, 1)}, 2, 2, {7, 8, 11, 12}},
        {"a crop moved beyond the edge stays inside", {Ispe(4, 3), Clap(2, 2, -9, -9)}, 2, 2, {1, 2, 5, 6}},
        {"a crop, then a turn", {Ispe(4, 3), Clap(2, 2, 1, 1), Irot(1)}, 2, 2, {8, 12, 7, 11}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const HeifGeometry geometry = ReadHeifGeometry(FileWith(c.properties), 1).value();
        Image image(4, 3);
        for (size_t i = 0; i < 12; ++i) {
            image.data()[3 * i] = static_cast<uint8_t>(i + 1);
        }
        ASSERT_EQ(TransformsDone(geometry, 4, 3), size_t{0});
        ApplyHeifTransforms(geometry, 0, image);
        ASSERT_EQ(image.width(), c.width);
        ASSERT_EQ(image.height(), c.height);
        EXPECT_EQ(DisplayedSize(geometry).width, c.width);
        std::vector<int> pixels;
        for (size_t i = 0; i < image.size_bytes(); i += 3) {
            pixels.push_back(image.data()[i]);
        }
        EXPECT_EQ(pixels, c.pixels);
    }
}

TEST(HeifGeometryTest, PictureAlreadyCroppedByItsCodec) {
    // A phone's thumbnail: 'ispe' says 512 x 240, a crop keeps 236 rows, and the HEVC stream's
    // conformance window has cut them already.
    const HeifGeometry geometry = ReadHeifGeometry(FileWith({Ispe(512, 240), Clap(512, 236, 0, -2)}), 1).value();
    EXPECT_EQ(TransformsDone(geometry, 512, 240), size_t{0});
    EXPECT_EQ(TransformsDone(geometry, 512, 236), size_t{1});
    EXPECT_FALSE(TransformsDone(geometry, 512, 238).has_value());
    EXPECT_FALSE(TransformsDone(geometry, 236, 512).has_value());
    const HeifGeometry turned = ReadHeifGeometry(FileWith({Ispe(512, 240), Irot(1), Clap(236, 512, 0, 0)}), 1).value();
    EXPECT_FALSE(TransformsDone(turned, 512, 236).has_value());  // the crop does not come first
}

}  // namespace
}  // namespace pelimon::imagelib_detail
