// An AV1 sequence header read as far as its frame size: its fields in the order the AV1 bitstream
// stores them.
#include "imagelib/av1_config.h"

#include <cstdint>

namespace pelimon::imagelib_detail {

namespace {

// Most significant bit first; reading past the end sets `overrun` and gives zeros.
class BitReader {
  public:
    explicit BitReader(ByteView bytes) : bytes_(bytes) {}
    uint32_t Bits(unsigned count) {
        uint32_t value = 0;
        for (unsigned i = 0; i < count; ++i) {
            value = value << 1 | Bit();
        }
        return value;
    }
    // uvlc(): leading zeros, a one, then as many bits.
    void SkipUvlc() {
        unsigned zeros = 0;
        while (!overrun_ && Bit() == 0) {
            ++zeros;
        }
        if (zeros < 32) {
            Bits(zeros);
        }
    }
    bool overrun() const { return overrun_; }

  private:
    uint32_t Bit() {
        if (position_ >= 8 * bytes_.size()) {
            overrun_ = true;
            return 0;
        }
        const uint32_t byte = bytes_[position_ / 8];
        const uint32_t bit = byte >> (7 - position_ % 8) & 1u;
        ++position_;
        return bit;
    }

    ByteView bytes_;
    size_t position_ = 0;
    bool overrun_ = false;
};

std::optional<HeifSize> SequenceHeaderFrameSize(ByteView payload) {
    BitReader bits(payload);
    bits.Bits(3);  // seq_profile
    bits.Bits(1);  // still_picture
    if (bits.Bits(1) != 0) {
        bits.Bits(5);  // reduced_still_picture_header: seq_level_idx[0] only
    } else {
        bool decoder_model_info = false;
        unsigned buffer_delay_bits = 0;
        if (bits.Bits(1) != 0) {  // timing_info_present_flag
            bits.Bits(32);        // num_units_in_display_tick
            bits.Bits(32);        // time_scale
            if (bits.Bits(1) != 0) {
                bits.SkipUvlc();  // num_ticks_per_picture_minus_1
            }
            decoder_model_info = bits.Bits(1) != 0;
            if (decoder_model_info) {
                buffer_delay_bits = bits.Bits(5) + 1;
                bits.Bits(32);  // num_units_in_decoding_tick
                bits.Bits(5);   // buffer_removal_time_length_minus_1
                bits.Bits(5);   // frame_presentation_time_length_minus_1
            }
        }
        const bool initial_display_delay = bits.Bits(1) != 0;
        const uint32_t operating_points = bits.Bits(5) + 1;
        for (uint32_t i = 0; i < operating_points && !bits.overrun(); ++i) {
            bits.Bits(12);  // operating_point_idc
            if (bits.Bits(5) > 7) {
                bits.Bits(1);  // seq_tier
            }
            if (decoder_model_info && bits.Bits(1) != 0) {
                bits.Bits(buffer_delay_bits);  // decoder_buffer_delay
                bits.Bits(buffer_delay_bits);  // encoder_buffer_delay
                bits.Bits(1);                  // low_delay_mode_flag
            }
            if (initial_display_delay && bits.Bits(1) != 0) {
                bits.Bits(4);  // initial_display_delay_minus_1
            }
        }
    }
    const unsigned width_bits = bits.Bits(4) + 1;
    const unsigned height_bits = bits.Bits(4) + 1;
    const uint32_t width = bits.Bits(width_bits) + 1;
    const uint32_t height = bits.Bits(height_bits) + 1;
    if (bits.overrun()) {
        return std::nullopt;
    }
    return HeifSize{static_cast<int>(width), static_cast<int>(height)};
}

}  // namespace

std::optional<HeifSize> Av1ConfigFrameSize(ByteView av1c_body) {
    // marker and version, profile and level, tier and colour bits, initial presentation delay;
    // then whole OBUs.
    size_t at = 4;
    while (at < av1c_body.size()) {
        const uint8_t header = av1c_body[at++];
        const unsigned type = header >> 3 & 15;
        if ((header & 4) != 0) {
            ++at;  // obu_extension_header
        }
        uint64_t size = av1c_body.size() > at ? av1c_body.size() - at : 0;
        if ((header & 2) != 0) {  // obu_has_size_field: leb128
            size = 0;
            for (unsigned i = 0; i < 8; ++i, ++at) {
                if (at >= av1c_body.size()) {
                    return std::nullopt;
                }
                size |= uint64_t{av1c_body[at] & 0x7Fu} << (7 * i);
                if ((av1c_body[at] & 0x80) == 0) {
                    ++at;
                    break;
                }
            }
        }
        if (at > av1c_body.size() || size > av1c_body.size() - at) {
            return std::nullopt;
        }
        if (type == 1) {  // OBU_SEQUENCE_HEADER
            return SequenceHeaderFrameSize(av1c_body.subspan(at, static_cast<size_t>(size)));
        }
        at += static_cast<size_t>(size);
    }
    return std::nullopt;
}

}  // namespace pelimon::imagelib_detail
