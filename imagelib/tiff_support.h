// libtiff handles over a FILE or a growing buffer in memory, with libtiff's messages kept per
// handle instead of printed: the first error becomes the failure's detail. Shared by the TIFF
// decoder and encoder.
#pragma once

#include <tiffio.h>

#include <cstdio>
#include <memory>
#include <string>

#include "common/result.h"
#include "imagelib/imagelib.h"

namespace pelimon::imagelib_detail {

// One open TIFF. Never moved once open: libtiff keeps pointers to it.
class TiffHandle {
  public:
    TiffHandle() = default;
    TiffHandle(const TiffHandle&) = delete;
    TiffHandle& operator=(const TiffHandle&) = delete;
    ~TiffHandle();

    // Opens `file` (seekable, positioned anywhere) for reading without memory mapping, so that
    // libtiff reads large strips in parts. Fails with libtiff's reason.
    Status OpenForReading(std::FILE* file);
    // Opens a new TIFF written into `out`, in the given byte order; Finish() completes it.
    Status OpenForWriting(Bytes& out, bool little_endian);
    // Writes the directory and closes the handle; false when libtiff reports a failure.
    bool Finish();

    TIFF* get() const { return tiff_; }
    // libtiff's first error message for this handle, or `fallback` when it gave none.
    std::string ErrorOr(std::string_view fallback) const;

    // What the client procedures work on.
    struct Stream {
        std::FILE* file = nullptr;  // reading
        Bytes* out = nullptr;       // writing
        uint64_t position = 0;      // writing
        uint64_t size = 0;          // reading: the file's size
    };

  private:
    Status Open(const char* mode);
    static int OnMessage(TIFF* tiff, void* user_data, const char* module, const char* format, va_list args);

    TIFF* tiff_ = nullptr;
    Stream stream_;
    std::string first_error_;
};

}  // namespace pelimon::imagelib_detail
