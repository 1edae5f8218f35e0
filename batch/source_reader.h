// Reading source files: whole, into a buffer a worker reuses from image to image, or only the part
// that holds the metadata (a JPEG's leading segments, a PNG without its image data).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "common/result.h"
#include "imagelib/format_table.h"

namespace pelimon {

// Sources larger than this are refused rather than read into memory: 1 GiB.
inline constexpr size_t kMaxSourceFileBytes = size_t{1} << 30;

// Bound of ReadJpegHeaderPrefix: the metadata of a JPEG lies before its first SOS marker, and
// Exif and ICC segments together rarely pass a few hundred kilobytes.
inline constexpr size_t kMaxJpegPrefixBytes = size_t{1} << 20;

// Bound of a PNG read without its image data (ReadMetadataBytes): its other chunks.
inline constexpr size_t kMaxPngMetadataBytes = size_t{16} << 20;

// A source file open for reading from its start, closed with the object.
class SourceFile {
  public:
    SourceFile() = default;
    explicit SourceFile(std::FILE* file) : file_(file) {}
    SourceFile(SourceFile&& other) noexcept : file_(std::exchange(other.file_, nullptr)) {}
    SourceFile& operator=(SourceFile&& other) noexcept {
        std::swap(file_, other.file_);
        return *this;
    }
    SourceFile(const SourceFile&) = delete;
    SourceFile& operator=(const SourceFile&) = delete;
    ~SourceFile() {
        if (file_ != nullptr) {
            std::fclose(file_);
        }
    }
    std::FILE* get() const { return file_; }

  private:
    std::FILE* file_ = nullptr;
};

// Opens a regular file for streamed reading, whatever its size (a named pipe or a folder in its
// place is refused without blocking). Fails with the same Japanese messages as ReadFileInto.
Result<SourceFile> OpenSourceFile(const std::string& path);

// Replaces `bytes` with the whole file, keeping the buffer's allocation when it is large enough.
// Fails with a Japanese message naming the file; `bytes` is then empty.
Status ReadFileInto(const std::string& path, std::vector<uint8_t>& bytes);

// The start of a JPEG file up to and including its first SOS segment header, or up to
// `max_bytes`, or the whole file when it is shorter or not a JPEG stream at all.
Result<std::vector<uint8_t>> ReadJpegHeaderPrefix(const std::string& path, size_t max_bytes = kMaxJpegPrefixBytes);

// What the metadata of a source is read from, by where its format keeps it
// (FormatRow::source_metadata): the start of a JPEG up to its first scan (ReadJpegHeaderPrefix), a
// PNG without its image data (ReadPngWithoutImageData, a few small reads however large the file
// is), a TIFF's directories (ReadTiffMetadataFile, likewise), the start of a camera raw file that
// holds its directories (RawMetadataExtent), the whole file for the others; empty for kNone. Fails with a Japanese
// message naming the file.
Result<std::vector<uint8_t>> ReadMetadataBytes(const std::string& path, MetadataPlace place);

}  // namespace pelimon
