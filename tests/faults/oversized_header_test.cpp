// Sources whose headers claim more pixels than the decoders accept: each is refused with a message
// naming it, nothing is allocated for the claimed size, and the batch writes the others.
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "tests/faults/fault_test_support.h"

namespace pelimon {
namespace {

using test::IncompleteImagesIn;
using test::ListFolder;
using test::MakeTestImage;
using test::PelimonRunTest;
using test::ProcessResult;
using test::TemporaryFilesIn;
using test::WriteImageFile;

// Far below what decoding any of the claimed sizes would take (several gigabytes).
constexpr long kMaxRssKb = 400 * 1024;

void PutLittle(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

void PutBig32(std::string& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out += static_cast<char>((value >> shift) & 0xFF);
    }
}

uint32_t Crc32(const std::string& bytes) {
    uint32_t crc = 0xFFFFFFFFu;
    for (const char c : bytes) {
        crc ^= static_cast<uint8_t>(c);
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ ((crc & 1u) != 0 ? 0xEDB88320u : 0u);
        }
    }
    return ~crc;
}

// A 24-bit BMP header for width x height (negative: top-down), followed by a little pixel data.
std::string BmpHeader(int32_t width, int32_t height) {
    std::string bmp = "BM";
    PutLittle(bmp, 54 + 4096, 4);
    PutLittle(bmp, 0, 4);
    PutLittle(bmp, 54, 4);
    PutLittle(bmp, 40, 4);
    PutLittle(bmp, static_cast<uint32_t>(width), 4);
    PutLittle(bmp, static_cast<uint32_t>(height), 4);
    PutLittle(bmp, 1, 2);
    PutLittle(bmp, 24, 2);
    PutLittle(bmp, 0, 4);  // BI_RGB
    for (int i = 0; i < 5; ++i) {
        PutLittle(bmp, 0, 4);
    }
    return bmp + std::string(4096, '\x40');
}

std::string PngChunk(const std::string& type, const std::string& data) {
    std::string chunk;
    PutBig32(chunk, static_cast<uint32_t>(data.size()));
    const std::string body = type + data;
    chunk += body;
    PutBig32(chunk, Crc32(body));
    return chunk;
}

// An RGB PNG signature and IHDR for width x height, an empty IDAT and IEND.
std::string PngHeader(uint32_t width, uint32_t height) {
    std::string ihdr;
    PutBig32(ihdr, width);
    PutBig32(ihdr, height);
    ihdr += std::string("\x08\x02\x00\x00\x00", 5);
    return std::string("\x89PNG\r\n\x1a\n", 8) + PngChunk("IHDR", ihdr) + PngChunk("IDAT", "") + PngChunk("IEND", "");
}

// A GIF whose screen and only image are width x height, with a two-colour table and a few codes.
std::string GifHeader(uint16_t width, uint16_t height) {
    std::string gif = "GIF89a";
    PutLittle(gif, width, 2);
    PutLittle(gif, height, 2);
    gif += std::string("\x80\x00\x00", 3);
    gif += std::string("\x00\x00\x00\xff\xff\xff", 6);
    gif += ',';
    PutLittle(gif, 0, 4);
    PutLittle(gif, width, 2);
    PutLittle(gif, height, 2);
    gif += '\0';
    gif += std::string("\x02\x02\x44\x01\x00;", 6);
    return gif;
}

// A baseline JPEG frame header for width x height with no tables and no scan.
std::string JpegHeader(uint16_t width, uint16_t height) {
    std::string jpeg("\xFF\xD8\xFF\xC0\x00\x11\x08", 7);
    jpeg += static_cast<char>(height >> 8);
    jpeg += static_cast<char>(height & 0xFF);
    jpeg += static_cast<char>(width >> 8);
    jpeg += static_cast<char>(width & 0xFF);
    jpeg += std::string("\x03\x01\x22\x00\x02\x11\x01\x03\x11\x01\xFF\xD9", 12);
    return jpeg;
}

std::string LineWith(const std::string& text, const std::string& needle) {
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line.find(needle) != std::string::npos) {
            return line;
        }
    }
    return {};
}

using OversizedHeader = PelimonRunTest;

TEST_F(OversizedHeader, IsRefusedByNameAndTheOthersAreWritten) {
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"bmp-70000x70000.bmp", BmpHeader(70000, 70000)}, {"bmp-top-down-70000x70000.bmp", BmpHeader(70000, -70000)},
        {"png-20000x20000.png", PngHeader(20000, 20000)}, {"png-2147483647x1.png", PngHeader(2147483647u, 1)},
        {"gif-65535x65535.gif", GifHeader(65535, 65535)}, {"jpeg-65500x65500.jpg", JpegHeader(65500, 65500)},
    };
    WriteImageFile(src + "a-fine.jpg", MakeTestImage(80, 60));
    WriteImageFile(src + "z-fine.png", MakeTestImage(60, 40, 1));
    for (const auto& c : cases) {
        test::WriteBytes(src + c.name, c.bytes);
    }
    const std::string out = scratch / "out/";
    test::WriteBytes(ini, test::SettingsText(out));

    const ProcessResult run = Pelimon({"/Q", src});

    EXPECT_EQ(run.status, 4) << run.err;
    EXPECT_EQ(ListFolder(out), (std::vector<std::string>{"a-fine_s.jpg", "z-fine_s.png"}));
    EXPECT_TRUE(TemporaryFilesIn(out).empty());
    EXPECT_TRUE(IncompleteImagesIn(out).empty()) << ::testing::PrintToString(IncompleteImagesIn(out));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string line = LineWith(run.err, src + c.name);
        EXPECT_FALSE(line.empty()) << run.err;
        EXPECT_NE(line.find("大き"), std::string::npos) << line;
    }
    EXPECT_LT(run.max_rss_kb, kMaxRssKb);
}

}  // namespace
}  // namespace pelimon
