#include "common/atomic_file.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>
#include <vector>

namespace pelimon {
namespace {

std::string SystemMessage(int error_number) {
    return std::strerror(error_number);
}

// Closes the descriptor and removes the named temporary file unless the write was committed.
class TempFile {
  public:
    TempFile() = default;
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    ~TempFile() {
        Close();
        if (!path_.empty() && !committed_) {
            unlink(path_.c_str());
        }
    }

    // An unnamed file in `folder` (O_TMPFILE): it has no name until Link gives it one, so a run
    // killed before that leaves nothing behind. False when the file system cannot do it.
    bool OpenUnnamed(const std::string& folder, mode_t mode) {
        fd_ = open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
        return fd_ >= 0;
    }
    // A named file from a mkostemp pattern, with `mode` less the umask, as open would give it.
    bool OpenNamed(std::string pattern, mode_t mode) {
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        fd_ = mkostemp(buffer.data(), O_CLOEXEC);
        if (fd_ < 0) {
            return false;
        }
        path_.assign(buffer.data());
        const mode_t mask = umask(0);
        umask(mask);
        fchmod(fd_, static_cast<mode_t>(mode & ~mask));
        return true;
    }
    // Gives the unnamed file the name `path` (which must not exist). The descriptor stays open.
    bool Link(const std::string& path) {
        const std::string self = "/proc/self/fd/" + std::to_string(fd_);
        if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) != 0 &&
            linkat(fd_, "", AT_FDCWD, path.c_str(), AT_EMPTY_PATH) != 0) {
            return false;
        }
        path_ = path;
        return true;
    }

    bool named() const { return !path_.empty(); }
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
    std::string path_;  // empty while the file has no name
    int fd_ = -1;
    bool committed_ = false;
};

Status WriteAll(int fd, std::span<const unsigned char> bytes, const std::string& path) {
    size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return Error{"cannot write: " + SystemMessage(errno), path};
        }
        written += static_cast<size_t>(n);
    }
    if (fsync(fd) != 0 && errno != EINVAL) {
        return Error{"cannot write: " + SystemMessage(errno), path};
    }
    return {};
}

bool ProcessIsAlive(pid_t pid) {
    return pid > 0 && (kill(pid, 0) == 0 || errno == EPERM);
}

// The pid in a temporary name ".<name>.pelimon-<pid>-XXXXXX", or 0 when the name has none.
pid_t OwnerOfTemporary(const std::string& name) {
    const size_t marker = name.rfind(kTempFileMarker);
    if (name.empty() || name[0] != '.' || marker == std::string::npos) {
        return 0;
    }
    const size_t digits = marker + kTempFileMarker.size();
    const size_t dash = name.find('-', digits);
    if (dash == std::string::npos || dash == digits || dash - digits > 9 || name.size() - dash - 1 != 6) {
        return 0;
    }
    pid_t pid = 0;
    for (size_t i = digits; i < dash; ++i) {
        if (name[i] < '0' || name[i] > '9') {
            return 0;
        }
        pid = pid * 10 + (name[i] - '0');
    }
    return pid;
}

// `pattern` with its trailing "XXXXXX" replaced by random letters and digits, as mkostemp does.
std::string WithRandomSuffix(std::string pattern) {
    static constexpr std::string_view kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<size_t> pick(0, kAlphabet.size() - 1);
    for (size_t i = pattern.size() - 6; i < pattern.size(); ++i) {
        pattern[i] = kAlphabet[pick(random)];
    }
    return pattern;
}

}  // namespace

std::string TemporaryNameFor(const std::string& path) {
    const std::filesystem::path target(path);
    std::filesystem::path folder = target.parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    std::string temp_name = ".";
    temp_name += target.filename().string();
    temp_name += kTempFileMarker;
    temp_name += std::to_string(getpid());
    temp_name += "-XXXXXX";
    return (folder / temp_name).string();
}

int RemoveTemporariesOfEndedRuns(const std::string& folder) {
    std::error_code error;
    std::filesystem::directory_iterator entries(folder, error);
    int removed = 0;
    for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
        const std::string name = entries->path().filename().string();
        const pid_t owner = OwnerOfTemporary(name);
        if (owner != 0 && owner != getpid() && !ProcessIsAlive(owner) && entries->is_regular_file(error) &&
            unlink(entries->path().c_str()) == 0) {
            ++removed;
        }
    }
    return removed;
}

Status WriteFileAtomically(const std::string& path, std::span<const unsigned char> bytes, NewFileAccess access) {
    const mode_t mode = access == NewFileAccess::kOwnerOnly ? 0600 : 0666;
    const std::string pattern = TemporaryNameFor(path);
    const std::string folder = std::filesystem::path(pattern).parent_path().string();
    TempFile temp;
    if (temp.OpenUnnamed(folder, mode)) {
        if (Status written = WriteAll(temp.fd(), bytes, path); !written.ok()) {
            return written;
        }
        // The file gets a name only now, complete, for the moment before the rename; a link that
        // fails (no /proc, no privilege for AT_EMPTY_PATH) falls back to a named write below.
        for (int attempt = 0; attempt < 100 && !temp.named(); ++attempt) {
            if (!temp.Link(WithRandomSuffix(pattern)) && errno != EEXIST) {
                break;
            }
        }
        if (!temp.named()) {
            temp.Close();
        }
    }
    if (!temp.named()) {
        if (!temp.OpenNamed(pattern, mode)) {
            return Error{"cannot create a file in " + folder + ": " + SystemMessage(errno), path};
        }
        if (Status written = WriteAll(temp.fd(), bytes, path); !written.ok()) {
            return written;
        }
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

Status WriteFileAtomically(const std::string& path, std::string_view bytes, NewFileAccess access) {
    return WriteFileAtomically(path, std::span(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()),
                               access);
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
