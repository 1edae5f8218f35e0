#include "imagelib/png_stream.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "imagelib/adler32.h"
#include "imagelib/codec_support.h"
#include "imagelib/png_support.h"

namespace pelimon::imagelib_detail {

namespace {

// libpng's words for the damage it finds, so that both readers describe it alike.
constexpr char kCrcError[] = "CRC error";
constexpr char kDataCheck[] = "IDAT: incorrect data check";
constexpr char kNotEnoughData[] = "Not enough image data";
constexpr char kTooMuchData[] = "Too much image data";
constexpr char kBadFilter[] = "bad adaptive filter value";
constexpr char kBadChunkType[] = "invalid chunk type";
constexpr char kUnknownCritical[] = "unknown critical chunk";
constexpr char kBadLength[] = "PNG unsigned integer out of range";
constexpr char kBadZlibHeader[] = "IDAT: invalid zlib header";

constexpr size_t kReadBlockBytes = size_t{256} << 10;
// The image data of many IDAT chunks (8 KiB each, from many encoders) is gathered up to this size
// before it is inflated, and rows are inflated this many bytes at a time (at least two rows): zlib
// copies each call's output into its window, up to 32 KiB, and the row cut at the end of the
// output moves to the start.
constexpr size_t kPendingBytes = size_t{256} << 10;
constexpr size_t kInflateBytes = size_t{1} << 20;

constexpr uint32_t ChunkType(const char (&name)[5]) {
    return uint32_t{static_cast<uint8_t>(name[0])} << 24 | uint32_t{static_cast<uint8_t>(name[1])} << 16 |
           uint32_t{static_cast<uint8_t>(name[2])} << 8 | uint32_t{static_cast<uint8_t>(name[3])};
}

Error Damaged(const std::string& why) {
    return CorruptError("PNG: " + why);
}

// A file read in large blocks, handed out in place.
class BlockReader {
  public:
    explicit BlockReader(std::FILE* file) : file_(file), buffer_(kReadBlockBytes) {}

    // Up to `most` bytes (at least one while the file lasts), valid until the next call; empty at
    // the end of the file.
    ByteView Next(size_t most) {
        if (position_ == size_) {
            size_ = std::fread(buffer_.data(), 1, buffer_.size(), file_);
            position_ = 0;
        }
        const size_t count = std::min(most, size_ - position_);
        const ByteView bytes(buffer_.data() + position_, count);
        position_ += count;
        return bytes;
    }

    // Copies exactly `size` bytes into `out`; false when the file ends first.
    bool Read(uint8_t* out, size_t size) {
        while (size > 0) {
            const ByteView bytes = Next(size);
            if (bytes.empty()) {
                return false;
            }
            std::copy(bytes.begin(), bytes.end(), out);
            out += bytes.size();
            size -= bytes.size();
        }
        return true;
    }

  private:
    std::FILE* file_;
    std::vector<uint8_t> buffer_;
    size_t position_ = 0;
    size_t size_ = 0;
};

struct InflateEnd {
    void operator()(z_stream* stream) const { inflateEnd(stream); }
};

// Undoes the row's filter in place; `previous` is the row above, unfiltered (zeros above the
// first). `bpp` bytes make a pixel.
bool Unfilter(uint8_t type, uint8_t* row, const uint8_t* previous, size_t size, size_t bpp) {
    switch (type) {
        case 0:
            return true;
        case 1:
            for (size_t i = bpp; i < size; ++i) {
                row[i] = static_cast<uint8_t>(row[i] + row[i - bpp]);
            }
            return true;
        case 2:
            for (size_t i = 0; i < size; ++i) {
                row[i] = static_cast<uint8_t>(row[i] + previous[i]);
            }
            return true;
        case 3:
            for (size_t i = 0; i < bpp; ++i) {
                row[i] = static_cast<uint8_t>(row[i] + (previous[i] >> 1));
            }
            for (size_t i = bpp; i < size; ++i) {
                row[i] = static_cast<uint8_t>(row[i] + ((row[i - bpp] + previous[i]) >> 1));
            }
            return true;
        case 4:
            for (size_t i = 0; i < bpp; ++i) {
                row[i] = static_cast<uint8_t>(row[i] + previous[i]);
            }
            for (size_t i = bpp; i < size; ++i) {
                const int a = row[i - bpp];
                const int b = previous[i];
                const int c = previous[i - bpp];
                const int pa = std::abs(b - c);
                const int pb = std::abs(a - c);
                const int pc = std::abs(a + b - 2 * c);
                const int predicted = pa <= pb && pa <= pc ? a : (pb <= pc ? b : c);
                row[i] = static_cast<uint8_t>(row[i] + predicted);
            }
            return true;
        default:
            return false;
    }
}

class PngStream {
  public:
    PngStream(std::FILE* file, RowSink& sink) : reader_(file), sink_(sink) {}

    std::optional<Status> Decode();

  private:
    // One chunk's bytes through its CRC, which must match for critical chunks.
    Status CheckCrc(uint32_t type, uint32_t crc, bool critical);
    Status ImageData(uint32_t length, uint32_t& crc);
    // Inflates the gathered image data; then, at the end of the image data, checks that it held
    // every row and the right Adler-32.
    Status Flush();
    Status Finish();
    Status Inflate(ByteView input);
    Status TakeRows();

    BlockReader reader_;
    RowSink& sink_;
    int width_ = 0;
    int height_ = 0;
    size_t bpp_ = 3;
    size_t row_bytes_ = 0;  // without the filter byte

    // The zlib stream: its two-byte header, the raw deflate data, then the Adler-32.
    uint8_t header_[2] = {};
    size_t header_got_ = 0;
    z_stream zlib_{};
    std::unique_ptr<z_stream, InflateEnd> zlib_owner_;
    bool deflate_ended_ = false;
    uint32_t adler_ = 1;
    uint8_t stored_adler_[4] = {};
    size_t stored_got_ = 0;
    uint64_t fed_ = 0;          // bytes of the stream inflated so far
    bool complete_ = false;     // the whole stream, Adler-32 included, has been read
    uint64_t complete_at_ = 0;  // how many bytes of it that took

    std::vector<uint8_t> pending_;   // image data not inflated yet
    std::vector<uint8_t> inflated_;  // filtered rows, from the first one not yet given
    size_t filled_ = 0;
    std::vector<uint8_t> above_;  // the row above the first in `inflated_`, unfiltered
    std::vector<uint8_t> rgb_;    // a composited row
    int rows_done_ = 0;
};

Status PngStream::CheckCrc(uint32_t type, uint32_t crc, bool critical) {
    uint8_t stored[4];
    if (!reader_.Read(stored, 4)) {
        return CorruptError(imagelib_texts::kFileTruncated);
    }
    if (critical && crc != ReadBe32(ByteView(stored, 4), 0)) {
        const char name[5] = {static_cast<char>(type >> 24), static_cast<char>(type >> 16),
                              static_cast<char>(type >> 8), static_cast<char>(type), '\0'};
        return Damaged(std::string(name) + ": " + kCrcError);
    }
    return {};
}

Status PngStream::ImageData(uint32_t length, uint32_t& crc) {
    while (length > 0) {
        const ByteView bytes = reader_.Next(length);
        if (bytes.empty()) {
            return CorruptError(imagelib_texts::kFileTruncated);
        }
        crc = static_cast<uint32_t>(crc32(crc, bytes.data(), static_cast<uInt>(bytes.size())));
        length -= static_cast<uint32_t>(bytes.size());
        pending_.insert(pending_.end(), bytes.begin(), bytes.end());
        if (pending_.size() >= kPendingBytes) {
            if (Status flushed = Flush(); !flushed) {
                return flushed;
            }
        }
    }
    return {};
}

Status PngStream::Flush() {
    const Status inflated = Inflate(pending_);
    fed_ += pending_.size();
    pending_.clear();
    return inflated;
}

Status PngStream::Finish() {
    if (Status flushed = Flush(); !flushed) {
        return flushed;
    }
    if (stored_got_ < 4 || rows_done_ < height_) {
        return Damaged(kNotEnoughData);
    }
    if (ReadBe32(ByteView(stored_adler_, 4), 0) != adler_) {
        return Damaged(kDataCheck);
    }
    return {};
}

Status PngStream::Inflate(ByteView input) {
    size_t at = 0;
    while (at < input.size() && header_got_ < 2) {
        header_[header_got_++] = input[at++];
        if (header_got_ == 2) {
            const unsigned method = header_[0] & 15u;
            const unsigned window = header_[0] >> 4;
            if (method != 8 || window > 7 || (header_[0] * 256u + header_[1]) % 31 != 0 || (header_[1] & 0x20) != 0) {
                return Damaged(kBadZlibHeader);
            }
            // The largest window: a stream that reaches further back than its header says is
            // still read, as it is meant.
            if (inflateInit2(&zlib_, -15) != Z_OK) {
                return CorruptError(imagelib_texts::kPngReadSetupFailed);
            }
            zlib_owner_.reset(&zlib_);
        }
    }
    while (at < input.size() && !deflate_ended_) {
        zlib_.next_in = const_cast<uint8_t*>(input.data() + at);
        zlib_.avail_in = static_cast<uInt>(input.size() - at);
        zlib_.next_out = inflated_.data() + filled_;
        zlib_.avail_out = static_cast<uInt>(inflated_.size() - filled_);
        const int result = inflate(&zlib_, Z_NO_FLUSH);
        at = static_cast<size_t>(zlib_.next_in - input.data());
        const size_t produced = inflated_.size() - filled_ - zlib_.avail_out;
        adler_ = Adler32(adler_, ByteView(inflated_.data() + filled_, produced));
        filled_ += produced;
        if (result == Z_STREAM_END) {
            deflate_ended_ = true;
        } else if (result == Z_BUF_ERROR && produced == 0) {
            break;  // no progress: wait for more input
        } else if (result != Z_OK && result != Z_BUF_ERROR) {
            return Damaged(std::string("IDAT: ") + (zlib_.msg != nullptr ? zlib_.msg : "inflate"));
        }
        if (Status taken = TakeRows(); !taken) {
            return taken;
        }
    }
    while (at < input.size() && deflate_ended_ && stored_got_ < 4) {
        stored_adler_[stored_got_++] = input[at++];
        if (stored_got_ == 4) {
            complete_ = true;
            complete_at_ = fed_ + at;
        }
    }
    return {};
}

Status PngStream::TakeRows() {
    const size_t stride = row_bytes_ + 1;
    size_t at = 0;
    const uint8_t* above = above_.data();
    // Rows are unfiltered and given where they were inflated; the last one given is kept as the
    // row above the next.
    for (; filled_ - at >= stride; at += stride) {
        if (rows_done_ == height_) {
            return Damaged(kTooMuchData);
        }
        uint8_t* row = inflated_.data() + at + 1;
        if (!Unfilter(inflated_[at], row, above, row_bytes_, bpp_)) {
            return Damaged(kBadFilter);
        }
        if (bpp_ == 4) {
            CompositeRow(row, static_cast<size_t>(width_), rgb_.data());
            sink_.Row(rgb_.data());
        } else {
            sink_.Row(row);
        }
        above = row;
        ++rows_done_;
    }
    if (at > 0) {
        std::copy_n(above, row_bytes_, above_.data());
        std::memmove(inflated_.data(), inflated_.data() + at, filled_ - at);
        filled_ -= at;
    }
    return {};
}

std::optional<Status> PngStream::Decode() {
    uint8_t head[33];
    if (!reader_.Read(head, sizeof head)) {
        return CorruptError(imagelib_texts::kPngNoIhdr);
    }
    const ByteView ihdr(head, sizeof head);
    const uint8_t depth = head[24];
    const uint8_t colour = head[25];
    if (depth != 8 || (colour != 2 && colour != 6) || head[26] != 0 || head[27] != 0 || head[28] != 0) {
        return std::nullopt;
    }
    width_ = static_cast<int>(ReadBe32(ihdr, 16));
    height_ = static_cast<int>(ReadBe32(ihdr, 20));
    bpp_ = colour == 6 ? 4 : 3;
    row_bytes_ = bpp_ * static_cast<size_t>(width_);
    bool in_image_data = false;
    for (;;) {
        uint8_t chunk[8];
        if (!reader_.Read(chunk, sizeof chunk)) {
            // The image data may end the file; what follows it is not needed for the pixels.
            if (in_image_data && Finish().ok()) {
                return Status{};
            }
            return CorruptError(imagelib_texts::kFileTruncated);
        }
        const uint32_t length = ReadBe32(ByteView(chunk, 8), 0);
        const uint32_t type = ReadBe32(ByteView(chunk, 8), 4);
        if (in_image_data && (type != ChunkType("IDAT") || length > 0x7FFFFFFFu)) {
            return Finish();  // what follows (text chunks, IEND) is not needed for the pixels
        }
        if (length > 0x7FFFFFFFu) {
            return Damaged(kBadLength);
        }
        for (int i = 4; i < 8; ++i) {
            const uint8_t letter = chunk[i] & 0xDF;  // upper case
            if (letter < 'A' || letter > 'Z') {
                return Damaged(kBadChunkType);
            }
        }
        const bool critical = (chunk[4] & 0x20) == 0;
        if (type == ChunkType("IDAT")) {
            if (!in_image_data) {
                in_image_data = true;
                if (Status begun = sink_.Begin(width_, height_); !begun) {
                    return begun;
                }
                pending_.reserve(kPendingBytes + (size_t{1} << 16));
                inflated_.resize(std::max(kInflateBytes, 2 * (row_bytes_ + 1)));
                above_.assign(row_bytes_, 0);
                rgb_.resize(bpp_ == 4 ? 3 * static_cast<size_t>(width_) : 0);
            }
            const uint64_t data_at = fed_ + pending_.size();
            uint32_t crc = static_cast<uint32_t>(crc32(0, chunk + 4, 4));
            Status read = ImageData(length, crc);
            if (read) {
                read = CheckCrc(type, crc, true);
            }
            if (!read) {
                // As for libpng, a chunk after the end of the image data is never looked at: its
                // damage does not count.
                if (Status flushed = Flush(); !flushed) {
                    return flushed;
                }
                return complete_ && complete_at_ <= data_at ? Finish() : read;
            }
            continue;
        }
        if (type == ChunkType("tRNS") && colour == 2) {
            return std::nullopt;  // libpng makes its colour transparent
        }
        const bool known = type == ChunkType("PLTE") || type == ChunkType("IHDR") || type == ChunkType("IEND");
        if (critical && !known) {
            const char name[5] = {static_cast<char>(chunk[4]), static_cast<char>(chunk[5]), static_cast<char>(chunk[6]),
                                  static_cast<char>(chunk[7]), '\0'};
            return Damaged(std::string(name) + ": " + kUnknownCritical);
        }
        if (type == ChunkType("IEND") || type == ChunkType("IHDR")) {
            return Damaged(kNotEnoughData);
        }
        // Ancillary chunks, and a suggested palette: not needed for the pixels.
        for (uint32_t left = length + 4; left > 0;) {
            const ByteView skipped = reader_.Next(left);
            if (skipped.empty()) {
                return CorruptError(imagelib_texts::kFileTruncated);
            }
            left -= static_cast<uint32_t>(skipped.size());
        }
    }
}

}  // namespace

std::optional<Status> DecodePngStream(std::FILE* file, RowSink& sink) {
    PngStream stream(file, sink);
    return stream.Decode();
}

}  // namespace pelimon::imagelib_detail
