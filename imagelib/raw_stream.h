// What libraw reads one raw file through: the file in memory, or an open file descriptor read with
// pread through a window of its own, so that only the parts libraw asks for (the directories, the
// preview, the raw data) are ever read. Either way it notes when libraw reads past the end: libraw
// then goes on with zeros or whatever its decoder makes of nothing, and the picture would be
// garbage.
#pragma once

#include <cstdint>
#include <memory>

#include <libraw/libraw.h>

#include "imagelib/imagelib.h"

namespace pelimon::imagelib_detail {

class RawStream final : public LibRaw_abstract_datastream {
  public:
    // The file in memory, which must outlive the stream.
    explicit RawStream(ByteView bytes);
    // The file open as `fd` (not closed here), which must outlive the stream; its position is not used.
    explicit RawStream(int fd);
    ~RawStream() override;
    RawStream(const RawStream&) = delete;
    RawStream& operator=(const RawStream&) = delete;

    int valid() override;
    int read(void* ptr, size_t size, size_t count) override;
    int seek(INT64 offset, int whence) override;
    INT64 tell() override;
    INT64 size() override;
    int get_char() override;
    char* gets(char* text, int size) override;
    int scanf_one(const char* format, void* value) override;
    int eof() override;
    void* make_jas_stream() override { return nullptr; }

    // Starts noting reads past the end afresh.
    void Watch() { ran_out_ = false; }
    bool ran_out() const { return ran_out_; }

  private:
    // Makes the window hold the byte at `at` (< size_); false when it cannot be read.
    bool Cover(int64_t at);
    // Copies up to `size` bytes from the current position; how many it copied.
    size_t Copy(uint8_t* out, size_t size);

    int fd_ = -1;  // -1 for a file in memory
    int64_t size_ = 0;
    int64_t position_ = 0;
    // The bytes of [window_start_, window_start_ + window_size_): the whole file in memory, or
    // what was last read of the file.
    const uint8_t* window_ = nullptr;
    int64_t window_start_ = 0;
    size_t window_size_ = 0;
    std::unique_ptr<uint8_t[]> buffer_;
    bool ran_out_ = false;
};

}  // namespace pelimon::imagelib_detail
