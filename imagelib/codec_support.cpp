#include "imagelib/codec_support.h"

#include <algorithm>
#include <cstdint>

namespace pelimon::imagelib_detail {

namespace {

std::string Size(int64_t width, int64_t height) {
    return std::to_string(width) + " x " + std::to_string(height);
}

}  // namespace

Error UnsupportedError(std::string_view detail) {
    if (detail.empty()) {
        return Error{imagelib_texts::kUnsupported.str(), {}};
    }
    return Error{imagelib_texts::Unsupported(std::string(detail)), {}};
}

Error CorruptError(std::string_view detail) {
    return Error{imagelib_texts::Corrupt(std::string(detail)), {}};
}

Error TooLargeError(int64_t width, int64_t height) {
    return Error{imagelib_texts::TooLarge(Size(width, height)), {}};
}

Error MemoryError(int64_t width, int64_t height, int64_t bytes_needed) {
    const int64_t megabytes = (bytes_needed + (int64_t{1} << 20) - 1) >> 20;
    return Error{imagelib_texts::TooLargeForMemory(Size(width, height), megabytes), {}};
}

Error BadSizeError(int64_t width, int64_t height) {
    return Error{imagelib_texts::BadSize(Size(width, height)), {}};
}

Error EncodeError(std::string_view detail) {
    return Error{imagelib_texts::EncodeFailed(std::string(detail)), {}};
}

Status CheckSides(int64_t width, int64_t height, int64_t max_side) {
    if (width <= 0 || height <= 0) {
        return BadSizeError(width, height);
    }
    if (width > max_side || height > max_side) {
        return TooLargeError(width, height);
    }
    return {};
}

Status CheckDimensions(int64_t width, int64_t height, int64_t max_side) {
    if (Status sides = CheckSides(width, height, max_side); !sides) {
        return sides;
    }
    if (width * height > kMaxDecodedPixels) {
        return TooLargeError(width, height);
    }
    return {};
}

Status ImageSink::Begin(int width, int height) {
    if (Status size = CheckDimensions(width, height, INT32_MAX); !size) {
        return size;
    }
    out_.Reset(width, height);
    next_ = 0;
    return {};
}

void ImageSink::Row(const uint8_t* rgb) {
    if (next_ >= out_.height()) {
        return;
    }
    uint8_t* row = out_.row(next_++);
    if (rgb != row) {
        std::copy_n(rgb, out_.stride(), row);
    }
}

MemoryFile::MemoryFile(ByteView bytes) {
    if (!bytes.empty()) {
        // fmemopen never writes through a "r" stream; it only takes a non-const pointer.
        file_ = fmemopen(const_cast<uint8_t*>(bytes.data()), bytes.size(), "r");
    }
}

MemoryFile::~MemoryFile() {
    if (file_ != nullptr) {
        std::fclose(file_);
    }
}

int64_t RemainingBytes(std::FILE* file) {
    const off_t here = ftello(file);
    if (here < 0 || fseeko(file, 0, SEEK_END) != 0) {
        return 0;
    }
    const off_t end = ftello(file);
    fseeko(file, here, SEEK_SET);
    return end > here ? end - here : 0;
}

bool ReadAt(std::FILE* file, int64_t offset, uint8_t* out, size_t size) {
    return fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0 && std::fread(out, 1, size, file) == size;
}

}  // namespace pelimon::imagelib_detail
