#include "exif/output_metadata.h"

#include <algorithm>
#include <numeric>
#include <string_view>

#include "common/tiff_tags.h"
#include "exif/exif_texts.h"
#include "exif/jpeg_segments.h"
#include "exif/photoshop_block.h"
#include "exif/tiff_block.h"
#include "exif/xmp_packet.h"

namespace pelimon {
namespace {

namespace t = exif_texts;

// Marker and length field, then "Exif\0\0": where the TIFF block starts in an APP1 segment.
constexpr size_t kTiffInSegment = 4 + sizeof kExifIdentifier;
// Extended XMP: identifier, GUID (32 hex digits), full length, chunk offset.
constexpr size_t kGuidSize = 32;
constexpr size_t kExtendedHeader = kExtendedXmpIdentifier.size() + kGuidSize + 8;

std::string_view AsText(std::span<const uint8_t> bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

uint32_t BigEndian32(std::span<const uint8_t> bytes, size_t at) {
    return (uint32_t{bytes[at]} << 24) | (uint32_t{bytes[at + 1]} << 16) | (uint32_t{bytes[at + 2]} << 8) |
           bytes[at + 3];
}

std::vector<uint8_t> ExifBlock(const SourceMetadata& source, const MetadataTransfer& transfer,
                               std::vector<std::string>& notes) {
    if (source.exif_segment.size() <= kTiffInSegment) {
        return {};
    }
    TiffBlock block({source.exif_segment.begin() + kTiffInSegment, source.exif_segment.end()});
    if (!block.valid()) {
        notes.emplace_back(t::kExifDropped);
        return {};
    }
    const bool has_gps = block.GpsIfdOffset() != 0;
    if (transfer.no_location || (has_gps && !block.GpsIsSound())) {
        // A malformed GPS block is dropped whatever NoLocation says: it cannot be carried safely.
        if (!block.RemoveGps()) {
            notes.emplace_back(t::kGpsDropped);
        }
    }
    if (transfer.pixels_rotated) {
        block.SetNumber(block.Ifd0Offset(), kTiffTagOrientation, 1);
    }
    if (const uint32_t sub = block.SubIfdOffset(); sub != 0) {
        block.SetNumber(sub, kExifTagPixelXDimension, static_cast<uint32_t>(std::max(transfer.output_width, 0)));
        block.SetNumber(sub, kExifTagPixelYDimension, static_cast<uint32_t>(std::max(transfer.output_height, 0)));
    }
    if (block.Ifd1Offset() != 0 && transfer.make_thumbnail) {
        const ExifThumbnail thumbnail = transfer.make_thumbnail();
        block.ReplaceThumbnail(thumbnail.jpeg, thumbnail.width, thumbnail.height, kMaxExifBlock);
    }
    if (block.bytes().size() > kMaxExifBlock) {
        block.DropIfd1();
    }
    return block.Take();
}

// The XMP groups no output may carry: a gain map's description always, since no output carries
// the gain map, and the location for no_location.
unsigned RemovedXmpGroups(const MetadataTransfer& transfer) {
    return kXmpGainMap | (transfer.no_location ? kXmpLocation : 0u);
}

std::vector<uint8_t> XmpPacket(const SourceMetadata& source, const MetadataTransfer& transfer,
                               std::vector<std::string>& notes) {
    if (source.xmp.empty()) {
        return {};
    }
    if (std::optional<std::string> edited = RemoveXmpProperties(AsText(source.xmp), RemovedXmpGroups(transfer))) {
        return {edited->begin(), edited->end()};
    }
    notes.emplace_back(t::kXmpDropped);
    return {};
}

// The extended XMP segments when they form one complete packet (the GUID the standard packet
// names, chunks that cover the full length exactly once) that is well-formed, describes no gain
// map and, for no_location, holds no location; otherwise none of them.
std::vector<std::vector<uint8_t>> ExtendedXmp(const SourceMetadata& source, std::string_view standard,
                                              const MetadataTransfer& transfer, std::vector<std::string>& notes) {
    const std::vector<std::vector<uint8_t>>& parts = source.extended_xmp;
    if (parts.empty()) {
        return {};
    }
    auto complete = [&]() -> std::optional<std::string> {
        if (standard.empty() ||
            !std::all_of(parts.begin(), parts.end(), [](const auto& part) { return part.size() >= kExtendedHeader; })) {
            return std::nullopt;
        }
        const std::string_view guid = AsText(parts[0]).substr(kExtendedXmpIdentifier.size(), kGuidSize);
        const uint32_t full = BigEndian32(parts[0], kExtendedXmpIdentifier.size() + kGuidSize);
        std::vector<size_t> order(parts.size());
        std::iota(order.begin(), order.end(), size_t{0});
        const auto offset = [&](size_t i) { return BigEndian32(parts[i], kExtendedHeader - 4); };
        std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return offset(a) < offset(b); });
        std::string packet;
        for (const size_t i : order) {
            const std::string_view part = AsText(parts[i]);
            if (part.substr(kExtendedXmpIdentifier.size(), kGuidSize) != guid ||
                BigEndian32(parts[i], kExtendedXmpIdentifier.size() + kGuidSize) != full ||
                offset(i) != packet.size()) {
                return std::nullopt;
            }
            packet.append(part.substr(kExtendedHeader));
        }
        if (packet.size() != full || standard.find(guid) == std::string_view::npos) {
            return std::nullopt;
        }
        return packet;
    };
    const std::optional<std::string> packet = complete();
    if (!packet || !IsWellFormedXmp(*packet)) {
        notes.emplace_back(t::kExtendedXmpDropped);
        return {};
    }
    if (transfer.no_location && XmpHasProperties(*packet, kXmpLocation)) {
        notes.emplace_back(t::kExtendedXmpLocation);
        return {};
    }
    if (XmpHasProperties(*packet, kXmpGainMap)) {
        notes.emplace_back(t::kExtendedXmpGainMap);
        return {};
    }
    return parts;
}

std::vector<uint8_t> Photoshop(const SourceMetadata& source, const MetadataTransfer& transfer,
                               std::vector<std::string>& notes) {
    if (source.photoshop.empty()) {
        return {};
    }
    if (transfer.no_location) {
        if (std::optional<std::vector<uint8_t>> edited = RemoveIptcLocation(source.photoshop)) {
            return std::move(*edited);
        }
    } else if (IsWellFormedPhotoshop(source.photoshop)) {
        return source.photoshop;
    }
    notes.emplace_back(t::kIptcDropped);
    return {};
}

}  // namespace

OutputMetadata BuildOutputMetadata(const SourceMetadata& source, const MetadataTransfer& given) {
    // The Exif Orientation of a file whose decoder turns the pixels describes that turn only.
    MetadataTransfer transfer = given;
    transfer.pixels_rotated = transfer.pixels_rotated || source.decoder_orients;
    OutputMetadata metadata;
    metadata.icc_profile = source.icc_profile;
    if (!transfer.keep_exif) {
        return metadata;
    }
    metadata.exif = ExifBlock(source, transfer, metadata.notes);
    metadata.xmp = XmpPacket(source, transfer, metadata.notes);
    if (!metadata.xmp.empty()) {
        metadata.extended_xmp = ExtendedXmp(source, AsText(metadata.xmp), transfer, metadata.notes);
    }
    metadata.photoshop = Photoshop(source, transfer, metadata.notes);
    return metadata;
}

void FitInJpegSegments(OutputMetadata& metadata) {
    if (metadata.exif.size() > kMaxExifBlock) {
        metadata.exif.clear();
        metadata.notes.emplace_back(t::kExifTooLargeForJpeg);
    }
    if (kXmpIdentifier.size() + metadata.xmp.size() > kMaxSegmentPayload) {
        metadata.xmp.clear();
        metadata.extended_xmp.clear();
        metadata.notes.emplace_back(t::kXmpTooLargeForJpeg);
    }
    if (metadata.photoshop.size() > kMaxSegmentPayload) {
        metadata.photoshop.clear();
        metadata.notes.emplace_back(t::kIptcTooLargeForJpeg);
    }
}

EncodeMetadata BlocksOf(const OutputMetadata& metadata) {
    return {metadata.exif, metadata.icc_profile, metadata.xmp, metadata.extended_xmp, metadata.photoshop};
}

}  // namespace pelimon
