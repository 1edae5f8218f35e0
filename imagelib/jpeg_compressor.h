// A libjpeg compressor that writes into a growing byte vector, owned by RAII, shared by the
// encoder that takes scanlines and the one that takes quantised coefficients.
#pragma once

#include "imagelib/imagelib.h"
#include "imagelib/jpeg_support.h"

namespace pelimon::imagelib_detail {

// A libjpeg destination that grows a Bytes vector. Plain data plus a pointer, for setjmp frames.
struct VectorDestination {
    jpeg_destination_mgr base;  // must stay first
    Bytes* out;
};

struct JpegEncodeState {
    jpeg_compress_struct info;
    JpegErrorManager errors;
    VectorDestination destination;
    bool created;
};

// Inside a setjmp frame: installs the error manager, creates the compressor and points it at
// `out`, which the compression fills and trims to the bytes written.
void CreateCompressor(JpegEncodeState& state, Bytes& out);

// Owns the state; destroys the compressor if CreateCompressor made one.
class JpegCompressor {
  public:
    JpegCompressor() : state_{} {}
    JpegCompressor(const JpegCompressor&) = delete;
    JpegCompressor& operator=(const JpegCompressor&) = delete;
    ~JpegCompressor() {
        if (state_.created) {
            jpeg_destroy_compress(&state_.info);
        }
    }
    JpegEncodeState& state() { return state_; }

  private:
    JpegEncodeState state_;
};

}  // namespace pelimon::imagelib_detail
