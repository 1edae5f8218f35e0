// What the JPEG XL decoder, probe and metadata reader share: a decoder whose allocations are
// capped, the signature test, and how the decoded pixels' colours are chosen.
#pragma once

#include <jxl/decode.h>

#include <jxl/parallel_runner.h>

#include <chrono>
#include <cstddef>
#include <memory>

#include "common/result.h"
#include "imagelib/imagelib.h"

namespace pelimon::imagelib_detail {

// The most memory one JPEG XL decode may take (libjxl's own buffers); a file that needs more is
// refused as too large. 256 megapixels of 8-bit RGB fit, with libjxl's working buffers.
inline constexpr size_t kMaxJxlDecoderBytes = size_t{3} << 30;

// The longest one JPEG XL decode may take; a file that takes longer (a damaged or hostile one: a
// photo of the largest size decodes in seconds) is given up.
inline constexpr std::chrono::seconds kMaxJxlDecodeTime{120};

// A libjxl decoder with its input set to `bytes` (closed: the whole file is there), whose
// allocations are counted and refused beyond kMaxJxlDecoderBytes, and whose work stops once
// `time` has passed.
class JxlReader {
  public:
    explicit JxlReader(ByteView bytes, std::chrono::milliseconds time = kMaxJxlDecodeTime);
    JxlReader(const JxlReader&) = delete;
    JxlReader& operator=(const JxlReader&) = delete;
    ~JxlReader();
    JxlDecoder* get() const { return decoder_.get(); }
    explicit operator bool() const { return decoder_ != nullptr; }
    // Whether an allocation was refused for the cap: a failure is then "too large", not "corrupt".
    bool ran_out_of_memory() const { return memory_.refused; }
    // Whether the decode was given up for its time.
    bool ran_out_of_time() const { return deadline_.passed; }

  private:
    struct Memory {
        size_t used = 0;
        bool refused = false;
    };
    struct DecoderDelete {
        void operator()(JxlDecoder* decoder) const { JxlDecoderDestroy(decoder); }
    };
    struct Deadline {
        std::chrono::steady_clock::time_point at;
        bool passed = false;
    };
    static void* Allocate(void* opaque, size_t size);
    static void Free(void* opaque, void* address);
    // Runs libjxl's tasks one after the other on this thread, checking the deadline before each.
    static JxlParallelRetCode RunInTime(void* opaque, void* jxl_opaque, JxlParallelRunInit init,
                                        JxlParallelRunFunction task, uint32_t begin, uint32_t end);

    Memory memory_;
    Deadline deadline_;
    std::unique_ptr<JxlDecoder, DecoderDelete> decoder_;
};

// How the pixels leave the decoder, chosen at the JXL_DEC_COLOR_ENCODING event.
struct JxlColourPlan {
    // The pixels come as 8-bit samples in the colours of `icc` (empty for sRGB), which the batch
    // converts to sRGB or carries like any source's profile.
    Bytes icc;
    // Linear or HDR pixels (linear light, PQ, HLG) come as floats in `encoding`, and the decoder
    // turns them into 8-bit sRGB itself (JxlFloatConverter), tone-mapping HDR; `icc` is then empty.
    bool float_to_srgb = false;
    JxlColorEncoding encoding{};
    float intensity_target = 255;  // the brightest the image gets, in cd/m²
};

// Decides the plan once the decoder has given JXL_DEC_COLOR_ENCODING. An XYB (lossy) image whose
// original colours are not a display encoding libjxl renders exactly is asked for sRGB, which
// libjxl renders itself; other images come in their own colours.
JxlColourPlan PlanJxlColour(JxlDecoder* decoder, const JxlBasicInfo& info);

}  // namespace pelimon::imagelib_detail
