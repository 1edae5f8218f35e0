// The probe and the decoders of the sniffed format, looked up in the format table, and the file front ends.
#include <cerrno>
#include <cstring>
#include <memory>
#include <optional>

#include "common/atomic_file.h"
#include "imagelib/codec_support.h"
#include "imagelib/format_table.h"
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

}  // namespace

Result<ImageHeader> ProbeImage(ByteView bytes) {
    const FormatRow* format = FormatOfBytes(bytes);
    if (format == nullptr) {
        return UnsupportedError();
    }
    return format->probe(bytes);
}

// Reads a 64 KiB prefix, which holds the header of nearly every file. A JPEG whose frame header
// comes after large APPn segments (embedded previews, ICC profiles) gets its prefix doubled until
// the probe succeeds or the whole file has been read; so does a GIF with large extension blocks
// before its first image (FormatRow::header_may_lie_deep). A HEIF/AVIF is probed from the file
// itself (FormatRow::probe_file).
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
        const FormatRow* format = FormatOfBytes(bytes);
        if (format != nullptr && format->probe_file != nullptr) {
            Result<ImageHeader> header = format->probe_file(path, format->format);
            return header ? std::move(header) : Result<ImageHeader>(WithPath(header.error(), path));
        }
        Result<ImageHeader> header = ProbeImage(bytes);
        const bool whole_file = bytes.size() < want;
        if (header || whole_file || format == nullptr || !format->header_may_lie_deep) {
            return header ? std::move(header) : Result<ImageHeader>(WithPath(header.error(), path));
        }
        want *= 2;
    }
}

Status DecodeImage(ByteView bytes, const DecodeOptions& options, Image& out) {
    const FormatRow* format = FormatOfBytes(bytes);
    const Status status = format != nullptr ? format->decode(bytes, options, out) : Status(UnsupportedError());
    if (!status) {
        out.Reset(0, 0);
    }
    return status;
}

int64_t DecodedPixelCount(const ImageHeader& header, const DecodeOptions& options) {
    int64_t width = header.width;
    int64_t height = header.height;
    const bool scales =
        header.format != ImageFormat::kUnknown && FormatRowOf(header.format).shrink == ShrinkOnLoad::kDctScale;
    if (scales && (options.min_width > 0 || options.min_height > 0)) {
        const int scale = ChooseJpegScale(header.width, header.height, options.min_width, options.min_height);
        width = (width * scale + 7) / 8;  // rounded up, as libjpeg does
        height = (height * scale + 7) / 8;
    }
    return width * height;
}

bool CanDecodeRows(ByteView prefix) {
    const FormatRow* format = FormatOfBytes(prefix);
    return format != nullptr && format->streams != nullptr && format->streams(prefix);
}

Status DecodeRows(std::FILE* file, const DecodeOptions& options, RowSink& sink) {
    // Camera raw files that are plain TIFF structures show what they are only in their first
    // directory, which the first 64 KB hold.
    constexpr size_t kSniffBytes = size_t{64} << 10;
    const std::unique_ptr<uint8_t[]> prefix(new uint8_t[kSniffBytes]);
    const off_t start = ftello(file);
    const size_t got = std::fread(prefix.get(), 1, kSniffBytes, file);
    if (start < 0 || fseeko(file, start, SEEK_SET) != 0) {
        return CorruptError(imagelib_texts::kCannotReread);
    }
    const FormatRow* format = FormatOfBytes(ByteView(prefix.get(), got));
    if (format == nullptr || format->decode_rows == nullptr) {
        return UnsupportedError();
    }
    return format->decode_rows(file, options, sink);
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
