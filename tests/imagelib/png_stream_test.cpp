// The PNG reader of large RGB and RGBA sources against libpng: made files with every row filter,
// image data cut into chunks of every kind, and damaged ones; and its Adler-32 against zlib's.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "imagelib/adler32.h"
#include "imagelib/codec_support.h"
#include "imagelib/imagelib.h"
#include "tests/support/png_chunks.h"

namespace pelimon {
namespace {

using test::PngChunkData;

struct MadePng {
    int width = 7;
    int height = 5;
    int channels = 3;                             // 3 RGB, 4 RGBA
    std::vector<uint8_t> filters{0, 1, 2, 3, 4};  // row y uses filters[y % size]
    size_t chunk_bytes = 0;                       // image data per IDAT chunk; 0: one chunk
    int coded_rows = -1;                          // rows in the zlib stream; -1: all
};

uint8_t Predictor(uint8_t filter, int a, int b, int c) {
    switch (filter) {
        case 1:
            return static_cast<uint8_t>(a);
        case 2:
            return static_cast<uint8_t>(b);
        case 3:
            return static_cast<uint8_t>((a + b) / 2);
        case 4: {
            const int p = a + b - c;
            const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
            return static_cast<uint8_t>(pa <= pb && pa <= pc ? a : (pb <= pc ? b : c));
        }
        default:
            return 0;
    }
}

// The IHDR, IDAT and IEND chunks of a PNG of pseudo-random pixels, each row filtered as `made`
// says: each filter type computed as the PNG format defines it, written out independently of any reader.
std::vector<PngChunkData> MakeChunks(const MadePng& made) {
    const size_t row_bytes = static_cast<size_t>(made.width * made.channels);
    std::vector<uint8_t> pixels(row_bytes * static_cast<size_t>(made.height));
    uint32_t seed = 12345;
    for (uint8_t& byte : pixels) {
        seed = seed * 1103515245u + 12345u;
        byte = static_cast<uint8_t>(seed >> 16);
    }
    std::vector<uint8_t> filtered;
    const int rows = made.coded_rows < 0 ? made.height : made.coded_rows;
    const size_t bpp = static_cast<size_t>(made.channels);
    for (int y = 0; y < rows; ++y) {
        const uint8_t filter = made.filters[static_cast<size_t>(y) % made.filters.size()];
        filtered.push_back(filter);
        const uint8_t* row = pixels.data() + row_bytes * static_cast<size_t>(y % made.height);
        const uint8_t* above = y > 0 ? row - row_bytes : nullptr;
        for (size_t i = 0; i < row_bytes; ++i) {
            const int a = i >= bpp ? row[i - bpp] : 0;
            const int b = above != nullptr && y % made.height != 0 ? above[i] : 0;
            const int c = i >= bpp && above != nullptr && y % made.height != 0 ? above[i - bpp] : 0;
            filtered.push_back(static_cast<uint8_t>(row[i] - Predictor(filter, a, b, c)));
        }
    }
    uLongf size = compressBound(static_cast<uLong>(filtered.size()));
    std::vector<uint8_t> stream(size);
    EXPECT_EQ(compress2(stream.data(), &size, filtered.data(), static_cast<uLong>(filtered.size()), 6), Z_OK);
    stream.resize(size);

    std::vector<uint8_t> ihdr(13, 0);
    for (int i = 0; i < 4; ++i) {
        ihdr[static_cast<size_t>(i)] = static_cast<uint8_t>(made.width >> (24 - 8 * i));
        ihdr[static_cast<size_t>(4 + i)] = static_cast<uint8_t>(made.height >> (24 - 8 * i));
    }
    ihdr[8] = 8;
    ihdr[9] = made.channels == 4 ? 6 : 2;
    std::vector<PngChunkData> chunks{{"IHDR", ihdr}};
    const size_t step = made.chunk_bytes == 0 ? stream.size() : made.chunk_bytes;
    for (size_t at = 0; at < stream.size(); at += step) {
        const auto from = stream.begin() + static_cast<std::ptrdiff_t>(at);
        chunks.push_back({"IDAT", std::vector<uint8_t>(
                                      from, from + static_cast<std::ptrdiff_t>(std::min(step, stream.size() - at)))});
    }
    chunks.push_back({"IEND", {}});
    return chunks;
}

Result<Image> DecodeStreamed(const Bytes& png) {
    const imagelib_detail::MemoryFile file(png);
    Image image;
    imagelib_detail::ImageSink sink(image);
    if (Status status = DecodeRows(file.get(), {}, sink); !status) {
        return status.error();
    }
    return image;
}

TEST(PngStreamTest, RowsAreLibpngsToTheByte) {
    struct Case {
        const char* what;
        MadePng made;
    };
    const Case cases[] = {
        {"RGB, every filter", {}},
        {"RGBA, every filter", {.channels = 4}},
        {"one pixel wide", {.width = 1, .height = 9}},
        {"Paeth and average rows only", {.width = 301, .height = 40, .filters = {4, 3}}},
        {"a chunk per 5 bytes", {.width = 33, .height = 20, .chunk_bytes = 5}},
        {"rows longer than a block of image data", {.width = 200000, .height = 3, .channels = 4, .chunk_bytes = 8192}},
        {"many rows in one chunk", {.width = 640, .height = 700, .filters = {1, 2, 4}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Bytes png = test::JoinPng(MakeChunks(c.made));
        const Result<Image> whole = DecodeImage(png);
        ASSERT_TRUE(whole.ok()) << whole.error().message;
        const Result<Image> streamed = DecodeStreamed(png);
        ASSERT_TRUE(streamed.ok()) << streamed.error().message;
        EXPECT_TRUE(streamed.value() == whole.value());
    }
    // Chunks of other kinds around the image data, empty IDAT chunks, the checksum alone in the
    // last one, and no IEND.
    std::vector<PngChunkData> chunks = MakeChunks({.width = 50, .height = 30});
    std::vector<uint8_t>& data = chunks[1].data;
    const std::vector<uint8_t> adler(data.end() - 4, data.end());
    data.resize(data.size() - 4);
    chunks.insert(chunks.begin() + 2, {{"IDAT", {}}, {"IDAT", adler}});
    chunks.insert(chunks.begin() + 1, {{"tEXt", {'a', 0, 'b'}}, {"PLTE", {1, 2, 3}}, {"IDAT", {}}});
    chunks.pop_back();
    const Bytes png = test::JoinPng(chunks);
    const Result<Image> streamed = DecodeStreamed(png);
    ASSERT_TRUE(streamed.ok()) << streamed.error().message;
    EXPECT_TRUE(streamed.value() == DecodeImage(png).value());
}

TEST(PngStreamTest, DamagedImageDataIsRefused) {
    const MadePng made{.width = 40, .height = 30, .chunk_bytes = 100};
    const std::vector<PngChunkData> good = MakeChunks(made);
    auto damaged = [&good](auto change) {
        std::vector<PngChunkData> chunks = good;
        change(chunks);
        return test::JoinPng(chunks);
    };
    Bytes wrong_crc = test::JoinPng(good);
    // Signature, IHDR, the first IDAT chunk (100 bytes of data), then into the second one's data.
    wrong_crc[8 + 25 + 112 + 8 + 50] ^= 1;
    Bytes cut = test::JoinPng(good);
    cut.resize(cut.size() / 2);
    const struct {
        const char* what;
        Bytes png;
    } cases[] = {
        {"a wrong CRC", wrong_crc},
        {"a wrong Adler-32", damaged([](auto& c) { c[c.size() - 2].data.back() ^= 1; })},
        {"an unknown filter", test::JoinPng(MakeChunks({.width = 40, .height = 30, .filters = {0, 0, 5}}))},
        {"rows missing", test::JoinPng(MakeChunks({.width = 40, .height = 30, .coded_rows = 29}))},
        {"rows too many", test::JoinPng(MakeChunks({.width = 40, .height = 30, .coded_rows = 31}))},
        {"cut short", cut},
        {"no image data", damaged([](auto& c) { c.erase(c.begin() + 1, c.end() - 1); })},
        {"a chunk between the image data", damaged([](auto& c) {
             c.insert(c.begin() + 3, {"tEXt", {'a', 0}});
         })},
        {"an unknown critical chunk", damaged([](auto& c) {
             c.insert(c.begin() + 1, {"CRIT", {}});
         })},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Result<Image> streamed = DecodeStreamed(c.png);
        ASSERT_FALSE(streamed.ok());
        EXPECT_FALSE(streamed.error().message.empty());
        EXPECT_FALSE(DecodeImage(c.png).ok());
    }
}

TEST(PngStreamTest, Adler32IsZlibs) {
    std::vector<uint8_t> bytes(70000);
    for (size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<uint8_t>(i % 251 == 0 ? 255 : i * 7 + (i >> 8));
    }
    for (const size_t size : {size_t{0}, size_t{1}, size_t{15}, size_t{16}, size_t{17}, size_t{5551}, size_t{5552},
                              size_t{5553}, size_t{65535}, size_t{69999}}) {
        for (const uint32_t start : {1u, 0x12345678u}) {
            SCOPED_TRACE(std::to_string(size) + " bytes from " + std::to_string(start));
            const ByteView view(bytes.data() + 1, size);
            EXPECT_EQ(imagelib_detail::Adler32(start, view), adler32(start, view.data(), static_cast<uInt>(size)));
        }
    }
    const std::vector<uint8_t> ones(100000, 255);  // the largest sums
    EXPECT_EQ(imagelib_detail::Adler32(1, ones), adler32(1, ones.data(), static_cast<uInt>(ones.size())));
}

}  // namespace
}  // namespace pelimon
