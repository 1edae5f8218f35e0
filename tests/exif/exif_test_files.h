// Building blocks for the Exif tests: TIFF structures, Exif segments and small JPEG files made
// in memory, and access to the camera files in tests/data/camera.
#pragma once

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pelimon::test {

using Bytes = std::vector<uint8_t>;

// Value bytes in a byte order, for TestEntry::value.
Bytes Short(uint16_t value, bool little_endian);
Bytes Long(uint32_t value, bool little_endian);
Bytes Rational(uint32_t numerator, uint32_t denominator, bool little_endian);
Bytes Ascii(std::string_view text);  // with the terminating zero
Bytes Rationals(std::initializer_list<std::pair<uint32_t, uint32_t>> ratios, bool little_endian);

struct TestEntry {
    uint16_t tag = 0;
    uint16_t type = 0;
    uint32_t count = 0;
    Bytes value;  // the stored bytes; more than 4 go to the data area, fewer are padded
};

// A TIFF structure laid out as header, IFD0, sub-IFD, Interoperability IFD, IFD1, data.
// A non-empty sub list adds 0x8769 to IFD0, a non-empty interop list adds 0xA005 to the sub-IFD;
// IFD0's next link points at IFD1 when it is not empty.
Bytes BuildTiff(bool little_endian, std::vector<TestEntry> ifd0, std::vector<TestEntry> sub = {},
                const std::vector<TestEntry>& interop = {}, const std::vector<TestEntry>& ifd1 = {});

// An APP1 segment (marker, length, "Exif\0\0") around a TIFF structure.
Bytes ExifSegment(const Bytes& tiff);
// Any segment: marker, length and payload.
Bytes Segment(uint8_t marker, const Bytes& payload);
// An APP2 "ICC_PROFILE" chunk.
Bytes IccChunk(uint8_t sequence, uint8_t total, const Bytes& data);

// A real baseline JPEG (libjpeg, JFIF) of width x height grey pixels.
Bytes EncodeTestJpeg(int width, int height);
// SOI, then the segments, then `jpeg` without its SOI.
Bytes JpegWithSegments(const std::vector<Bytes>& segments, const Bytes& jpeg);

// The camera files in tests/data/camera.
std::filesystem::path CorpusDir();
// The path of one of them; records a test failure naming the file when it is missing.
std::filesystem::path CameraFile(std::string_view name);
// The bytes of a file; records a test failure naming the file and returns nothing when it
// cannot be read.
Bytes ReadFileBytes(const std::filesystem::path& path);

}  // namespace pelimon::test
