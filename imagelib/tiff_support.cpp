#include "imagelib/tiff_support.h"

#include <algorithm>
#include <cstdarg>
#include <cstring>

#include "imagelib/codec_support.h"

namespace pelimon::imagelib_detail {

namespace {

// libtiff allocates no single buffer larger than this for a file, whatever its tags claim.
constexpr tmsize_t kMaxTiffAllocation = tmsize_t{512} << 20;

TiffHandle::Stream& StreamOf(thandle_t handle) {
    return *static_cast<TiffHandle::Stream*>(handle);
}

tmsize_t ReadProc(thandle_t handle, void* data, tmsize_t size) {
    TiffHandle::Stream& stream = StreamOf(handle);
    if (stream.file == nullptr || size < 0) {
        return -1;
    }
    return static_cast<tmsize_t>(std::fread(data, 1, static_cast<size_t>(size), stream.file));
}

tmsize_t WriteProc(thandle_t handle, void* data, tmsize_t size) {
    TiffHandle::Stream& stream = StreamOf(handle);
    if (stream.out == nullptr || size < 0) {
        return -1;
    }
    const auto bytes = static_cast<size_t>(size);
    Bytes& out = *stream.out;
    const auto at = static_cast<size_t>(stream.position);
    if (out.size() < at + bytes) {
        out.resize(at + bytes);
    }
    std::memcpy(out.data() + at, data, bytes);
    stream.position += bytes;
    return size;
}

toff_t SeekProc(thandle_t handle, toff_t offset, int whence) {
    TiffHandle::Stream& stream = StreamOf(handle);
    if (stream.file != nullptr) {
        if (offset > static_cast<toff_t>(INT64_MAX) || fseeko(stream.file, static_cast<off_t>(offset), whence) != 0) {
            return static_cast<toff_t>(-1);
        }
        return static_cast<toff_t>(ftello(stream.file));
    }
    const uint64_t base = whence == SEEK_CUR ? stream.position : whence == SEEK_END ? stream.out->size() : 0;
    const uint64_t target = base + offset;
    if (target > (uint64_t{4} << 30)) {  // nothing this program writes is that large
        return static_cast<toff_t>(-1);
    }
    stream.position = target;
    return target;
}

int CloseProc(thandle_t /*handle*/) {
    return 0;
}

toff_t SizeProc(thandle_t handle) {
    const TiffHandle::Stream& stream = StreamOf(handle);
    return stream.file != nullptr ? stream.size : stream.out->size();
}

int MapProc(thandle_t /*handle*/, void** /*base*/, toff_t* /*size*/) {
    return 0;
}

void UnmapProc(thandle_t /*handle*/, void* /*base*/, toff_t /*size*/) {}

}  // namespace

TiffHandle::~TiffHandle() {
    if (tiff_ != nullptr) {
        TIFFCleanup(tiff_);
    }
}

int TiffHandle::OnMessage(TIFF* /*tiff*/, void* user_data, const char* /*module*/, const char* format, va_list args) {
    if (user_data != nullptr) {
        std::string& first = static_cast<TiffHandle*>(user_data)->first_error_;
        if (first.empty()) {
            char text[256];
            std::vsnprintf(text, sizeof text, format, args);
            first = text;
        }
    }
    return 1;  // handled: nothing is printed
}

Status TiffHandle::Open(const char* mode) {
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (options == nullptr) {
        return CorruptError(imagelib_texts::kTiffReadSetupFailed);
    }
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, kMaxTiffAllocation);
    TIFFOpenOptionsSetErrorHandlerExtR(options, OnMessage, this);
    TIFFOpenOptionsSetWarningHandlerExtR(options, OnMessage, nullptr);
    tiff_ = TIFFClientOpenExt("pelimon", mode, &stream_, ReadProc, WriteProc, SeekProc, CloseProc, SizeProc, MapProc,
                              UnmapProc, options);
    TIFFOpenOptionsFree(options);
    if (tiff_ == nullptr) {
        return CorruptError(ErrorOr(imagelib_texts::kTiffReadSetupFailed.str()));
    }
    return {};
}

Status TiffHandle::OpenForReading(std::FILE* file) {
    stream_.file = file;
    if (fseeko(file, 0, SEEK_END) != 0) {
        return CorruptError(imagelib_texts::kCannotReread);
    }
    stream_.size = static_cast<uint64_t>(std::max<off_t>(ftello(file), 0));
    if (fseeko(file, 0, SEEK_SET) != 0) {
        return CorruptError(imagelib_texts::kCannotReread);
    }
    return Open("rm");
}

Status TiffHandle::OpenForWriting(Bytes& out, bool little_endian) {
    out.clear();
    stream_.out = &out;
    return Open(little_endian ? "wl" : "wb");
}

bool TiffHandle::Finish() {
    if (tiff_ == nullptr) {
        return false;
    }
    const bool written = TIFFWriteDirectory(tiff_) != 0 && first_error_.empty();
    TIFFCleanup(tiff_);
    tiff_ = nullptr;
    return written;
}

std::string TiffHandle::ErrorOr(std::string_view fallback) const {
    return first_error_.empty() ? std::string(fallback) : first_error_;
}

}  // namespace pelimon::imagelib_detail
