#include "batch/source_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace pelimon {
namespace {

constexpr size_t kPrefixChunkBytes = size_t{64} << 10;

Error ReadError(const std::string& path, int error_number) {
    return Error{path + " を読み込めませんでした（" + std::strerror(error_number) + "）。", path};
}

// Owns a read-only file descriptor. Opened without blocking: a source replaced by a pipe after
// the folder was listed must not wait for a writer for ever (its reads then end at once).
class InputFile {
  public:
    explicit InputFile(const std::string& path) : fd_(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)) {}
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;
    ~InputFile() {
        if (fd_ >= 0) {
            close(fd_);
        }
    }
    int fd() const { return fd_; }

    // Reads until `size` bytes are in or the file ends; returns the count, or -1 on an error.
    ssize_t ReadFully(uint8_t* data, size_t size) const {
        size_t done = 0;
        while (done < size) {
            const ssize_t n = read(fd_, data + done, size - done);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n < 0) {
                return -1;
            }
            if (n == 0) {
                break;
            }
            done += static_cast<size_t>(n);
        }
        return static_cast<ssize_t>(done);
    }

  private:
    int fd_;
};

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

Status ReadFileInto(const std::string& path, std::vector<uint8_t>& bytes) {
    bytes.clear();
    const InputFile file(path);
    struct stat info {};
    if (file.fd() < 0 || fstat(file.fd(), &info) != 0) {
        return ReadError(path, errno);
    }
    if (!S_ISREG(info.st_mode)) {
        return Error{path + " は通常のファイルではありません。", path};
    }
    const auto size = static_cast<size_t>(info.st_size);
    if (size > kMaxSourceFileBytes) {
        return Error{path + " は大きすぎるため読み込みません。", path};
    }
    bytes.resize(size);
    const ssize_t got = file.ReadFully(bytes.data(), size);
    if (got < 0) {
        const int error_number = errno;
        bytes.clear();
        return ReadError(path, error_number);
    }
    bytes.resize(static_cast<size_t>(got));
    return {};
}

Result<std::vector<uint8_t>> ReadJpegHeaderPrefix(const std::string& path, size_t max_bytes) {
    const InputFile file(path);
    if (file.fd() < 0) {
        return ReadError(path, errno);
    }
    std::vector<uint8_t> bytes;
    size_t want = std::min(kPrefixChunkBytes, max_bytes);
    while (true) {
        const size_t have = bytes.size();
        bytes.resize(want);
        const ssize_t got = file.ReadFully(bytes.data() + have, want - have);
        if (got < 0) {
            return ReadError(path, errno);
        }
        bytes.resize(have + static_cast<size_t>(got));
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
        want = std::min(max_bytes, std::max(need, bytes.size() + kPrefixChunkBytes));
    }
}

}  // namespace pelimon
