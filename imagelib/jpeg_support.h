// libjpeg error handling without exceptions: the error manager records the message and jumps back
// to a setjmp frame. Every setjmp frame in this folder lives in a small function that holds only
// trivially destructible locals, so the jump never skips a C++ destructor; the RAII guards that
// own the libjpeg objects live in the callers.
#pragma once

#include <csetjmp>
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

namespace pelimon::imagelib_detail {

struct JpegErrorManager {
    jpeg_error_mgr base;  // must stay first: libjpeg sees only this part
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    bool truncated;  // libjpeg warned that the file ended early (and nothing was damaged before)
    bool corrupt;    // the entropy-coded data was damaged before any early end
};

// Prepares the manager; assign the result to the libjpeg object's `err` before jpeg_create_*.
jpeg_error_mgr* InitJpegErrorManager(JpegErrorManager& errors);

// Ends the current libjpeg call with `message`, jumping to the manager's setjmp frame.
[[noreturn]] void FailJpeg(j_common_ptr info, const char* message);

}  // namespace pelimon::imagelib_detail
