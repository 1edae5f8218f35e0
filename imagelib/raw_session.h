// One LibRaw instance set up for a single file inside the program's limits. libraw has a long
// history of faults on malformed files, so before anything is unpacked the sizes it reports are
// checked against the pixel and memory limits and the raw data against the file it must lie in,
// its allocations are capped, and a watchdog cancels a decode that runs past its time.
#pragma once

#include <memory>
#include <string>

#include <libraw/libraw.h>

#include "common/result.h"
#include "imagelib/imagelib.h"
#include "imagelib/raw_stream.h"

namespace pelimon::imagelib_detail {

// What libraw may allocate for one file, and how long one decode may take.
inline constexpr unsigned kMaxRawMemoryMegabytes = 1536;
inline constexpr int kMaxRawDecodeSeconds = 120;

class RawSession {
  public:
    RawSession();
    ~RawSession();
    RawSession(const RawSession&) = delete;
    RawSession& operator=(const RawSession&) = delete;

    // Identifies the file (in memory or open as a descriptor, either of which must outlive the
    // session, or on disk by path) and checks what it claims against the limits. Fails with a
    // message for files libraw does not read, sizes beyond the limits, and raw data that cannot fit
    // in what is left of the file. A file is read only where libraw looks.
    Status Open(ByteView bytes);
    Status OpenDescriptor(int fd);
    Status OpenFile(const std::string& path);

    // The size of the developed picture as it is shown: after the file's own turn, a Fuji
    // sensor's 45-degree turn and non-square pixels. For a session that decodes nothing after it.
    ImageHeader ShownHeader();

    // The Exif Orientation (1..8) of the file's own turn, which libraw calls flip.
    int Orientation() const;

    // Unpacks the raw data, failing when it is missing, cut short, damaged or all of one value.
    Status Unpack();

    // Unpacks the embedded preview (libraw's unpack_thumb) under the watchdog; libraw's code.
    int UnpackPreview();

    LibRaw& raw() { return *raw_; }

    // Maps a libraw return code to the program's message; success gives ok.
    static Status StatusOf(int code);

  private:
    Status OpenStream(std::unique_ptr<RawStream> stream);
    Status Identified(int code);
    Status CheckRawDataFits();

    int owned_fd_ = -1;                  // the descriptor OpenFile opened, closed last
    std::unique_ptr<RawStream> stream_;  // declared before raw_: libraw reads it until it is destroyed
    std::unique_ptr<LibRaw> raw_;
    int data_errors_ = 0;
};

// Opening, unpacking and developing each run under a RawWatchdog.
//
// Runs while a libraw call may take long and cancels it (setCancelFlag) when kMaxRawDecodeSeconds
// pass; the cancelled call returns LIBRAW_CANCELLED_BY_CALLBACK or an exception code, which
// RawSession::StatusOf names.
class RawWatchdog {
  public:
    explicit RawWatchdog(LibRaw& raw);
    ~RawWatchdog();
    RawWatchdog(const RawWatchdog&) = delete;
    RawWatchdog& operator=(const RawWatchdog&) = delete;
    bool fired() const;

  private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace pelimon::imagelib_detail
