// The metadata of a JPEG XL file: the Exif and XMP boxes (also Brotli-compressed 'brob' ones) and
// the colour profile of the pixels as the decoder gives them (jxl_support.h).
#include <string_view>

#include "imagelib/codec_support.h"
#include "imagelib/formats.h"
#include "imagelib/jxl_support.h"

namespace pelimon::imagelib_detail {

namespace {

// A box larger than this (once decompressed) is left out.
constexpr size_t kMaxJxlMetadataBox = size_t{64} << 20;

// Collects the content of the current box, growing its buffer as libjxl asks.
class BoxReader {
  public:
    explicit BoxReader(JxlDecoder* decoder) : decoder_(decoder) {}
    bool Start(Bytes& target) {
        target_ = &target;
        target.assign(size_t{64} << 10, 0);
        filled_ = 0;
        return JxlDecoderSetBoxBuffer(decoder_, target.data(), target.size()) == JXL_DEC_SUCCESS;
    }
    // After JXL_DEC_BOX_NEED_MORE_OUTPUT: false when the box is too large (it is then dropped).
    bool Grow() {
        filled_ = target_->size() - JxlDecoderReleaseBoxBuffer(decoder_);  // the buffer ran to the end
        if (target_->size() * 2 > kMaxJxlMetadataBox) {
            Drop();
            return false;
        }
        target_->resize(target_->size() * 2);
        return JxlDecoderSetBoxBuffer(decoder_, target_->data() + filled_, target_->size() - filled_) ==
               JXL_DEC_SUCCESS;
    }
    void Finish() {
        if (target_ != nullptr) {
            target_->resize(target_->size() - JxlDecoderReleaseBoxBuffer(decoder_));
            target_ = nullptr;
        }
    }
    void Drop() {
        if (target_ != nullptr) {
            JxlDecoderReleaseBoxBuffer(decoder_);
            target_->clear();
            target_ = nullptr;
        }
    }

  private:
    JxlDecoder* decoder_;
    Bytes* target_ = nullptr;
    size_t filled_ = 0;
};

}  // namespace

void ReadJxlMetadata(ByteView bytes, EmbeddedMetadata& out) {
    JxlReader reader(bytes);
    JxlDecoder* decoder = reader.get();
    if (!reader ||
        JxlDecoderSubscribeEvents(decoder, JXL_DEC_BASIC_INFO | JXL_DEC_COLOR_ENCODING | JXL_DEC_BOX) !=
            JXL_DEC_SUCCESS ||
        JxlDecoderSetDecompressBoxes(decoder, JXL_TRUE) != JXL_DEC_SUCCESS) {
        return;
    }
    out.decoder_orients = true;
    JxlBasicInfo info{};
    Bytes exif;
    Bytes xmp;
    BoxReader box(decoder);
    for (;;) {
        const JxlDecoderStatus status = JxlDecoderProcessInput(decoder);
        if (status == JXL_DEC_BASIC_INFO) {
            if (JxlDecoderGetBasicInfo(decoder, &info) != JXL_DEC_SUCCESS) {
                break;
            }
        } else if (status == JXL_DEC_COLOR_ENCODING) {
            out.icc_profile = PlanJxlColour(decoder, info).icc;
        } else if (status == JXL_DEC_BOX) {
            box.Finish();
            JxlBoxType type{};
            if (JxlDecoderGetBoxType(decoder, type, JXL_TRUE) != JXL_DEC_SUCCESS) {
                break;
            }
            const std::string_view name(type, sizeof type);
            if (name == "Exif" && exif.empty() && !box.Start(exif)) {
                break;
            }
            if (name == "xml " && xmp.empty() && !box.Start(xmp)) {
                break;
            }
        } else if (status == JXL_DEC_BOX_NEED_MORE_OUTPUT) {
            if (!box.Grow()) {
                break;
            }
        } else {
            if (status == JXL_DEC_SUCCESS) {
                box.Finish();  // the end of the file
            } else {
                box.Drop();  // damage: a box cut short is left out
            }
            break;
        }
    }
    // The Exif box starts with the big-endian offset of the TIFF header from the end of those four
    // bytes.
    if (exif.size() >= 4) {
        const size_t offset = size_t{4} + ReadBe32(exif, 0);
        if (offset < exif.size() && TiffHeaderOffset(ByteView(exif).subspan(offset)) == size_t{0}) {
            out.exif.assign(exif.begin() + static_cast<std::ptrdiff_t>(offset), exif.end());
        }
    }
    out.xmp = std::move(xmp);
}

}  // namespace pelimon::imagelib_detail
