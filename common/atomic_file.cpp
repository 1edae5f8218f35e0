#include "common/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

namespace pelimon {
namespace {

std::string SystemMessage(int error_number) {
    return std::strerror(error_number);
}

// Closes the descriptor and removes the temporary file unless the write was committed.
class TempFile {
  public:
    explicit TempFile(std::string pattern) : path_(std::move(pattern)) {
        std::vector<char> buffer(path_.begin(), path_.end());
        buffer.push_back('\0');
        fd_ = mkostemp(buffer.data(), O_CLOEXEC);
        created_ = fd_ >= 0;
        path_.assign(buffer.data());
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    ~TempFile() {
        Close();
        if (created_ && !committed_) {
            unlink(path_.c_str());
        }
    }

    bool valid() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    const std::string& path() const { return path_; }
    int Close() {
        if (fd_ < 0) {
            return 0;
        }
        const int result = close(fd_);
        fd_ = -1;
        return result;
    }
    void Commit() { committed_ = true; }

  private:
    std::string path_;
    int fd_ = -1;
    bool created_ = false;
    bool committed_ = false;
};

}  // namespace

Status WriteFileAtomically(const std::string& path, std::span<const unsigned char> bytes) {
    const std::filesystem::path target(path);
    std::filesystem::path folder = target.parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    std::string temp_name = ".";
    temp_name += target.filename().string();
    temp_name += kTempFileMarker;
    temp_name += "XXXXXX";
    const std::string pattern = (folder / temp_name).string();
    TempFile temp(pattern);
    if (!temp.valid()) {
        return Error{"cannot create a file in " + folder.string() + ": " + SystemMessage(errno), path};
    }
    // mkostemp creates the file 0600; give it the mode an ordinary new file would get.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(temp.fd(), static_cast<mode_t>(0666 & ~mask));

    size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = write(temp.fd(), bytes.data() + written, bytes.size() - written);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return Error{"cannot write: " + SystemMessage(errno), path};
        }
        written += static_cast<size_t>(n);
    }
    if (fsync(temp.fd()) != 0 && errno != EINVAL) {
        return Error{"cannot write: " + SystemMessage(errno), path};
    }
    if (temp.Close() != 0) {
        return Error{"cannot write: " + SystemMessage(errno), path};
    }
    if (rename(temp.path().c_str(), path.c_str()) != 0) {
        return Error{"cannot replace the file: " + SystemMessage(errno), path};
    }
    temp.Commit();
    return {};
}

Status WriteFileAtomically(const std::string& path, std::string_view bytes) {
    return WriteFileAtomically(path, std::span(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()));
}

namespace {

// Closes a descriptor when it goes out of scope.
class ReadOnlyFile {
  public:
    explicit ReadOnlyFile(const std::string& path) : fd_(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)) {}
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;
    ~ReadOnlyFile() {
        if (fd_ >= 0) {
            close(fd_);
        }
    }
    int fd() const { return fd_; }

  private:
    int fd_;
};

template <class Buffer>
std::optional<FileReadFailure> ReadRegularFileInto(const std::string& path, size_t max_bytes, LongerFiles longer,
                                                   Buffer& bytes) {
    // O_NONBLOCK: a named pipe in place of a file would otherwise block the open until a writer
    // appears; anything but a regular file is refused below anyway.
    const ReadOnlyFile file(path);
    if (file.fd() < 0) {
        const int error_number = errno;
        bytes.clear();
        return FileReadFailure{FileReadFailure::Kind::kOpen, error_number};
    }
    struct stat info {};
    if (fstat(file.fd(), &info) != 0) {
        const int error_number = errno;
        bytes.clear();
        return FileReadFailure{FileReadFailure::Kind::kRead, error_number};
    }
    if (!S_ISREG(info.st_mode)) {
        bytes.clear();
        return FileReadFailure{FileReadFailure::Kind::kNotRegularFile};
    }
    const auto file_size = static_cast<uint64_t>(info.st_size);
    if (file_size > max_bytes && longer == LongerFiles::kRefuse) {
        bytes.clear();
        return FileReadFailure{FileReadFailure::Kind::kTooLarge};
    }
    // `bytes` was not cleared on the way here: callers reuse one buffer from file to file, and
    // resizing it writes zeros only into what it grows by, which the read then overwrites anyway.
    // Every failure clears it.
    bytes.resize(static_cast<size_t>(std::min<uint64_t>(file_size, max_bytes)));
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = read(file.fd(), bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            const int error_number = errno;
            bytes.clear();
            return FileReadFailure{FileReadFailure::Kind::kRead, error_number};
        }
        if (n == 0) {
            break;  // the file shrank while it was read: keep what is there
        }
        done += static_cast<size_t>(n);
    }
    bytes.resize(done);
    return std::nullopt;
}

}  // namespace

std::optional<FileReadFailure> ReadRegularFile(const std::string& path, size_t max_bytes, LongerFiles longer,
                                               std::string& bytes) {
    return ReadRegularFileInto(path, max_bytes, longer, bytes);
}

std::optional<FileReadFailure> ReadRegularFile(const std::string& path, size_t max_bytes, LongerFiles longer,
                                               std::vector<uint8_t>& bytes) {
    return ReadRegularFileInto(path, max_bytes, longer, bytes);
}

Result<std::string> ReadWholeFile(const std::string& path, size_t max_bytes) {
    std::string bytes;
    const std::optional<FileReadFailure> failure = ReadRegularFile(path, max_bytes, LongerFiles::kRefuse, bytes);
    if (!failure) {
        return bytes;
    }
    switch (failure->kind) {
        case FileReadFailure::Kind::kOpen:
            return Error{"cannot open: " + SystemMessage(failure->error_number), path};
        case FileReadFailure::Kind::kNotRegularFile:
            return Error{"not a regular file", path};
        case FileReadFailure::Kind::kTooLarge:
            return Error{"the file is too large", path};
        case FileReadFailure::Kind::kRead:
            break;
    }
    return Error{"cannot read: " + SystemMessage(failure->error_number), path};
}

}  // namespace pelimon
