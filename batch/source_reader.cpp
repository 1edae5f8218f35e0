#include "batch/source_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>

#include "batch/batch_texts.h"
#include "common/atomic_file.h"
#include "imagelib/png_chunks.h"
#include "imagelib/raw_metadata.h"
#include "imagelib/tiff_metadata.h"

namespace pelimon {

namespace t = batch_texts;

namespace {

constexpr size_t kPrefixChunkBytes = size_t{64} << 10;

Error ReadError(const std::string& path, int error_number) {
    return Error{t::NotRead(path, std::strerror(error_number)), path};
}

// The message of a failed read of a source, in the batch's wording.
Error SourceReadError(const std::string& path, const FileReadFailure& failure) {
    switch (failure.kind) {
        case FileReadFailure::Kind::kNotRegularFile:
            return Error{t::NotARegularFile(path), path};
        case FileReadFailure::Kind::kTooLarge:
            return Error{t::SourceTooLarge(path), path};
        case FileReadFailure::Kind::kOpen:
        case FileReadFailure::Kind::kRead:
            break;
    }
    return ReadError(path, failure.error_number);
}

// Where the first SOS segment header ends, or 0 when the buffer does not reach it yet; `need`
// then tells how many bytes would get the walk further. Stops at anything that is no marker.
size_t EndOfSosHeader(const std::vector<uint8_t>& bytes, size_t& need) {
    need = 0;
    if (bytes.size() < 2 || bytes[0] != 0xFF || bytes[1] != 0xD8) {
        return bytes.size();
    }
    size_t pos = 2;
    while (true) {
        while (pos + 1 < bytes.size() && bytes[pos] == 0xFF && bytes[pos + 1] == 0xFF) {
            ++pos;  // fill bytes before a marker
        }
        if (pos + 4 > bytes.size()) {
            need = pos + 4;
            return 0;
        }
        if (bytes[pos] != 0xFF) {
            return bytes.size();
        }
        const uint8_t marker = bytes[pos + 1];
        if (marker == 0xD9) {
            return pos + 2;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            pos += 2;
            continue;
        }
        const size_t next = pos + 2 + (size_t{bytes[pos + 2]} << 8 | size_t{bytes[pos + 3]});
        if (marker == 0xDA) {
            if (next <= bytes.size()) {
                return next;
            }
            need = next;
            return 0;
        }
        pos = next;
    }
}

}  // namespace

Result<SourceFile> OpenSourceFile(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return ReadError(path, errno);
    }
    struct stat info {};
    if (fstat(fd, &info) != 0) {
        const int error_number = errno;
        close(fd);
        return ReadError(path, error_number);
    }
    if (!S_ISREG(info.st_mode)) {
        close(fd);
        return SourceReadError(path, FileReadFailure{FileReadFailure::Kind::kNotRegularFile});
    }
    std::FILE* file = fdopen(fd, "rb");
    if (file == nullptr) {
        const int error_number = errno;
        close(fd);
        return ReadError(path, error_number);
    }
    return SourceFile(file);
}

Status ReadFileInto(const std::string& path, std::vector<uint8_t>& bytes) {
    if (const std::optional<FileReadFailure> failure =
            ReadRegularFile(path, kMaxSourceFileBytes, LongerFiles::kRefuse, bytes)) {
        return SourceReadError(path, *failure);
    }
    return {};
}

Result<std::vector<uint8_t>> ReadJpegHeaderPrefix(const std::string& path, size_t max_bytes) {
    std::vector<uint8_t> bytes;
    size_t want = std::min(kPrefixChunkBytes, max_bytes);
    while (true) {
        // Each round reads the prefix afresh, so rounds at least double it.
        if (const std::optional<FileReadFailure> failure =
                ReadRegularFile(path, want, LongerFiles::kReadPrefix, bytes)) {
            return SourceReadError(path, *failure);
        }
        const bool at_end = bytes.size() < want;
        size_t need = 0;
        const size_t end = EndOfSosHeader(bytes, need);
        if (end != 0) {
            bytes.resize(std::min(end, bytes.size()));
            return bytes;
        }
        if (at_end || bytes.size() >= max_bytes) {
            return bytes;
        }
        want = std::min(max_bytes, std::max({need, bytes.size() + kPrefixChunkBytes, 2 * bytes.size()}));
    }
}

Result<std::vector<uint8_t>> ReadMetadataBytes(const std::string& path, MetadataPlace place) {
    switch (place) {
        case MetadataPlace::kNone:
            return std::vector<uint8_t>{};
        case MetadataPlace::kLeadingSegments:
            return ReadJpegHeaderPrefix(path);
        case MetadataPlace::kOutsideImageData: {
            Result<SourceFile> opened = OpenSourceFile(path);
            if (!opened.ok()) {
                return opened.error();
            }
            Result<Bytes> png = ReadPngWithoutImageData(opened.value().get(), kMaxPngMetadataBytes);
            if (!png.ok()) {
                return Error{png.error().message, path};
            }
            return std::move(png).value();
        }
        case MetadataPlace::kTiffDirectories: {
            Result<SourceFile> opened = OpenSourceFile(path);
            if (!opened.ok()) {
                return opened.error();
            }
            Result<Bytes> tiff = ReadTiffMetadataFile(opened.value().get());
            if (!tiff.ok()) {
                return Error{tiff.error().message, path};
            }
            return std::move(tiff).value();
        }
        case MetadataPlace::kFileStart: {
            Result<SourceFile> opened = OpenSourceFile(path);
            if (!opened.ok()) {
                return opened.error();
            }
            std::FILE* file = opened.value().get();
            std::vector<uint8_t> start(static_cast<size_t>(RawMetadataExtent(file)));
            if (fseeko(file, 0, SEEK_SET) != 0) {
                return ReadError(path, errno);
            }
            start.resize(std::fread(start.data(), 1, start.size(), file));
            if (std::ferror(file)) {
                return ReadError(path, errno);
            }
            return start;
        }
        case MetadataPlace::kAnywhere:
            break;
    }
    std::vector<uint8_t> whole;
    if (Status read = ReadFileInto(path, whole); !read.ok()) {
        return read.error();
    }
    return whole;
}

}  // namespace pelimon
