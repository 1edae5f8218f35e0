#include "exif_test_files.h"

#include <gtest/gtest.h>
#include <jpeglib.h>
#include <stdlib.h>

#include <cstdio>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <memory>

namespace pelimon::test {
namespace {

void Put16(Bytes& out, size_t pos, uint16_t value, bool le) {
    out[pos] = static_cast<uint8_t>(le ? value & 0xFF : value >> 8);
    out[pos + 1] = static_cast<uint8_t>(le ? value >> 8 : value & 0xFF);
}

void Put32(Bytes& out, size_t pos, uint32_t value, bool le) {
    for (size_t k = 0; k < 4; ++k) {
        const size_t shift = le ? 8 * k : 24 - 8 * k;
        out[pos + k] = static_cast<uint8_t>((value >> shift) & 0xFF);
    }
}

// head followed by tail, built at its final size (GCC 12 warns wrongly about growing a vector
// that was made from an initializer list).
Bytes Concat(std::initializer_list<uint8_t> head, const Bytes& tail) {
    Bytes out(head.size() + tail.size());
    std::copy(head.begin(), head.end(), out.begin());
    std::copy(tail.begin(), tail.end(), out.begin() + static_cast<long>(head.size()));
    return out;
}

size_t IfdSize(size_t entries) {
    return 2 + 12 * entries + 4;
}

}  // namespace

Bytes Short(uint16_t value, bool le) {
    Bytes out(2);
    Put16(out, 0, value, le);
    return out;
}

Bytes Long(uint32_t value, bool le) {
    Bytes out(4);
    Put32(out, 0, value, le);
    return out;
}

Bytes Rational(uint32_t numerator, uint32_t denominator, bool le) {
    Bytes out(8);
    Put32(out, 0, numerator, le);
    Put32(out, 4, denominator, le);
    return out;
}

Bytes Rationals(std::initializer_list<std::pair<uint32_t, uint32_t>> ratios, bool le) {
    Bytes out;
    for (const auto& [numerator, denominator] : ratios) {
        const Bytes one = Rational(numerator, denominator, le);
        out.insert(out.end(), one.begin(), one.end());
    }
    return out;
}

Bytes Ascii(std::string_view text) {
    Bytes out(text.begin(), text.end());
    out.push_back(0);
    return out;
}

Bytes BuildTiff(bool le, std::vector<TestEntry> ifd0, std::vector<TestEntry> sub, const std::vector<TestEntry>& interop,
                const std::vector<TestEntry>& ifd1) {
    const bool has_sub = !sub.empty();
    if (has_sub) {
        ifd0.push_back({0x8769, 4, 1, Long(0, le)});
    }
    if (!interop.empty()) {
        sub.push_back({0xA005, 4, 1, Long(0, le)});
    }
    const uint32_t ifd0_at = 8;
    const auto sub_at = static_cast<uint32_t>(ifd0_at + IfdSize(ifd0.size()));
    const auto interop_at = static_cast<uint32_t>(sub_at + (sub.empty() ? 0 : IfdSize(sub.size())));
    const auto ifd1_at = static_cast<uint32_t>(interop_at + (interop.empty() ? 0 : IfdSize(interop.size())));
    const auto data_at = static_cast<uint32_t>(ifd1_at + (ifd1.empty() ? 0 : IfdSize(ifd1.size())));
    if (has_sub) {
        ifd0.back().value = Long(sub_at, le);
    }
    if (!interop.empty()) {
        sub.back().value = Long(interop_at, le);
    }

    Bytes out(data_at, 0);
    out[0] = out[1] = le ? 'I' : 'M';
    Put16(out, 2, 42, le);
    Put32(out, 4, ifd0_at, le);
    auto write_ifd = [&](const std::vector<TestEntry>& entries, uint32_t at, uint32_t next) {
        Put16(out, at, static_cast<uint16_t>(entries.size()), le);
        for (size_t i = 0; i < entries.size(); ++i) {
            const TestEntry& e = entries[i];
            const size_t pos = at + 2 + 12 * i;
            Put16(out, pos, e.tag, le);
            Put16(out, pos + 2, e.type, le);
            Put32(out, pos + 4, e.count, le);
            if (e.value.size() <= 4) {
                std::copy(e.value.begin(), e.value.end(), out.begin() + static_cast<long>(pos + 8));
            } else {
                Put32(out, pos + 8, static_cast<uint32_t>(out.size()), le);
                out.insert(out.end(), e.value.begin(), e.value.end());
            }
        }
        Put32(out, at + 2 + 12 * entries.size(), next, le);
    };
    write_ifd(ifd0, ifd0_at, ifd1.empty() ? 0 : ifd1_at);
    if (!sub.empty()) {
        write_ifd(sub, sub_at, 0);
    }
    if (!interop.empty()) {
        write_ifd(interop, interop_at, 0);
    }
    if (!ifd1.empty()) {
        write_ifd(ifd1, ifd1_at, 0);
    }
    return out;
}

Bytes Segment(uint8_t marker, const Bytes& payload) {
    const size_t length = payload.size() + 2;
    return Concat({0xFF, marker, static_cast<uint8_t>(length >> 8), static_cast<uint8_t>(length & 0xFF)}, payload);
}

Bytes ExifSegment(const Bytes& tiff) {
    return Segment(0xE1, Concat({'E', 'x', 'i', 'f', 0, 0}, tiff));
}

Bytes IccChunk(uint8_t sequence, uint8_t total, const Bytes& data) {
    return Segment(0xE2, Concat({'I', 'C', 'C', '_', 'P', 'R', 'O', 'F', 'I', 'L', 'E', 0, sequence, total}, data));
}

Bytes EncodeTestJpeg(int width, int height) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr jerr{};
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = 1;
    cinfo.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<JSAMPLE> row(static_cast<size_t>(width));
    for (int y = 0; y < height; ++y) {
        for (size_t x = 0; x < row.size(); ++x) {
            row[x] = static_cast<JSAMPLE>((x * 16 + static_cast<size_t>(y) * 8) & 0xFF);
        }
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    // libjpeg's memory destination allocates the buffer with malloc.
    const std::unique_ptr<unsigned char, void (*)(void*)> owned(buffer, &free);
    jpeg_destroy_compress(&cinfo);
    return Bytes(owned.get(), owned.get() + size);
}

Bytes JpegWithSegments(const std::vector<Bytes>& segments, const Bytes& jpeg) {
    Bytes out = Concat({0xFF, 0xD8}, {});
    for (const Bytes& segment : segments) {
        out.insert(out.end(), segment.begin(), segment.end());
    }
    out.insert(out.end(), jpeg.begin() + 2, jpeg.end());
    return out;
}

std::filesystem::path CorpusDir() {
    return std::filesystem::path(PELIMON_TEST_DATA_DIR) / "camera";
}

std::filesystem::path CameraFile(std::string_view name) {
    std::filesystem::path path = CorpusDir() / name;
    if (!std::filesystem::is_regular_file(path)) {
        ADD_FAILURE() << "missing test file " << path.string();
    }
    return path;
}

Bytes ReadFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        ADD_FAILURE() << "cannot read test file " << path.string();
        return {};
    }
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace pelimon::test
