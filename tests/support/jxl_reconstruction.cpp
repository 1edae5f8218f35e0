#include "tests/support/jxl_reconstruction.h"

#include <jxl/decode.h>

#include <memory>

namespace pelimon::test {

namespace {

struct DecoderDelete {
    void operator()(JxlDecoder* decoder) const { JxlDecoderDestroy(decoder); }
};

}  // namespace

std::vector<uint8_t> ReconstructJpeg(const std::vector<uint8_t>& jxl) {
    const std::unique_ptr<JxlDecoder, DecoderDelete> decoder(JxlDecoderCreate(nullptr));
    JxlDecoderSubscribeEvents(decoder.get(), JXL_DEC_JPEG_RECONSTRUCTION | JXL_DEC_FULL_IMAGE);
    JxlDecoderSetInput(decoder.get(), jxl.data(), jxl.size());
    JxlDecoderCloseInput(decoder.get());
    std::vector<uint8_t> jpeg(jxl.size() * 4 + 4096);
    bool reconstructing = false;
    for (;;) {
        const JxlDecoderStatus status = JxlDecoderProcessInput(decoder.get());
        if (status == JXL_DEC_JPEG_RECONSTRUCTION) {
            reconstructing = JxlDecoderSetJPEGBuffer(decoder.get(), jpeg.data(), jpeg.size()) == JXL_DEC_SUCCESS;
        } else if (status == JXL_DEC_FULL_IMAGE && reconstructing) {
            jpeg.resize(jpeg.size() - JxlDecoderReleaseJPEGBuffer(decoder.get()));
            return jpeg;
        } else {
            return {};  // no reconstruction data (the decoder asks for pixels), or damage
        }
    }
}

}  // namespace pelimon::test
