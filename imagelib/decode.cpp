// Dispatch from the sniffed format to the probe or decoder of that format, and the file front ends.
#include <cerrno>
#include <cstring>
#include <optional>

#include "common/atomic_file.h"
#include "imagelib/codec_support.h"
#include "imagelib/formats.h"
#include "imagelib/imagelib.h"
#include "imagelib/imagelib_texts.h"

namespace pelimon {

using namespace imagelib_detail;

namespace {

Error OpenError(const std::string& path, int error_number) {
    if (error_number == ENOENT) {
        return Error{imagelib_texts::kFileNotFound.str(), path};
    }
    if (error_number == EACCES || error_number == EPERM) {
        return Error{imagelib_texts::kNoReadPermission.str(), path};
    }
    return Error{imagelib_texts::NotReadable(std::strerror(error_number)), path};
}

Error WithPath(Error error, const std::string& path) {
    error.path = path;
    return error;
}

// Formats whose header may lie beyond the first prefix.
bool GrowsPrefix(ImageFormat format) {
    return format == ImageFormat::kJpeg || format == ImageFormat::kGif;
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
        case ImageFormat::kWebp:
            return ProbeWebp(bytes);
        case ImageFormat::kHeif:
        case ImageFormat::kAvif:
            return ProbeHeif(bytes);
        case ImageFormat::kUnknown:
            break;
    }
    return UnsupportedError();
}

// Reads a 64 KiB prefix, which holds the header of nearly every file. A JPEG whose frame header
// comes after large APPn segments (embedded previews, ICC profiles) gets its prefix doubled until
// the probe succeeds or the whole file has been read; so does a GIF with large extension blocks
// before its first image. A HEIF/AVIF is probed from the file itself.
Result<ImageHeader> ProbeImageFile(const std::string& path) {
    Bytes bytes;
    size_t want = size_t{64} * 1024;
    for (;;) {
        // Each round reads the prefix afresh; the rounds past the first are rare.
        if (const std::optional<FileReadFailure> failure =
                ReadRegularFile(path, want, LongerFiles::kReadPrefix, bytes)) {
            if (failure->kind == FileReadFailure::Kind::kNotRegularFile) {
                return Error{imagelib_texts::kNotAFile.str(), path};
            }
            return OpenError(path, failure->error_number);
        }
        const ImageFormat format = SniffFormat(bytes);
        if (format == ImageFormat::kHeif || format == ImageFormat::kAvif) {
            Result<ImageHeader> header = ProbeHeifFile(path, format);
            return header ? std::move(header) : Result<ImageHeader>(WithPath(header.error(), path));
        }
        Result<ImageHeader> header = ProbeImage(bytes);
        const bool whole_file = bytes.size() < want;
        if (header || whole_file || !GrowsPrefix(format)) {
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
        case ImageFormat::kWebp:
            status = DecodeWebp(bytes, options, out);
            break;
        case ImageFormat::kHeif:
        case ImageFormat::kAvif:
            status = DecodeHeif(bytes, options, out);
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

int64_t DecodedPixelCount(const ImageHeader& header, const DecodeOptions& options) {
    int64_t width = header.width;
    int64_t height = header.height;
    if (header.format == ImageFormat::kJpeg && (options.min_width > 0 || options.min_height > 0)) {
        const int scale = ChooseJpegScale(header.width, header.height, options.min_width, options.min_height);
        width = (width * scale + 7) / 8;  // rounded up, as libjpeg does
        height = (height * scale + 7) / 8;
    }
    return width * height;
}

bool CanDecodeRows(ByteView prefix) {
    switch (SniffFormat(prefix)) {
        case ImageFormat::kJpeg:
            return true;
        case ImageFormat::kPng:
            return !PngIsInterlaced(prefix);
        case ImageFormat::kBmp:
            return !BmpIsCompressed(prefix);
        case ImageFormat::kGif:
        case ImageFormat::kWebp:
        case ImageFormat::kHeif:
        case ImageFormat::kAvif:
        case ImageFormat::kUnknown:
            break;
    }
    return false;
}

Status DecodeRows(std::FILE* file, const DecodeOptions& options, RowSink& sink) {
    uint8_t prefix[64] = {};
    const off_t start = ftello(file);
    const size_t got = std::fread(prefix, 1, sizeof prefix, file);
    if (start < 0 || fseeko(file, start, SEEK_SET) != 0) {
        return CorruptError(imagelib_texts::kCannotReread);
    }
    switch (SniffFormat(ByteView(prefix, got))) {
        case ImageFormat::kJpeg:
            return DecodeJpegRows(file, options, sink);
        case ImageFormat::kPng:
            return DecodePngRows(file, sink);
        case ImageFormat::kBmp:
            return DecodeBmpRows(file, sink);
        case ImageFormat::kGif:
        case ImageFormat::kWebp:
        case ImageFormat::kHeif:
        case ImageFormat::kAvif:
        case ImageFormat::kUnknown:
            break;
    }
    return UnsupportedError();
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
