#include "support/dng_writer.h"

#include <cmath>
#include <map>

namespace pelimon::test {

namespace {

enum Type : uint16_t { kAscii = 2, kShort = 3, kLong = 4, kRational = 5, kByte = 1, kSRational = 10 };

struct Entry {
    uint16_t type = kLong;
    uint32_t count = 0;
    Bytes value;
};

void Put16(Bytes& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(Bytes& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}
void Set32(Bytes& out, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        out[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
    }
}

Entry Shorts(std::initializer_list<uint32_t> values) {
    Entry entry{kShort, static_cast<uint32_t>(values.size()), {}};
    for (const uint32_t v : values) {
        Put16(entry.value, v);
    }
    return entry;
}
Entry Long(uint32_t value) {
    Entry entry{kLong, 1, {}};
    Put32(entry.value, value);
    return entry;
}
Entry Ascii(const std::string& text) {
    Entry entry{kAscii, static_cast<uint32_t>(text.size() + 1), Bytes(text.begin(), text.end())};
    entry.value.push_back(0);
    return entry;
}
Entry Bytes8(std::initializer_list<uint8_t> values) {
    return Entry{kByte, static_cast<uint32_t>(values.size()), Bytes(values)};
}
Entry Rationals(uint16_t type, std::initializer_list<double> values) {
    Entry entry{type, static_cast<uint32_t>(values.size()), {}};
    for (const double v : values) {
        Put32(entry.value, static_cast<uint32_t>(static_cast<int32_t>(std::lround(v * 10000))));
        Put32(entry.value, 10000);
    }
    return entry;
}

using Directory = std::map<uint16_t, Entry>;

// Writes `directory` at the end of `out` with its values after it; returns where each entry's
// value field is, so that pointers can be set afterwards.
std::map<uint16_t, size_t> Write(Bytes& out, const Directory& directory) {
    std::map<uint16_t, size_t> fields;
    const size_t start = out.size();
    Put16(out, static_cast<uint32_t>(directory.size()));
    for (const auto& [tag, entry] : directory) {
        Put16(out, tag);
        Put16(out, entry.type);
        Put32(out, entry.count);
        fields[tag] = out.size();
        Put32(out, 0);
    }
    Put32(out, 0);
    for (const auto& [tag, entry] : directory) {
        if (entry.value.size() <= 4) {
            std::copy(entry.value.begin(), entry.value.end(), out.begin() + static_cast<long>(fields[tag]));
            continue;
        }
        Set32(out, fields[tag], static_cast<uint32_t>(out.size()));
        out.insert(out.end(), entry.value.begin(), entry.value.end());
        if (out.size() % 2 != 0) {
            out.push_back(0);
        }
    }
    (void)start;
    return fields;
}

// The linear light of an sRGB value onto [black, white].
uint16_t LinearSample(uint8_t srgb, uint16_t black, uint16_t white) {
    const double v = srgb / 255.0;
    const double linear = v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    return static_cast<uint16_t>(black + std::lround(linear * (white - black)));
}

constexpr uint16_t kTagStripOffsets = 0x0111;
constexpr uint16_t kTagSubIfds = 0x014A;
constexpr uint16_t kTagExifIfd = 0x8769;
constexpr uint16_t kTagGpsIfd = 0x8825;

}  // namespace

Bytes MakeDng(const Image& picture, const DngContents& contents) {
    const auto width = static_cast<uint32_t>(picture.width() * 2);
    const auto height = static_cast<uint32_t>(picture.height() * 2);
    Bytes samples;
    samples.reserve(size_t{width} * height * 2);
    for (uint32_t y = 0; y < height; ++y) {
        const uint8_t* row = picture.row(static_cast<int>(y / 2));
        for (uint32_t x = 0; x < width; ++x) {
            const size_t place = (y % 2) * 2 + (x % 2);
            Put16(samples,
                  LinearSample(row[3 * (x / 2) + contents.pattern[place]], contents.black[place], contents.white));
        }
    }
    const auto raw_bytes = static_cast<uint32_t>(samples.size());

    Directory ifd0 = {
        {0x00FE, Long(0)},
        {0x0100, Long(width)},
        {0x0101, Long(height)},
        {0x0102, Shorts({16})},
        {0x0103, Shorts({1})},
        {0x0106, Shorts({32803})},
        {0x010F, Ascii("Pelimon")},
        {0x0110, Ascii("Test Camera")},
        {kTagStripOffsets, Long(0)},
        {0x0112, Shorts({static_cast<uint32_t>(contents.orientation)})},
        {0x0115, Shorts({1})},
        {0x0116, Long(height)},
        {0x0117, Long(raw_bytes)},
        {0x011C, Shorts({1})},
        {0x828D, Shorts({2, 2})},
        {0x828E, Bytes8({contents.pattern[0], contents.pattern[1], contents.pattern[2], contents.pattern[3]})},
        {kTagExifIfd, Long(0)},
        {0xC612, Bytes8({1, 4, 0, 0})},
        {0xC614, Ascii("Pelimon Test Camera")},
        {0xC61A, Shorts({contents.black[0], contents.black[1], contents.black[2], contents.black[3]})},
        {0xC619, Shorts({2, 2})},
        {0xC61D, Shorts({contents.white})},
        {0xC621, Rationals(kSRational, {3.2406, -1.5372, -0.4986, -0.9689, 1.8758, 0.0415, 0.0557, -0.2040, 1.0570})},
        {0xC628,
         Rationals(kRational, {contents.as_shot_neutral[0], contents.as_shot_neutral[1], contents.as_shot_neutral[2]})},
        {0xC65A, Shorts({21})},
    };
    if (contents.gps) {
        ifd0[kTagGpsIfd] = Long(0);
    }
    if (!contents.preview_jpeg.empty()) {
        ifd0[kTagSubIfds] = Long(0);
    }
    const Directory exif = {
        {0x829A, Rationals(kRational, {1.0 / 125})},
        {0x829D, Rationals(kRational, {5.6})},
        {0x8827, Shorts({200})},
        {0x9003, Ascii(contents.shot_date)},
        {0x920A, Rationals(kRational, {35})},
        {0xA434, Ascii("Test Lens 35mm")},
    };
    const Directory gps = {
        {0x0000, Bytes8({2, 3, 0, 0})},
        {0x0001, Ascii("N")},
        {0x0002, Rationals(kRational, {35, 30, 0})},
        {0x0003, Ascii("E")},
        {0x0004, Rationals(kRational, {139, 45, 0})},
    };

    Bytes out = {'I', 'I', 42, 0, 8, 0, 0, 0};
    std::map<uint16_t, size_t> fields = Write(out, ifd0);
    Set32(out, fields[kTagExifIfd], static_cast<uint32_t>(out.size()));
    Write(out, exif);
    if (contents.gps) {
        Set32(out, fields[kTagGpsIfd], static_cast<uint32_t>(out.size()));
        Write(out, gps);
    }
    std::map<uint16_t, size_t> preview_fields;
    if (!contents.preview_jpeg.empty()) {
        const Result<ImageHeader> header = ProbeImage(contents.preview_jpeg);
        const auto preview_width = static_cast<uint32_t>(header ? header.value().width : 0);
        const auto preview_height = static_cast<uint32_t>(header ? header.value().height : 0);
        const Directory preview = {
            {0x00FE, Long(1)},
            {0x0100, Long(preview_width)},
            {0x0101, Long(preview_height)},
            {0x0102, Shorts({8, 8, 8})},
            {0x0103, Shorts({7})},
            {0x0106, Shorts({6})},
            {kTagStripOffsets, Long(0)},
            {0x0115, Shorts({3})},
            {0x0116, Long(preview_height)},
            {0x0117, Long(static_cast<uint32_t>(contents.preview_jpeg.size()))},
        };
        Set32(out, fields[kTagSubIfds], static_cast<uint32_t>(out.size()));
        preview_fields = Write(out, preview);
    }
    Set32(out, fields[kTagStripOffsets], static_cast<uint32_t>(out.size()));
    out.insert(out.end(), samples.begin(), samples.end());
    if (!contents.preview_jpeg.empty()) {
        Set32(out, preview_fields[kTagStripOffsets], static_cast<uint32_t>(out.size()));
        out.insert(out.end(), contents.preview_jpeg.begin(), contents.preview_jpeg.end());
    }
    return out;
}

size_t DngRawDataOffset(const Bytes& dng) {
    const size_t count = dng[8] | size_t{dng[9]} << 8;
    for (size_t i = 0; i < count; ++i) {
        const size_t entry = 10 + 12 * i;
        if ((dng[entry] | dng[entry + 1] << 8) == kTagStripOffsets) {
            return dng[entry + 8] | size_t{dng[entry + 9]} << 8 | size_t{dng[entry + 10]} << 16 |
                   size_t{dng[entry + 11]} << 24;
        }
    }
    return 0;
}

}  // namespace pelimon::test
