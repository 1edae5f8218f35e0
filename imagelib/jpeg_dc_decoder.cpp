// The DC-only decoder of progressive JPEG files: the 1/8-scale image from the DC scans alone.
//
// libjpeg keeps every coefficient of a progressive image until its last scan (two bytes for each
// of the 64 coefficients of every block); this decoder keeps one per block. It reads the file once:
// tables and frame header as they come, the DC scans (first and refinement, interleaved or not,
// with restart intervals) decoded with its own bounds-checked Huffman decoder, the AC scans
// skipped. At the end, each block's DC value gives one pixel of every block of the component with
// the largest sampling factors (a subsampled component's pixel covers several), converted to RGB
// with libjpeg's tables, one row at a time.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

#include "imagelib/codec_support.h"
#include "imagelib/formats.h"
#include "imagelib/imagelib_texts.h"

namespace pelimon::imagelib_detail {

namespace {

constexpr int kMaxComponents = 3;
constexpr int64_t kMaxJpegSide = 65500;

Error Corrupt() {
    return CorruptError(imagelib_texts::kJpegBadData);
}

Error Truncated() {
    return CorruptError(imagelib_texts::kFileTruncated);
}

// Buffered bytes of the file, and the bits of entropy-coded data on top of them.
class JpegReader {
  public:
    explicit JpegReader(std::FILE* file) : file_(file) {}

    // The next byte, or -1 at the end of the file.
    int Byte() {
        if (at_ == end_) {
            end_ = std::fread(buffer_.data(), 1, buffer_.size(), file_);
            at_ = 0;
            if (end_ == 0) {
                return -1;
            }
        }
        return buffer_[at_++];
    }
    // A big-endian 16-bit value, or -1 at the end of the file.
    int Word() {
        const int high = Byte();
        const int low = Byte();
        return high < 0 || low < 0 ? -1 : high << 8 | low;
    }

    // Entropy-coded data. A marker ends the data: its code is kept in marker() and zero bits are
    // given from then on, as libjpeg does.
    void StartBits() {
        bits_ = 0;
        bit_count_ = 0;
    }
    int Bit() {
        if (bit_count_ == 0) {
            bits_ = NextDataByte();
            bit_count_ = 8;
        }
        --bit_count_;
        return static_cast<int>((bits_ >> bit_count_) & 1u);
    }
    uint32_t Bits(int count) {
        uint32_t value = 0;
        for (int i = 0; i < count; ++i) {
            value = value << 1 | static_cast<uint32_t>(Bit());
        }
        return value;
    }
    int marker() const { return marker_; }
    void ClearMarker() { marker_ = 0; }
    bool ended() const { return ended_; }

    // Skips entropy-coded data up to the next marker other than a restart marker, which is kept.
    void SkipData() {
        while (marker_ == 0 && !ended_) {
            NextDataByte();
        }
        while (marker_ >= 0xD0 && marker_ <= 0xD7) {
            marker_ = 0;
            while (marker_ == 0 && !ended_) {
                NextDataByte();
            }
        }
    }

  private:
    uint32_t NextDataByte() {
        if (marker_ != 0 || ended_) {
            return 0;
        }
        const int byte = Byte();
        if (byte < 0) {
            ended_ = true;
            return 0;
        }
        if (byte != 0xFF) {
            return static_cast<uint32_t>(byte);
        }
        int next = Byte();
        while (next == 0xFF) {
            next = Byte();  // fill bytes
        }
        if (next == 0) {
            return 0xFF;  // a stuffed data byte
        }
        if (next < 0) {
            ended_ = true;
            return 0;
        }
        marker_ = next;
        return 0;
    }

    std::FILE* file_;
    std::array<uint8_t, 65536> buffer_{};
    size_t at_ = 0;
    size_t end_ = 0;
    uint32_t bits_ = 0;
    int bit_count_ = 0;
    int marker_ = 0;
    bool ended_ = false;
};

// A DC Huffman table in the form of the standard's decoding procedure (F.2.2.3).
struct HuffmanTable {
    bool defined = false;
    std::array<int32_t, 18> max_code{};  // largest code of each length, -1 when there is none
    std::array<int32_t, 17> first_index{};
    std::array<int32_t, 17> min_code{};
    std::array<uint8_t, 256> values{};

    // A category (the number of extra bits), or -1 for a code the table does not hold.
    int Decode(JpegReader& reader) const {
        int32_t code = reader.Bit();
        for (int length = 1; length <= 16; ++length) {
            if (code <= max_code[static_cast<size_t>(length)]) {
                const int32_t index =
                    first_index[static_cast<size_t>(length)] + code - min_code[static_cast<size_t>(length)];
                return index >= 0 && index < 256 ? values[static_cast<size_t>(index)] : -1;
            }
            code = code << 1 | reader.Bit();
        }
        return -1;
    }
};

struct Component {
    int id = 0;
    int h = 1;
    int v = 1;
    int quant = 0;
    int blocks_wide = 0;  // blocks that hold image data
    int blocks_high = 0;
    int padded_wide = 0;  // blocks in whole MCUs
    std::vector<int16_t> dc;
    int32_t predictor = 0;
};

class DcDecoder {
  public:
    DcDecoder(std::FILE* file, RowSink& sink) : reader_(file), sink_(sink), file_bytes_(RemainingBytes(file)) {}

    Status Run() {
        if (reader_.Byte() != 0xFF || reader_.Byte() != 0xD8) {
            return CorruptError(imagelib_texts::kJpegNoSoi);
        }
        for (;;) {
            const int marker = NextMarker();
            if (marker < 0) {
                return frame_ ? Truncated() : CorruptError(imagelib_texts::kJpegNoFrameHeader);
            }
            if (marker == 0xD9) {
                break;
            }
            if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
                continue;
            }
            const int length = reader_.Word();
            if (length < 2) {
                return Truncated();
            }
            Status status = Segment(marker, length - 2);
            if (!status) {
                return status;
            }
        }
        if (!frame_ || !dc_seen_) {
            return Truncated();
        }
        return Emit();
    }

  private:
    // The code of the next marker; bytes before it are skipped. -1 at the end of the file.
    int NextMarker() {
        if (const int pending = reader_.marker(); pending != 0) {
            reader_.ClearMarker();
            return pending;
        }
        int byte = reader_.Byte();
        while (byte >= 0) {
            if (byte == 0xFF) {
                int next = reader_.Byte();
                while (next == 0xFF) {
                    next = reader_.Byte();
                }
                if (next != 0) {
                    return next;
                }
            }
            byte = reader_.Byte();
        }
        return -1;
    }

    // Reads a segment body of `length` bytes into segment_.
    bool ReadSegment(int length) {
        segment_.resize(static_cast<size_t>(length));
        for (uint8_t& byte : segment_) {
            const int value = reader_.Byte();
            if (value < 0) {
                return false;
            }
            byte = static_cast<uint8_t>(value);
        }
        return true;
    }

    uint32_t At(size_t i) const { return i < segment_.size() ? segment_[i] : 0u; }

    Status Segment(int marker, int length) {
        if (!ReadSegment(length)) {
            return Truncated();
        }
        switch (marker) {
            case 0xC2:
                return Frame();
            case 0xC4:
                return Tables();
            case 0xDB:
                return Quantisation();
            case 0xDD:
                restart_interval_ = static_cast<int>(At(0) << 8 | At(1));
                return {};
            case 0xDA:
                return Scan();
            case 0xE0:
                saw_jfif_ = saw_jfif_ || (length >= 5 && At(0) == 'J' && At(1) == 'F' && At(2) == 'I' && At(3) == 'F');
                return {};
            case 0xEE:
                if (length >= 12 && At(0) == 'A' && At(1) == 'd' && At(2) == 'o' && At(3) == 'b' && At(4) == 'e') {
                    saw_adobe_ = true;
                    adobe_transform_ = static_cast<int>(At(11));
                }
                return {};
            default:
                // Any other frame type is not for this decoder.
                if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
                    return UnsupportedError(imagelib_texts::kJpegNotProgressiveHuffman);
                }
                return {};
        }
    }

    Status Frame() {
        if (frame_ || segment_.size() < 6) {
            return Corrupt();
        }
        const int64_t height = At(1) << 8 | At(2);
        const int64_t width = At(3) << 8 | At(4);
        const int count = static_cast<int>(At(5));
        if (At(0) != 8 || (count != 1 && count != 3) || segment_.size() < 6 + 3 * static_cast<size_t>(count)) {
            return UnsupportedError(imagelib_texts::kJpegComponents);
        }
        if (Status sides = CheckSides(width, height, kMaxJpegSide); !sides) {
            return sides;
        }
        width_ = static_cast<int>(width);
        height_ = static_cast<int>(height);
        components_.resize(static_cast<size_t>(count));
        for (int c = 0; c < count; ++c) {
            Component& component = components_[static_cast<size_t>(c)];
            const size_t at = 6 + 3 * static_cast<size_t>(c);
            component.id = static_cast<int>(At(at));
            component.h = static_cast<int>(At(at + 1) >> 4);
            component.v = static_cast<int>(At(at + 1) & 15);
            component.quant = static_cast<int>(At(at + 2));
            if (component.h < 1 || component.h > 4 || component.v < 1 || component.v > 4 || component.quant > 3) {
                return Corrupt();
            }
            max_h_ = std::max(max_h_, component.h);
            max_v_ = std::max(max_v_, component.v);
        }
        mcus_wide_ = static_cast<int>((width + 8 * max_h_ - 1) / (8 * max_h_));
        mcus_high_ = static_cast<int>((height + 8 * max_v_ - 1) / (8 * max_v_));
        int64_t blocks = 0;
        for (Component& component : components_) {
            if (max_h_ % component.h != 0 || max_v_ % component.v != 0) {
                return UnsupportedError(imagelib_texts::kJpegSampling);
            }
            component.blocks_wide = static_cast<int>((width * component.h + 8 * max_h_ - 1) / (8 * max_h_));
            component.blocks_high = static_cast<int>((height * component.v + 8 * max_v_ - 1) / (8 * max_v_));
            component.padded_wide = mcus_wide_ * component.h;
            blocks += int64_t{component.padded_wide} * mcus_high_ * component.v;
        }
        // Every block's DC code takes at least one bit of the file: more blocks than eight per byte
        // is a header that lies, refused before anything is allocated for it.
        if (blocks > 8 * file_bytes_) {
            return BadSizeError(width, height);
        }
        for (Component& component : components_) {
            component.dc.assign(static_cast<size_t>(component.padded_wide) * static_cast<size_t>(mcus_high_) *
                                    static_cast<size_t>(component.v),
                                0);
        }
        frame_ = true;
        return {};
    }

    Status Tables() {
        size_t at = 0;
        while (at < segment_.size()) {
            const uint32_t kind = At(at);
            if (at + 17 > segment_.size() || (kind >> 4) > 1 || (kind & 15) > 3) {
                return Corrupt();
            }
            std::array<int, 17> counts{};
            size_t total = 0;
            for (size_t length = 1; length <= 16; ++length) {
                counts[length] = static_cast<int>(At(at + length));
                total += static_cast<size_t>(counts[length]);
            }
            if (total > 256 || at + 17 + total > segment_.size()) {
                return Corrupt();
            }
            if ((kind >> 4) == 0) {
                HuffmanTable& table = dc_tables_[kind & 15];
                table = HuffmanTable{};
                int32_t code = 0;
                int32_t index = 0;
                for (size_t length = 1; length <= 16; ++length) {
                    table.first_index[length] = index;
                    table.min_code[length] = code;
                    code += counts[length];
                    index += counts[length];
                    table.max_code[length] = counts[length] > 0 ? code - 1 : -1;
                    if (code > (int32_t{1} << length)) {
                        return Corrupt();  // more codes than this length has room for
                    }
                    code <<= 1;
                }
                std::copy_n(segment_.begin() + static_cast<std::ptrdiff_t>(at + 17), total, table.values.begin());
                table.defined = true;
            }
            at += 17 + total;
        }
        return {};
    }

    Status Quantisation() {
        size_t at = 0;
        while (at < segment_.size()) {
            const uint32_t kind = At(at);
            const size_t size = (kind >> 4) == 0 ? 64 : 128;
            if ((kind >> 4) > 1 || (kind & 15) > 3 || at + 1 + size > segment_.size()) {
                return Corrupt();
            }
            // Only the first value, the DC step, matters here.
            dc_steps_[kind & 15] =
                (kind >> 4) == 0 ? static_cast<int>(At(at + 1)) : static_cast<int>(At(at + 1) << 8 | At(at + 2));
            at += 1 + size;
        }
        return {};
    }

    Status Scan() {
        const size_t count = At(0);
        if (!frame_ || count < 1 || count > components_.size() || segment_.size() < 4 + 2 * count) {
            return Corrupt();
        }
        const uint32_t start = At(1 + 2 * count);
        const uint32_t approximation = At(3 + 2 * count);
        if (start != 0) {
            reader_.StartBits();
            reader_.SkipData();  // an AC scan: nothing of it is needed
            return {};
        }
        std::vector<Component*> members;
        for (size_t i = 0; i < count; ++i) {
            const auto id = static_cast<int>(At(1 + 2 * i));
            const auto found =
                std::find_if(components_.begin(), components_.end(), [id](const Component& c) { return c.id == id; });
            const uint32_t table = At(2 + 2 * i) >> 4;
            if (found == components_.end() || table > 3) {
                return Corrupt();
            }
            members.push_back(&*found);
            tables_of_scan_[i] = static_cast<int>(table);
        }
        const bool first = (approximation >> 4) == 0;
        const int shift = static_cast<int>(approximation & 15);
        if (shift > 13) {
            return Corrupt();
        }
        for (size_t i = 0; first && i < count; ++i) {
            if (!dc_tables_[static_cast<size_t>(tables_of_scan_[i])].defined) {
                return CorruptError(imagelib_texts::kJpegNoHuffmanTable);
            }
        }
        dc_seen_ = dc_seen_ || first;
        return DecodeDcScan(members, first, shift);
    }

    // Decodes one block's DC bits into `value`.
    bool DecodeBlock(Component& component, const HuffmanTable& table, bool first, int shift, int16_t& value) {
        if (!first) {
            if (reader_.Bit() != 0) {
                value = static_cast<int16_t>(static_cast<uint16_t>(value) | (1u << shift));
            }
            return true;
        }
        const int category = table.Decode(reader_);
        if (category < 0 || category > 15) {
            return false;
        }
        int32_t difference = 0;
        if (category > 0) {
            const auto bits = static_cast<int32_t>(reader_.Bits(category));
            difference = bits < (int32_t{1} << (category - 1)) ? bits - (int32_t{1} << category) + 1 : bits;
        }
        component.predictor =
            static_cast<int32_t>(static_cast<uint32_t>(component.predictor) + static_cast<uint32_t>(difference));
        value = static_cast<int16_t>(static_cast<uint32_t>(component.predictor) << shift);
        return true;
    }

    Status DecodeDcScan(const std::vector<Component*>& members, bool first, int shift) {
        reader_.StartBits();
        for (Component* component : members) {
            component->predictor = 0;
        }
        const bool interleaved = members.size() > 1;
        const int64_t units =
            interleaved ? int64_t{mcus_wide_} * mcus_high_ : int64_t{members[0]->blocks_wide} * members[0]->blocks_high;
        int64_t until_restart = restart_interval_;
        for (int64_t unit = 0; unit < units; ++unit) {
            if (restart_interval_ > 0 && until_restart == 0) {
                if (!NextRestart()) {
                    return reader_.ended() ? Truncated() : Corrupt();
                }
                for (Component* component : members) {
                    component->predictor = 0;
                }
                until_restart = restart_interval_;
            }
            --until_restart;
            if (!DecodeUnit(members, interleaved, unit, first, shift)) {
                return Corrupt();
            }
            if (reader_.ended() || reader_.marker() != 0) {
                return Truncated();  // the data ended inside the unit
            }
        }
        // What follows the scan's data is the next marker; any bits left over are padding.
        reader_.StartBits();
        if (reader_.marker() == 0) {
            reader_.SkipData();
        }
        return {};
    }

    // The restart marker that must end the current interval: the data up to it is padding.
    bool NextRestart() {
        reader_.StartBits();
        if (reader_.marker() == 0) {
            while (reader_.marker() == 0 && !reader_.ended()) {
                reader_.Bit();
            }
        }
        const int marker = reader_.marker();
        if (marker < 0xD0 || marker > 0xD7) {
            return false;
        }
        reader_.ClearMarker();
        reader_.StartBits();
        return true;
    }

    bool DecodeUnit(const std::vector<Component*>& members, bool interleaved, int64_t unit, bool first, int shift) {
        if (!interleaved) {
            Component& component = *members[0];
            const int64_t row = unit / component.blocks_wide;
            const int64_t column = unit % component.blocks_wide;
            int16_t& value = component.dc[static_cast<size_t>(row * component.padded_wide + column)];
            return DecodeBlock(component, dc_tables_[static_cast<size_t>(tables_of_scan_[0])], first, shift, value);
        }
        const int64_t mcu_row = unit / mcus_wide_;
        const int64_t mcu_column = unit % mcus_wide_;
        for (size_t i = 0; i < members.size(); ++i) {
            Component& component = *members[i];
            const HuffmanTable& table = dc_tables_[static_cast<size_t>(tables_of_scan_[i])];
            for (int y = 0; y < component.v; ++y) {
                for (int x = 0; x < component.h; ++x) {
                    const int64_t row = mcu_row * component.v + y;
                    const int64_t column = mcu_column * component.h + x;
                    int16_t& value = component.dc[static_cast<size_t>(row * component.padded_wide + column)];
                    if (!DecodeBlock(component, table, first, shift, value)) {
                        return false;
                    }
                }
            }
        }
        return true;
    }

    // One pixel per block of the largest component, as libjpeg's 1x1 inverse DCT gives it.
    static uint8_t Level(int32_t dc, int step) {
        const int64_t value = ((int64_t{dc} * step + 4) >> 3) + 128;
        return static_cast<uint8_t>(std::clamp<int64_t>(value, 0, 255));
    }

    // The level of block (row, column) of `component`, both clamped to the blocks that hold image
    // data, as libjpeg repeats the edge rows and columns.
    int LevelAt(const Component& component, int row, int column) const {
        row = std::clamp(row, 0, component.blocks_high - 1);
        column = std::clamp(column, 0, component.blocks_wide - 1);
        return Level(component.dc[static_cast<size_t>(row) * static_cast<size_t>(component.padded_wide) +
                                  static_cast<size_t>(column)],
                     dc_steps_[static_cast<size_t>(component.quant)]);
    }

    // Row y of the 1/8 image in one component. libjpeg decodes a component subsampled 2 x 2 with a
    // 2 x 2 inverse DCT at this scale, which takes its lowest AC terms too; from the DC alone, its
    // "fancy" upsampling (a triangle filter, at its fixed-point rounding) comes closest. Other
    // ratios it repeats each block's level, as here.
    void ComponentRow(const Component& component, int y, std::vector<uint8_t>& out) const {
        const int across = max_h_ / component.h;
        const int down = max_v_ / component.v;
        const auto width = static_cast<int>(out.size());
        if (across == 2 && down == 2) {
            const int near = y / 2;
            const int far = y % 2 == 0 ? near - 1 : near + 1;
            const int last = component.blocks_wide - 1;
            const auto sum = [&](int column) {  // in quarters
                return 3 * LevelAt(component, near, column) + LevelAt(component, far, column);
            };
            for (int x = 0; x < width; ++x) {
                const int column = x / 2;
                const int here = sum(column);
                const int beside =
                    x % 2 == 0 ? (column == 0 ? here : sum(column - 1)) : (column >= last ? here : sum(column + 1));
                out[static_cast<size_t>(x)] = static_cast<uint8_t>((3 * here + beside + (x % 2 == 0 ? 8 : 7)) >> 4);
            }
            return;
        }
        for (int x = 0; x < width; ++x) {
            out[static_cast<size_t>(x)] = static_cast<uint8_t>(LevelAt(component, y / down, x / across));
        }
    }

    // RGB rows, converted from YCbCr with libjpeg's fixed-point tables unless the file is RGB.
    Status Emit() {
        const int out_width = (width_ + 7) / 8;
        const int out_height = (height_ + 7) / 8;
        if (Status begun = sink_.Begin(out_width, out_height); !begun) {
            return begun;
        }
        const bool rgb =
            components_.size() == 3 && (saw_adobe_ ? adobe_transform_ == 0
                                                   : !saw_jfif_ && components_[0].id == 'R' &&
                                                         components_[1].id == 'G' && components_[2].id == 'B');
        std::vector<uint8_t> own(3 * static_cast<size_t>(out_width));
        std::array<std::vector<uint8_t>, kMaxComponents> levels;
        for (int y = 0; y < out_height; ++y) {
            for (size_t c = 0; c < components_.size(); ++c) {
                levels[c].resize(static_cast<size_t>(out_width));
                ComponentRow(components_[c], y, levels[c]);
            }
            uint8_t* offered = sink_.RowBuffer(y);
            uint8_t* out = offered != nullptr ? offered : own.data();
            for (size_t x = 0; x < static_cast<size_t>(out_width); ++x) {
                if (components_.size() == 1) {
                    out[3 * x] = out[3 * x + 1] = out[3 * x + 2] = levels[0][x];
                } else if (rgb) {
                    out[3 * x] = levels[0][x];
                    out[3 * x + 1] = levels[1][x];
                    out[3 * x + 2] = levels[2][x];
                } else {
                    YccToRgb(levels[0][x], levels[1][x], levels[2][x], out + 3 * x);
                }
            }
            sink_.Row(out);
        }
        return {};
    }

    // libjpeg's YCbCr to RGB conversion (jdcolor.c), to the bit.
    static void YccToRgb(int y, int cb, int cr, uint8_t* out) {
        constexpr int kScaleBits = 16;
        constexpr int64_t kHalf = int64_t{1} << (kScaleBits - 1);
        constexpr auto Fix = [](double x) { return static_cast<int64_t>(x * (1 << kScaleBits) + 0.5); };
        const int64_t x_cr = cr - 128;
        const int64_t x_cb = cb - 128;
        const auto red = static_cast<int>((Fix(1.40200) * x_cr + kHalf) >> kScaleBits);
        const auto blue = static_cast<int>((Fix(1.77200) * x_cb + kHalf) >> kScaleBits);
        const auto green = static_cast<int>((-Fix(0.34414) * x_cb + kHalf - Fix(0.71414) * x_cr) >> kScaleBits);
        out[0] = static_cast<uint8_t>(std::clamp(y + red, 0, 255));
        out[1] = static_cast<uint8_t>(std::clamp(y + green, 0, 255));
        out[2] = static_cast<uint8_t>(std::clamp(y + blue, 0, 255));
    }

    JpegReader reader_;
    RowSink& sink_;
    int64_t file_bytes_;
    std::vector<uint8_t> segment_;
    std::array<HuffmanTable, 4> dc_tables_{};
    std::array<int, 4> dc_steps_{1, 1, 1, 1};
    std::array<int, kMaxComponents> tables_of_scan_{};
    std::vector<Component> components_;
    int width_ = 0;
    int height_ = 0;
    int max_h_ = 1;
    int max_v_ = 1;
    int mcus_wide_ = 0;
    int mcus_high_ = 0;
    int restart_interval_ = 0;
    int adobe_transform_ = 0;
    bool saw_adobe_ = false;
    bool saw_jfif_ = false;
    bool frame_ = false;
    bool dc_seen_ = false;
};

}  // namespace

Status DecodeJpegDc(std::FILE* file, RowSink& sink) {
    auto decoder = std::make_unique<DcDecoder>(file, sink);
    return decoder->Run();
}

}  // namespace pelimon::imagelib_detail
