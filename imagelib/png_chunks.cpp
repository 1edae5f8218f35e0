#include "imagelib/png_chunks.h"

#include <zlib.h>

#include <algorithm>
#include <memory>

#include "imagelib/codec_support.h"

namespace pelimon {

using namespace imagelib_detail;

namespace {

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

bool HasSignature(ByteView bytes) {
    return bytes.size() >= sizeof kSignature && std::equal(kSignature, kSignature + sizeof kSignature, bytes.begin());
}

uint32_t ChunkCrc(ByteView type_and_data) {
    return static_cast<uint32_t>(crc32(0, type_and_data.data(), static_cast<uInt>(type_and_data.size())));
}

struct InflateEnd {
    void operator()(z_stream* stream) const { inflateEnd(stream); }
};

// The zlib stream `compressed` inflated, or nullopt when it is broken or gives more than `most`
// bytes.
std::optional<Bytes> Inflate(ByteView compressed, size_t most) {
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK) {
        return std::nullopt;
    }
    const std::unique_ptr<z_stream, InflateEnd> owner(&stream);
    Bytes out(std::min<size_t>(most + 1, std::max<size_t>(4 * compressed.size(), 1024)));
    stream.next_in = const_cast<uint8_t*>(compressed.data());
    stream.avail_in = static_cast<uInt>(compressed.size());
    for (;;) {
        stream.next_out = out.data() + stream.total_out;
        stream.avail_out = static_cast<uInt>(out.size() - stream.total_out);
        const int result = inflate(&stream, Z_NO_FLUSH);
        if (stream.total_out > most) {
            return std::nullopt;
        }
        if (result == Z_STREAM_END) {
            out.resize(stream.total_out);
            return out;
        }
        if (result != Z_OK || stream.avail_out != 0) {
            return std::nullopt;  // broken, or cut short
        }
        out.resize(std::min(most + 1, 2 * out.size()));
    }
}

int HexDigit(uint8_t c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

}  // namespace

std::vector<PngChunk> WalkPngChunks(ByteView png) {
    std::vector<PngChunk> chunks;
    if (!HasSignature(png)) {
        return chunks;
    }
    for (size_t at = sizeof kSignature; at + 12 <= png.size();) {
        const size_t length = ReadBe32(png, at);
        if (length > png.size() - at - 12) {
            break;
        }
        PngChunk chunk;
        chunk.type = std::string_view(reinterpret_cast<const char*>(png.data() + at + 4), 4);
        chunk.data = png.subspan(at + 8, length);
        chunk.intact = ChunkCrc(png.subspan(at + 4, length + 4)) == ReadBe32(png, at + 8 + length);
        chunks.push_back(chunk);
        at += 12 + length;
    }
    return chunks;
}

std::optional<PngText> ReadPngText(const PngChunk& chunk, size_t max_text) {
    const bool plain = chunk.type == "tEXt";
    const bool compressed = chunk.type == "zTXt";
    const bool international = chunk.type == "iTXt";
    if (!plain && !compressed && !international) {
        return std::nullopt;
    }
    const ByteView data = chunk.data;
    const auto keyword_end = std::find(data.begin(), data.end(), uint8_t{0});
    if (keyword_end == data.end()) {
        return std::nullopt;
    }
    PngText text;
    text.keyword.assign(data.begin(), keyword_end);
    size_t at = static_cast<size_t>(keyword_end - data.begin()) + 1;
    bool inflate = compressed;
    if (compressed) {
        if (at >= data.size() || data[at] != 0) {  // compression method 0
            return std::nullopt;
        }
        ++at;
    } else if (international) {
        // Compression flag and method, then a language tag and a translated keyword, each
        // ending in NUL.
        if (at + 2 > data.size() || (data[at] == 1 && data[at + 1] != 0)) {
            return std::nullopt;
        }
        inflate = data[at] == 1;
        at += 2;
        for (int field = 0; field < 2; ++field) {
            const auto end = std::find(data.begin() + static_cast<std::ptrdiff_t>(at), data.end(), uint8_t{0});
            if (end == data.end()) {
                return std::nullopt;
            }
            at = static_cast<size_t>(end - data.begin()) + 1;
        }
    }
    const ByteView body = data.subspan(at);
    if (!inflate) {
        if (body.size() > max_text) {
            return std::nullopt;
        }
        text.text.assign(body.begin(), body.end());
        return text;
    }
    std::optional<Bytes> inflated = Inflate(body, max_text);
    if (!inflated) {
        return std::nullopt;
    }
    text.text = std::move(*inflated);
    return text;
}

Bytes DecodeRawProfile(ByteView text) {
    size_t at = 0;
    auto skip_space = [&] {
        while (at < text.size() && (text[at] == '\n' || text[at] == '\r' || text[at] == ' ' || text[at] == '\t')) {
            ++at;
        }
    };
    skip_space();
    while (at < text.size() && text[at] != '\n') {
        ++at;  // the profile's name
    }
    skip_space();
    size_t length = 0;
    bool has_length = false;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        length = length * 10 + static_cast<size_t>(text[at] - '0');
        has_length = true;
        if (length > text.size()) {
            return {};  // two digits per byte could not hold it
        }
    }
    if (!has_length) {
        return {};
    }
    Bytes bytes;
    bytes.reserve(length);
    int high = -1;
    for (; at < text.size() && bytes.size() < length; ++at) {
        const int digit = HexDigit(text[at]);
        if (digit < 0) {
            if (text[at] == '\n' || text[at] == '\r' || text[at] == ' ' || text[at] == '\t') {
                continue;
            }
            return {};
        }
        if (high < 0) {
            high = digit;
        } else {
            bytes.push_back(static_cast<uint8_t>(high << 4 | digit));
            high = -1;
        }
    }
    if (bytes.size() < length) {
        return {};
    }
    return bytes;
}

Result<Bytes> ReadPngWithoutImageData(std::FILE* file, size_t max_bytes) {
    Bytes png(sizeof kSignature);
    if (std::fread(png.data(), 1, png.size(), file) != png.size() || !HasSignature(png)) {
        return std::ferror(file) ? Result<Bytes>(CorruptError(imagelib_texts::kCannotReread)) : Bytes{};
    }
    for (;;) {
        uint8_t head[8];
        if (std::fread(head, 1, sizeof head, file) != sizeof head) {
            break;
        }
        const uint32_t length = ReadBe32(ByteView(head, 8), 0);
        const bool image_data = std::equal(head + 4, head + 8, "IDAT");
        if (image_data || length > 0x7FFFFFFFu || png.size() + 12 + length > max_bytes) {
            if (fseeko(file, static_cast<off_t>(length) + 4, SEEK_CUR) != 0) {
                break;
            }
            continue;
        }
        const size_t at = png.size();
        png.insert(png.end(), head, head + sizeof head);
        png.resize(at + 12 + length);
        if (std::fread(png.data() + at + 8, 1, length + 4, file) != length + 4) {
            png.resize(at);  // cut short
            break;
        }
    }
    if (std::ferror(file)) {
        return CorruptError(imagelib_texts::kCannotReread);
    }
    return png;
}

void AppendPngChunk(Bytes& png, std::string_view type, ByteView data) {
    const auto put = [&png](uint32_t value) {
        for (int shift = 24; shift >= 0; shift -= 8) {
            png.push_back(static_cast<uint8_t>(value >> shift));
        }
    };
    put(static_cast<uint32_t>(data.size()));
    const size_t type_at = png.size();
    png.insert(png.end(), type.begin(), type.end());
    png.insert(png.end(), data.begin(), data.end());
    put(ChunkCrc(ByteView(png).subspan(type_at)));
}

}  // namespace pelimon
