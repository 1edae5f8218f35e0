#include "imagelib/raw_stream.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace pelimon::imagelib_detail {

namespace {

// The window through which a file is read: libraw reads directories, tags and rows of raw data in
// pieces of a few bytes to a few kilobytes. Reads at least this large go straight to their target.
constexpr size_t kWindowBytes = size_t{256} << 10;

// Reads `size` bytes at `offset`, as many as there are; how many it read (short at the end or on
// an error).
size_t ReadAt(int fd, int64_t offset, uint8_t* out, size_t size) {
    size_t done = 0;
    while (done < size) {
        const ssize_t got = pread(fd, out + done, size - done, static_cast<off_t>(offset) + static_cast<off_t>(done));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        done += static_cast<size_t>(got);
    }
    return done;
}

}  // namespace

RawStream::RawStream(ByteView bytes)
    : size_(static_cast<int64_t>(bytes.size())), window_(bytes.data()), window_size_(bytes.size()) {}

RawStream::RawStream(int fd) : fd_(fd) {
    struct stat info {};
    if (fstat(fd, &info) == 0 && info.st_size > 0) {
        size_ = info.st_size;
    }
}

RawStream::~RawStream() = default;

int RawStream::valid() {
    return 1;
}

bool RawStream::Cover(int64_t at) {
    if (at >= window_start_ && at - window_start_ < static_cast<int64_t>(window_size_)) {
        return true;
    }
    if (fd_ < 0) {
        return false;
    }
    if (buffer_ == nullptr) {
        buffer_.reset(new uint8_t[kWindowBytes]);  // no zero fill: every byte used is read first
    }
    const size_t want = static_cast<size_t>(std::min<int64_t>(kWindowBytes, size_ - at));
    window_ = buffer_.get();
    window_start_ = at;
    window_size_ = ReadAt(fd_, at, buffer_.get(), want);
    return window_size_ > 0;
}

size_t RawStream::Copy(uint8_t* out, size_t size) {
    size_t done = 0;
    while (done < size && position_ < size_) {
        const size_t left = size - done;
        if (fd_ >= 0 && left >= kWindowBytes &&
            !(position_ >= window_start_ && position_ - window_start_ < static_cast<int64_t>(window_size_))) {
            const size_t wanted = static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(left), size_ - position_));
            const size_t got = ReadAt(fd_, position_, out + done, wanted);
            done += got;
            position_ += static_cast<int64_t>(got);
            if (got < wanted) {
                break;
            }
            continue;
        }
        if (!Cover(position_)) {
            break;
        }
        const auto in_window = static_cast<size_t>(position_ - window_start_);
        const size_t n = std::min(left, window_size_ - in_window);
        std::memcpy(out + done, window_ + in_window, n);
        done += n;
        position_ += static_cast<int64_t>(n);
    }
    return done;
}

int RawStream::read(void* ptr, size_t size, size_t count) {
    if (size == 0 || count == 0) {
        return 0;
    }
    const size_t wanted = count > SIZE_MAX / size ? SIZE_MAX : size * count;
    const size_t got = Copy(static_cast<uint8_t*>(ptr), wanted);
    // Whole items, a last partial one counted, as libraw's reader of memory does.
    const size_t items = (got + size - 1) / size;
    if (items < count) {
        ran_out_ = true;
    }
    return static_cast<int>(std::min<size_t>(items, INT32_MAX));
}

int RawStream::seek(INT64 offset, int whence) {
    int64_t base = 0;
    if (whence == SEEK_CUR) {
        base = position_;
    } else if (whence == SEEK_END) {
        base = size_;
    } else if (whence != SEEK_SET) {
        return 0;
    }
    // Positions stay inside the file, as libraw's own streams keep them.
    if (offset < 0) {
        position_ = offset < -base ? 0 : base + offset;
    } else {
        position_ = offset > size_ - base ? size_ : base + offset;
    }
    return 0;
}

INT64 RawStream::tell() {
    return position_;
}

INT64 RawStream::size() {
    return size_;
}

int RawStream::get_char() {
    if (position_ >= size_ || !Cover(position_)) {
        ran_out_ = true;
        return -1;
    }
    const uint8_t c = window_[position_ - window_start_];
    ++position_;
    return c;
}

char* RawStream::gets(char* text, int size) {
    if (size <= 0 || position_ >= size_) {
        return nullptr;
    }
    int length = 0;
    while (length < size - 1 && position_ < size_) {
        const int c = get_char();
        if (c < 0) {
            break;
        }
        text[length++] = static_cast<char>(c);
        if (c == '\n') {
            break;
        }
    }
    text[length] = '\0';
    return text;
}

int RawStream::scanf_one(const char* format, void* value) {
    // libraw reads one number of a text header this way: the next word, at most a few characters.
    constexpr size_t kWordBytes = 24;
    char word[kWordBytes + 1] = {};
    const int64_t start = position_;
    const size_t got = Copy(reinterpret_cast<uint8_t*>(word), kWordBytes);
    position_ = start;
    if (got == 0) {
        return 0;
    }
    word[got] = '\0';
    const int result = std::sscanf(word, format, value);
    if (result > 0) {
        // Past the number: to the next blank or end of text, as libraw's reader of memory goes.
        size_t skipped = 0;
        while (position_ < size_) {
            ++position_;
            ++skipped;
            const char c = position_ - start < static_cast<int64_t>(got) ? word[position_ - start] : '\0';
            if (c == '\0' || c == ' ' || c == '\t' || c == '\n' || skipped > kWordBytes) {
                break;
            }
        }
    }
    return result;
}

int RawStream::eof() {
    return position_ >= size_ ? 1 : 0;
}

}  // namespace pelimon::imagelib_detail
