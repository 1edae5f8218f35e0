// GIF decoding with giflib: the first frame only, interlaced or not, placed on the logical screen.
// Screen pixels outside the frame and transparent pixels are white (transparency over white).
#include <algorithm>
#include <memory>
#include <vector>

#include <gif_lib.h>

#include "imagelib/codec_support.h"
#include "imagelib/formats.h"
#include "imagelib/gif_support.h"

namespace pelimon::imagelib_detail {

namespace {

constexpr int64_t kMaxGifSide = 65535;

struct MemoryInput {
    ByteView bytes;
    size_t position = 0;
};

int ReadFromMemory(GifFileType* gif, GifByteType* out, int length) {
    auto* input = static_cast<MemoryInput*>(gif->UserData);
    const size_t wanted = length > 0 ? static_cast<size_t>(length) : 0;
    const size_t count = std::min(wanted, input->bytes.size() - input->position);
    std::copy_n(input->bytes.data() + input->position, count, out);
    input->position += count;
    return static_cast<int>(count);
}

struct GifCloser {
    void operator()(GifFileType* gif) const {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};
using GifReader = std::unique_ptr<GifFileType, GifCloser>;

// The canvas: the logical screen, enlarged when the first frame reaches beyond it.
struct GifLayout {
    int64_t width = 0;
    int64_t height = 0;
    int64_t left = 0;
    int64_t top = 0;
    int64_t frame_width = 0;
    int64_t frame_height = 0;
};

// Walks the blocks before the first image descriptor without decoding anything.
Result<GifLayout> ParseLayout(ByteView bytes) {
    if (bytes.size() < 13) {
        return CorruptError(imagelib_texts::kGifHeaderShort);
    }
    GifLayout layout;
    layout.width = ReadLe16(bytes, 6);
    layout.height = ReadLe16(bytes, 8);
    const uint32_t flags = ReadU8(bytes, 10);
    size_t at = 13 + ((flags & 0x80) != 0 ? 3 * (size_t{2} << (flags & 7)) : 0);
    for (;;) {
        if (at >= bytes.size()) {
            return CorruptError(imagelib_texts::kGifNoImage);
        }
        const uint32_t block = bytes[at];
        if (block == 0x2C) {
            if (at + 10 > bytes.size()) {
                return CorruptError(imagelib_texts::kGifDescriptorShort);
            }
            layout.left = ReadLe16(bytes, at + 1);
            layout.top = ReadLe16(bytes, at + 3);
            layout.frame_width = ReadLe16(bytes, at + 5);
            layout.frame_height = ReadLe16(bytes, at + 7);
            layout.width = std::max(layout.width, layout.left + layout.frame_width);
            layout.height = std::max(layout.height, layout.top + layout.frame_height);
            if (Status size = CheckDimensions(layout.width, layout.height, kMaxGifSide); !size) {
                return size.error();
            }
            return layout;
        }
        if (block != 0x21) {
            return CorruptError(block == 0x3B ? imagelib_texts::kGifNoImage : imagelib_texts::kGifBadBlock);
        }
        at += 2;  // introducer and label, then sub-blocks up to a zero length
        while (at < bytes.size() && bytes[at] != 0) {
            at += 1 + size_t{bytes[at]};
        }
        ++at;
    }
}

Error GifError(int code) {
    return CorruptError("GIF: " + GifErrorText(code));
}

// Reads the frame's rows in file order, mapping interlaced passes to their rows.
Status ReadFrame(GifFileType* gif, const GifLayout& layout, int transparent, Image& out) {
    const ColorMapObject* map = gif->Image.ColorMap != nullptr ? gif->Image.ColorMap : gif->SColorMap;
    const int colors = map != nullptr ? map->ColorCount : 0;
    const auto width = static_cast<size_t>(gif->Image.Width);
    const int height = gif->Image.Height;
    std::vector<GifByteType> line(width);
    std::vector<int> order;
    order.reserve(static_cast<size_t>(height));
    if (gif->Image.Interlace) {
        for (const auto& [start, step] : {std::pair{0, 8}, std::pair{4, 8}, std::pair{2, 4}, std::pair{1, 2}}) {
            for (int y = start; y < height; y += step) {
                order.push_back(y);
            }
        }
    } else {
        for (int y = 0; y < height; ++y) {
            order.push_back(y);
        }
    }
    for (const int y : order) {
        if (DGifGetLine(gif, line.data(), static_cast<int>(width)) != GIF_OK) {
            return GifError(gif->Error);
        }
        uint8_t* row = out.row(static_cast<int>(layout.top) + y) + 3 * static_cast<size_t>(layout.left);
        for (size_t x = 0; x < width; ++x) {
            const int index = line[x];
            if (index == transparent || index >= colors) {
                continue;  // stays white; indices beyond the colour table count as transparent
            }
            const GifColorType& colour = map->Colors[index];
            row[3 * x] = colour.Red;
            row[3 * x + 1] = colour.Green;
            row[3 * x + 2] = colour.Blue;
        }
    }
    return {};
}

}  // namespace

Result<ImageHeader> ProbeGif(ByteView bytes) {
    Result<GifLayout> layout = ParseLayout(bytes);
    if (!layout) {
        return layout.error();
    }
    return ImageHeader{ImageFormat::kGif, static_cast<int>(layout.value().width),
                       static_cast<int>(layout.value().height)};
}

Status DecodeGif(ByteView bytes, const DecodeOptions& /*options*/, Image& out) {
    Result<GifLayout> parsed = ParseLayout(bytes);
    if (!parsed) {
        return parsed.error();
    }
    const GifLayout& layout = parsed.value();
    MemoryInput input{bytes, 0};
    int error = 0;
    const GifReader gif(DGifOpen(&input, ReadFromMemory, &error));
    if (!gif) {
        return GifError(error);
    }
    int transparent = -1;
    for (;;) {
        GifRecordType record = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif.get(), &record) != GIF_OK) {
            return GifError(gif->Error);
        }
        if (record == IMAGE_DESC_RECORD_TYPE) {
            break;
        }
        if (record != EXTENSION_RECORD_TYPE) {
            return CorruptError(imagelib_texts::kGifNoImage);
        }
        int code = 0;
        GifByteType* data = nullptr;
        if (DGifGetExtension(gif.get(), &code, &data) != GIF_OK) {
            return GifError(gif->Error);
        }
        if (code == GRAPHICS_EXT_FUNC_CODE && data != nullptr) {
            GraphicsControlBlock control{};
            if (DGifExtensionToGCB(data[0], data + 1, &control) == GIF_OK) {
                transparent = control.TransparentColor;
            }
        }
        while (data != nullptr) {
            if (DGifGetExtensionNext(gif.get(), &data) != GIF_OK) {
                return GifError(gif->Error);
            }
        }
    }
    if (DGifGetImageDesc(gif.get()) != GIF_OK) {
        return GifError(gif->Error);
    }
    if (gif->Image.Left != layout.left || gif->Image.Top != layout.top || gif->Image.Width != layout.frame_width ||
        gif->Image.Height != layout.frame_height) {
        return CorruptError(imagelib_texts::kGifBadDescriptor);
    }
    out.Reset(static_cast<int>(layout.width), static_cast<int>(layout.height));
    std::fill_n(out.data(), out.size_bytes(), uint8_t{255});
    return ReadFrame(gif.get(), layout, transparent, out);
}

}  // namespace pelimon::imagelib_detail
