#include "imagelib/embedded_metadata.h"

#include <webp/demux.h>

#include <algorithm>
#include <memory>
#include <string_view>
#include <vector>

#include "imagelib/codec_support.h"
#include "imagelib/format_table.h"
#include "imagelib/formats.h"
#include "imagelib/heif_support.h"
#include "imagelib/png_chunks.h"

namespace pelimon {

using namespace imagelib_detail;

namespace {

bool HasTiffMagic(ByteView block, size_t at) {
    if (block.size() < at + 8) {
        return false;
    }
    const uint32_t magic = ReadBe32(block, at);
    return magic == 0x49492A00 || magic == 0x4D4D002A;  // "II*\0", "MM\0*"
}

// A block from `offset` on, when that is where a TIFF header starts.
Bytes TiffFrom(ByteView block, size_t offset) {
    if (!HasTiffMagic(block, offset)) {
        return {};
    }
    return Bytes(block.begin() + static_cast<std::ptrdiff_t>(offset), block.end());
}

// A metadata item's data comes from the file, so it cannot be larger than the file; a size above
// that (a damaged extent, which libheif does not check for every kind of item) is refused before
// anything is allocated for it.
Bytes HeifBlock(const heif_image_handle* handle, heif_item_id id, size_t file_size) {
    const size_t size = heif_image_handle_get_metadata_size(handle, id);
    if (size == 0 || size > file_size) {
        return {};
    }
    Bytes block(size);
    if (heif_image_handle_get_metadata(handle, id, block.data()).code != heif_error_Ok) {
        return {};
    }
    return block;
}

}  // namespace

void imagelib_detail::ReadHeifMetadata(ByteView bytes, EmbeddedMetadata& out) {
    Result<OpenedHeif> opened = OpenHeif(bytes);
    if (!opened) {
        return;
    }
    out.decoder_orients = true;
    const heif_image_handle* handle = opened.value().primary.get();
    const int count = heif_image_handle_get_number_of_metadata_blocks(handle, nullptr);
    std::vector<heif_item_id> ids(static_cast<size_t>(std::max(count, 0)));
    const int listed = heif_image_handle_get_list_of_metadata_block_IDs(handle, nullptr, ids.data(), count);
    for (int i = 0; i < listed; ++i) {
        const heif_item_id id = ids[static_cast<size_t>(i)];
        const std::string_view type = heif_image_handle_get_metadata_type(handle, id);
        const std::string_view content = heif_image_handle_get_metadata_content_type(handle, id);
        if (type == "Exif" && out.exif.empty()) {
            // The item starts with the big-endian offset of the TIFF header from the end of those
            // four bytes.
            const Bytes block = HeifBlock(handle, id, bytes.size());
            if (block.size() >= 4) {
                const size_t offset = size_t{4} + ReadBe32(block, 0);
                out.exif = TiffFrom(block, std::min(offset, block.size()));
            }
        } else if (type == "mime" && content == "application/rdf+xml" && out.xmp.empty()) {
            out.xmp = HeifBlock(handle, id, bytes.size());
        }
    }
    const size_t icc_size = heif_image_handle_get_raw_color_profile_size(handle);
    if (icc_size > 0 && icc_size <= bytes.size()) {
        out.icc_profile.resize(icc_size);
        if (heif_image_handle_get_raw_color_profile(handle, out.icc_profile.data()).code != heif_error_Ok) {
            out.icc_profile.clear();
        }
    }
    heif_color_profile_nclx* nclx = nullptr;
    if (heif_image_handle_get_nclx_color_profile(handle, &nclx).code == heif_error_Ok && nclx != nullptr) {
        out.nclx = NclxColour{static_cast<int>(nclx->color_primaries), static_cast<int>(nclx->transfer_characteristics),
                              static_cast<int>(nclx->matrix_coefficients), nclx->full_range_flag != 0};
    }
    heif_nclx_color_profile_free(nclx);
}

namespace {

struct DemuxDelete {
    void operator()(WebPDemuxer* demux) const { WebPDemuxDelete(demux); }
};

Bytes WebpChunk(WebPDemuxer* demux, const char fourcc[4]) {
    WebPChunkIterator iterator;
    Bytes chunk;
    if (WebPDemuxGetChunk(demux, fourcc, 1, &iterator)) {
        chunk.assign(iterator.chunk.bytes, iterator.chunk.bytes + iterator.chunk.size);
    }
    WebPDemuxReleaseChunkIterator(&iterator);
    return chunk;
}

}  // namespace

void imagelib_detail::ReadWebpMetadata(ByteView bytes, EmbeddedMetadata& out) {
    const WebPData data{bytes.data(), bytes.size()};
    const std::unique_ptr<WebPDemuxer, DemuxDelete> demux(WebPDemux(&data));
    if (!demux) {
        return;
    }
    const Bytes exif = WebpChunk(demux.get(), "EXIF");
    if (const std::optional<size_t> offset = TiffHeaderOffset(exif)) {
        out.exif = TiffFrom(exif, *offset);
    }
    out.xmp = WebpChunk(demux.get(), "XMP ");
    out.icc_profile = WebpChunk(demux.get(), "ICCP");
}

namespace {

// Text chunks longer than this (an XMP packet, a hex-encoded Exif block) are left alone.
constexpr size_t kMaxPngTextBytes = size_t{16} << 20;

}  // namespace

// Exif from an eXIf chunk (the first one, from its TIFF header, or after an "Exif\0\0" some
// writers put first); XMP from the iTXt chunk "XML:com.adobe.xmp". Without those, from the
// "Raw profile type exif" (or "APP1") and "Raw profile type xmp" text chunks older tools write.
// Damaged chunks are passed over.
void imagelib_detail::ReadPngMetadata(ByteView bytes, EmbeddedMetadata& out) {
    Bytes raw_exif;
    Bytes raw_xmp;
    for (const PngChunk& chunk : WalkPngChunks(bytes)) {
        if (!chunk.intact) {
            continue;
        }
        if (chunk.type == "eXIf") {
            if (const std::optional<size_t> offset = TiffHeaderOffset(chunk.data); offset && out.exif.empty()) {
                out.exif = TiffFrom(chunk.data, *offset);
            }
            continue;
        }
        std::optional<PngText> text = ReadPngText(chunk, kMaxPngTextBytes);
        if (!text) {
            continue;
        }
        if (text->keyword == "XML:com.adobe.xmp" && chunk.type == "iTXt" && out.xmp.empty()) {
            out.xmp = std::move(text->text);
        } else if ((text->keyword == "Raw profile type exif" || text->keyword == "Raw profile type APP1") &&
                   raw_exif.empty()) {
            raw_exif = DecodeRawProfile(text->text);
        } else if (text->keyword == "Raw profile type xmp" && raw_xmp.empty()) {
            raw_xmp = DecodeRawProfile(text->text);
        }
    }
    if (out.exif.empty()) {
        if (const std::optional<size_t> offset = TiffHeaderOffset(raw_exif)) {
            out.exif = TiffFrom(raw_exif, *offset);
        }
    }
    if (out.xmp.empty()) {
        out.xmp = std::move(raw_xmp);
    }
}

std::optional<size_t> TiffHeaderOffset(ByteView block) {
    if (HasTiffMagic(block, 0)) {
        return 0;
    }
    constexpr std::string_view kExifPrefix("Exif\0\0", 6);
    if (block.size() >= kExifPrefix.size() && std::equal(kExifPrefix.begin(), kExifPrefix.end(), block.begin()) &&
        HasTiffMagic(block, kExifPrefix.size())) {
        return kExifPrefix.size();
    }
    return std::nullopt;
}

EmbeddedMetadata ReadEmbeddedMetadata(ByteView bytes) {
    EmbeddedMetadata out;
    if (const FormatRow* format = FormatOfBytes(bytes); format != nullptr && format->read_metadata != nullptr) {
        format->read_metadata(bytes, out);
    }
    return out;
}

}  // namespace pelimon
