#include "imagelib/jpeg_compressor.h"

#include <new>

namespace pelimon::imagelib_detail {

namespace {

constexpr size_t kInitialOutputBytes = size_t{64} * 1024;

VectorDestination& DestinationOf(j_compress_ptr info) {
    return *reinterpret_cast<VectorDestination*>(info->dest);
}

void InitDestination(j_compress_ptr info) {
    VectorDestination& dest = DestinationOf(info);
    bool failed = false;
    try {
        dest.out->resize(kInitialOutputBytes);
    } catch (const std::bad_alloc&) {
        failed = true;
    }
    if (failed) {
        FailJpeg(reinterpret_cast<j_common_ptr>(info), "out of memory");
    }
    dest.base.next_output_byte = dest.out->data();
    dest.base.free_in_buffer = dest.out->size();
}

boolean EmptyOutputBuffer(j_compress_ptr info) {
    VectorDestination& dest = DestinationOf(info);
    const size_t used = dest.out->size();
    bool failed = false;
    try {
        dest.out->resize(used * 2);
    } catch (const std::bad_alloc&) {
        failed = true;
    }
    if (failed) {
        FailJpeg(reinterpret_cast<j_common_ptr>(info), "out of memory");
    }
    dest.base.next_output_byte = dest.out->data() + used;
    dest.base.free_in_buffer = dest.out->size() - used;
    return TRUE;
}

void TermDestination(j_compress_ptr info) {
    VectorDestination& dest = DestinationOf(info);
    dest.out->resize(dest.out->size() - dest.base.free_in_buffer);
}

}  // namespace

void CreateCompressor(JpegEncodeState& s, Bytes& out) {
    jpeg_create_compress(&s.info);
    s.created = true;
    s.destination.out = &out;
    s.destination.base.init_destination = InitDestination;
    s.destination.base.empty_output_buffer = EmptyOutputBuffer;
    s.destination.base.term_destination = TermDestination;
    s.info.dest = &s.destination.base;
}

}  // namespace pelimon::imagelib_detail
