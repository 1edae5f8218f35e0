#include "imagelib/jxl_support.h"

#include <cstdlib>
#include <new>

namespace pelimon::imagelib_detail {

namespace {

// Each block starts with its size, in a header that keeps malloc's alignment.
constexpr size_t kHeader = alignof(std::max_align_t);

bool IsDisplayTransfer(JxlTransferFunction transfer) {
    return transfer == JXL_TRANSFER_FUNCTION_SRGB || transfer == JXL_TRANSFER_FUNCTION_709 ||
           transfer == JXL_TRANSFER_FUNCTION_GAMMA || transfer == JXL_TRANSFER_FUNCTION_DCI;
}

bool IsSrgb(const JxlColorEncoding& encoding) {
    return (encoding.color_space == JXL_COLOR_SPACE_RGB || encoding.color_space == JXL_COLOR_SPACE_GRAY) &&
           encoding.white_point == JXL_WHITE_POINT_D65 &&
           (encoding.primaries == JXL_PRIMARIES_SRGB || encoding.color_space == JXL_COLOR_SPACE_GRAY) &&
           encoding.transfer_function == JXL_TRANSFER_FUNCTION_SRGB;
}

JxlColorEncoding Srgb(bool grey) {
    JxlColorEncoding srgb{};
    srgb.color_space = grey ? JXL_COLOR_SPACE_GRAY : JXL_COLOR_SPACE_RGB;
    srgb.white_point = JXL_WHITE_POINT_D65;
    srgb.primaries = JXL_PRIMARIES_SRGB;
    srgb.transfer_function = JXL_TRANSFER_FUNCTION_SRGB;
    srgb.rendering_intent = JXL_RENDERING_INTENT_RELATIVE;
    return srgb;
}

Bytes DataProfile(JxlDecoder* decoder) {
    size_t size = 0;
    if (JxlDecoderGetICCProfileSize(decoder, nullptr, JXL_COLOR_PROFILE_TARGET_DATA, &size) != JXL_DEC_SUCCESS ||
        size == 0) {
        return {};
    }
    Bytes icc(size);
    if (JxlDecoderGetColorAsICCProfile(decoder, nullptr, JXL_COLOR_PROFILE_TARGET_DATA, icc.data(), size) !=
        JXL_DEC_SUCCESS) {
        return {};
    }
    return icc;
}

}  // namespace

JxlReader::JxlReader(ByteView bytes, std::chrono::milliseconds time) {
    deadline_.at = std::chrono::steady_clock::now() + time;
    const JxlMemoryManager manager{&memory_, &JxlReader::Allocate, &JxlReader::Free};
    decoder_.reset(JxlDecoderCreate(&manager));
    if (decoder_ &&
        (JxlDecoderSetParallelRunner(decoder_.get(), &JxlReader::RunInTime, &deadline_) != JXL_DEC_SUCCESS ||
         JxlDecoderSetInput(decoder_.get(), bytes.data(), bytes.size()) != JXL_DEC_SUCCESS)) {
        decoder_.reset();
    }
    if (decoder_) {
        JxlDecoderCloseInput(decoder_.get());
    }
}

JxlReader::~JxlReader() = default;

void* JxlReader::Allocate(void* opaque, size_t size) {
    Memory& memory = *static_cast<Memory*>(opaque);
    if (size > kMaxJxlDecoderBytes - memory.used) {
        memory.refused = true;
        return nullptr;
    }
    // libjxl's allocator interface is C's: it hands every block back to Free below.
    void* block = std::malloc(kHeader + size);
    if (block == nullptr) {
        memory.refused = true;
        return nullptr;
    }
    *static_cast<size_t*>(block) = size;
    memory.used += size;
    return static_cast<char*>(block) + kHeader;
}

JxlParallelRetCode JxlReader::RunInTime(void* opaque, void* jxl_opaque, JxlParallelRunInit init,
                                        JxlParallelRunFunction task, uint32_t begin, uint32_t end) {
    Deadline& deadline = *static_cast<Deadline*>(opaque);
    if (const JxlParallelRetCode failed = init(jxl_opaque, 1); failed != 0) {
        return failed;
    }
    for (uint32_t i = begin; i < end; ++i) {
        if (std::chrono::steady_clock::now() > deadline.at) {
            deadline.passed = true;
            return JXL_PARALLEL_RET_RUNNER_ERROR;
        }
        task(jxl_opaque, i, 0);
    }
    return 0;
}

void JxlReader::Free(void* opaque, void* address) {
    if (address == nullptr) {
        return;
    }
    Memory& memory = *static_cast<Memory*>(opaque);
    void* block = static_cast<char*>(address) - kHeader;
    memory.used -= *static_cast<size_t*>(block);
    std::free(block);
}

JxlColourPlan PlanJxlColour(JxlDecoder* decoder, const JxlBasicInfo& info) {
    JxlColourPlan plan;
    plan.intensity_target = info.intensity_target;
    JxlColorEncoding original{};
    const bool original_encoded =
        JxlDecoderGetColorAsEncodedProfile(decoder, nullptr, JXL_COLOR_PROFILE_TARGET_ORIGINAL, &original) ==
        JXL_DEC_SUCCESS;
    if (!info.uses_original_profile && (!original_encoded || !IsDisplayTransfer(original.transfer_function))) {
        const JxlColorEncoding srgb = Srgb(info.num_color_channels == 1);
        JxlDecoderSetPreferredColorProfile(decoder, &srgb);
    }
    JxlColorEncoding data{};
    if (JxlDecoderGetColorAsEncodedProfile(decoder, nullptr, JXL_COLOR_PROFILE_TARGET_DATA, &data) != JXL_DEC_SUCCESS) {
        plan.icc = DataProfile(decoder);  // an ICC profile of the file's own
        return plan;
    }
    if (IsSrgb(data)) {
        return plan;
    }
    if (IsDisplayTransfer(data.transfer_function)) {
        plan.icc = DataProfile(decoder);
        return plan;
    }
    plan.float_to_srgb = true;
    plan.encoding = data;
    return plan;
}

}  // namespace pelimon::imagelib_detail
