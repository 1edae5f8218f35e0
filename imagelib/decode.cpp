// Dispatch from the sniffed format to the probe or decoder of that format, and the file front ends.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

#include "common/atomic_file.h"
#include "imagelib/codec_support.h"
#include "imagelib/formats.h"
#include "imagelib/imagelib.h"

namespace pelimon {

using namespace imagelib_detail;

namespace {

// A file descriptor closed when it goes out of scope.
class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    int get() const { return fd_; }

  private:
    int fd_;
};

Error OpenError(const std::string& path, int error_number) {
    if (error_number == ENOENT) {
        return Error{"ファイルが見つかりません。", path};
    }
    if (error_number == EACCES || error_number == EPERM) {
        return Error{"ファイルを読む権限がありません。", path};
    }
    return Error{"ファイルを読み込めません（" + std::string(std::strerror(error_number)) + "）。", path};
}

// Reads up to `limit` more bytes at file offset bytes.size(), appending them to `bytes`.
Status ReadMore(int fd, size_t limit, Bytes& bytes, const std::string& path) {
    const size_t start = bytes.size();
    bytes.resize(start + limit);
    size_t done = 0;
    while (done < limit) {
        const ssize_t n = ::pread(fd, bytes.data() + start + done, limit - done, static_cast<off_t>(start + done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            const int error_number = errno;
            bytes.resize(start + done);
            return OpenError(path, error_number);
        }
        if (n == 0) {
            break;
        }
        done += static_cast<size_t>(n);
    }
    bytes.resize(start + done);
    return {};
}

Error WithPath(Error error, const std::string& path) {
    error.path = path;
    return error;
}

}  // namespace

Result<ImageHeader> ProbeImage(ByteView bytes) {
    switch (SniffFormat(bytes)) {
        case ImageFormat::kBmp:
            return ProbeBmp(bytes);
        case ImageFormat::kJpeg:
            return ProbeJpeg(bytes);
        case ImageFormat::kPng:
            return ProbePng(bytes);
        case ImageFormat::kGif:
            return ProbeGif(bytes);
        case ImageFormat::kUnknown:
            break;
    }
    return UnsupportedError();
}

// Reads a 64 KiB prefix, which holds the header of nearly every file. A JPEG whose frame header
// comes after large APPn segments (embedded previews, ICC profiles) gets its prefix doubled until
// the probe succeeds or the whole file has been read; so does a GIF with large extension blocks
// before its first image.
Result<ImageHeader> ProbeImageFile(const std::string& path) {
    // O_NONBLOCK: opening a pipe (a source replaced by one after the folder was listed) would
    // otherwise wait for a writer for ever. Reads of regular files do not block anyway.
    const FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0) {
        return OpenError(path, errno);
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) {
        return OpenError(path, errno);
    }
    if (!S_ISREG(info.st_mode)) {
        return Error{"ファイルではありません。", path};
    }
    Bytes bytes;
    size_t want = size_t{64} * 1024;
    for (;;) {
        if (Status read = ReadMore(fd.get(), want - bytes.size(), bytes, path); !read) {
            return read.error();
        }
        Result<ImageHeader> header = ProbeImage(bytes);
        const bool whole_file = bytes.size() < want;
        const ImageFormat format = SniffFormat(bytes);
        if (header || whole_file || (format != ImageFormat::kJpeg && format != ImageFormat::kGif)) {
            return header ? std::move(header) : Result<ImageHeader>(WithPath(header.error(), path));
        }
        want *= 2;
    }
}

Status DecodeImage(ByteView bytes, const DecodeOptions& options, Image& out) {
    Status status;
    switch (SniffFormat(bytes)) {
        case ImageFormat::kBmp:
            status = DecodeBmp(bytes, out);
            break;
        case ImageFormat::kJpeg:
            status = DecodeJpeg(bytes, options, out);
            break;
        case ImageFormat::kPng:
            status = DecodePng(bytes, out);
            break;
        case ImageFormat::kGif:
            status = DecodeGif(bytes, out);
            break;
        case ImageFormat::kUnknown:
            status = UnsupportedError();
            break;
    }
    if (!status) {
        out.Reset(0, 0);
    }
    return status;
}

Result<Image> DecodeImage(ByteView bytes, const DecodeOptions& options) {
    Image image;
    if (Status status = DecodeImage(bytes, options, image); !status) {
        return status.error();
    }
    return image;
}

Result<Image> LoadImageFile(const std::string& path, const DecodeOptions& options) {
    Result<std::string> contents = ReadWholeFile(path);
    if (!contents) {
        return contents.error();
    }
    const std::string& text = contents.value();
    Result<Image> image = DecodeImage(ByteView(reinterpret_cast<const uint8_t*>(text.data()), text.size()), options);
    if (!image) {
        return WithPath(image.error(), path);
    }
    return image;
}

}  // namespace pelimon
