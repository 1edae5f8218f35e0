#include "imagelib/heif_geometry.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

#include "imagelib/av1_config.h"
#include "imagelib/codec_support.h"
#include "imagelib/heif_box_reader.h"

namespace pelimon::imagelib_detail {

namespace {

// The children of a container box whose own header ends at `body` (`skip` bytes more for a full
// box's version and flags), in their order.
std::vector<HeifBox> Children(ByteView bytes, const HeifBox& parent, size_t skip = 0) {
    std::vector<HeifBox> children;
    HeifBox child;
    for (size_t at = parent.body + skip; ReadHeifBox(bytes, at, parent.end, child); at = child.end) {
        children.push_back(child);
    }
    return children;
}

const HeifBox* FindBox(const std::vector<HeifBox>& boxes, uint32_t type) {
    const auto found = std::find_if(boxes.begin(), boxes.end(), [type](const HeifBox& b) { return b.type == type; });
    return found != boxes.end() ? &*found : nullptr;
}

// The 1-based indices into 'ipco' that the 'ipma' box `ipma` associates with `item`, in order.
std::vector<uint32_t> AssociatedProperties(ByteView bytes, const HeifBox& ipma, uint32_t item) {
    size_t at = ipma.body;
    const unsigned version = ReadU8(bytes, at);
    const bool wide_index = (ReadBe32(bytes, at) & 1) != 0;
    at += 4;
    const uint32_t entries = ReadBe32(bytes, at);
    at += 4;
    for (uint32_t e = 0; e < entries && at < ipma.end; ++e) {
        const uint32_t id = static_cast<uint32_t>(ReadHeifField(bytes, at, version < 1 ? 2 : 4));
        const unsigned count = ReadU8(bytes, at++);
        std::vector<uint32_t> indices;
        for (unsigned a = 0; a < count && at < ipma.end; ++a) {
            const auto association = static_cast<uint32_t>(ReadHeifField(bytes, at, wide_index ? 2 : 1));
            indices.push_back(association & (wide_index ? 0x7FFFu : 0x7Fu));  // without the "essential" bit
        }
        if (id == item) {
            return indices;
        }
    }
    return {};
}

double Fraction(int64_t numerator, uint32_t denominator) {
    return static_cast<double>(numerator) / static_cast<double>(denominator);
}

// A side read from 'ispe', kept within int; CheckDimensions refuses what is too large.
int ClampedSide(uint32_t side) {
    return static_cast<int>(std::min<uint32_t>(side, 1u << 30));
}

Status ReadCrop(ByteView clap, HeifCrop& crop) {
    if (clap.size() < 32) {
        return CorruptError(imagelib_texts::kHeifBadCrop);
    }
    uint32_t field[8];
    for (size_t i = 0; i < 8; ++i) {
        field[i] = ReadBe32(clap, 4 * i);
    }
    if (field[0] == 0 || field[1] == 0 || field[2] == 0 || field[3] == 0 || field[5] == 0 || field[7] == 0) {
        return CorruptError(imagelib_texts::kHeifBadCrop);
    }
    crop.width = Fraction(field[0], field[1]);
    crop.height = Fraction(field[2], field[3]);
    crop.horizontal_offset = Fraction(static_cast<int32_t>(field[4]), field[5]);
    crop.vertical_offset = Fraction(static_cast<int32_t>(field[6]), field[7]);
    return {};
}

// The side of a crop: the aperture rounded to whole pixels, within 1..side.
int CropSide(double aperture, int side) {
    return static_cast<int>(std::clamp(std::floor(aperture + 0.5), 1.0, static_cast<double>(side)));
}

// The first pixel a crop keeps: the aperture's centre (the picture's centre moved by the offset)
// less half the side kept, rounded, and moved inside the picture.
int CropStart(double offset, int side, int kept) {
    const double start = std::floor(offset + (side - 1) / 2.0 - (kept - 1) / 2.0 + 0.5);
    return static_cast<int>(std::clamp(start, 0.0, static_cast<double>(side - kept)));
}

struct CropRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

CropRect CropOf(const HeifCrop& crop, int width, int height) {
    CropRect rect;
    rect.width = CropSide(crop.width, width);
    rect.height = CropSide(crop.height, height);
    rect.left = CropStart(crop.horizontal_offset, width, rect.width);
    rect.top = CropStart(crop.vertical_offset, height, rect.height);
    return rect;
}

void Crop(Image& image, const CropRect& rect) {
    if (rect.width == image.width() && rect.height == image.height()) {
        return;
    }
    Image cropped;
    cropped.Reset(rect.width, rect.height);
    for (int y = 0; y < rect.height; ++y) {
        const uint8_t* from = image.row(rect.top + y) + 3 * static_cast<size_t>(rect.left);
        std::copy_n(from, cropped.stride(), cropped.row(y));
    }
    image = std::move(cropped);
}

}  // namespace

Result<HeifGeometry> ReadHeifGeometry(ByteView bytes, uint32_t item) {
    HeifGeometry geometry;
    HeifBox meta;
    size_t at = 0;
    while (ReadHeifBox(bytes, at, bytes.size(), meta) && meta.type != HeifBoxType("meta")) {
        at = meta.end;
    }
    if (meta.type != HeifBoxType("meta") || meta.end > bytes.size()) {
        return geometry;
    }
    const std::vector<HeifBox> in_meta = Children(bytes, meta, 4);
    const HeifBox* iprp = FindBox(in_meta, HeifBoxType("iprp"));
    if (iprp == nullptr) {
        return geometry;
    }
    const std::vector<HeifBox> in_iprp = Children(bytes, *iprp);
    const HeifBox* ipco = FindBox(in_iprp, HeifBoxType("ipco"));
    if (ipco == nullptr) {
        return geometry;
    }
    const std::vector<HeifBox> properties = Children(bytes, *ipco);
    std::optional<HeifSize> extent;       // 'ispe'
    std::optional<HeifSize> frame;        // the AV1 sequence header's frame size
    int quarter_turns_before_extent = 0;  // listed before 'ispe'
    for (const HeifBox& ipma : in_iprp) {
        if (ipma.type != HeifBoxType("ipma")) {
            continue;
        }
        for (const uint32_t index : AssociatedProperties(bytes, ipma, item)) {
            if (index < 1 || index > properties.size()) {
                continue;
            }
            const HeifBox& property = properties[index - 1];
            const ByteView body = bytes.subspan(property.body, property.end - property.body);
            HeifTransform transform;
            if (property.type == HeifBoxType("ispe") && !extent && body.size() >= 12) {
                // A full box: version and flags, then width and height.
                extent = HeifSize{ClampedSide(ReadBe32(body, 4)), ClampedSide(ReadBe32(body, 8))};
            } else if (property.type == HeifBoxType("av1C") && !frame) {
                frame = Av1ConfigFrameSize(body);
            } else if (property.type == HeifBoxType("irot") && !body.empty()) {
                transform.kind = HeifTransform::Kind::kRotate;
                transform.anticlockwise_quarters = static_cast<int>(body[0] & 3);
                geometry.transforms.push_back(transform);
                quarter_turns_before_extent += !extent && transform.anticlockwise_quarters % 2 != 0 ? 1 : 0;
            } else if (property.type == HeifBoxType("imir") && !body.empty()) {
                transform.kind = HeifTransform::Kind::kMirror;
                transform.top_bottom = (body[0] & 1) == 0;
                geometry.transforms.push_back(transform);
            } else if (property.type == HeifBoxType("clap")) {
                transform.kind = HeifTransform::Kind::kCrop;
                if (Status read = ReadCrop(body, transform.crop); !read) {
                    return read.error();
                }
                geometry.transforms.push_back(transform);
            }
        }
    }
    if (extent) {
        // 'ispe' holds the coded size. A quarter turn listed before it is a sign of libheif up to
        // 1.15, which put the turned size there; an early AVIF encoder did the same but wrote the
        // coded size. The AV1 sequence header, when the item has one, tells which.
        const HeifSize turned{extent->height, extent->width};
        const bool extent_is_coded = quarter_turns_before_extent % 2 == 0 ||
                                     (frame && frame->width == extent->width && frame->height == extent->height);
        geometry.coded_width = extent_is_coded ? extent->width : turned.width;
        geometry.coded_height = extent_is_coded ? extent->height : turned.height;
    }
    return geometry;
}

HeifSize DisplayedSize(const HeifGeometry& geometry) {
    HeifSize size{geometry.coded_width, geometry.coded_height};
    if (size.width < 1 || size.height < 1) {
        return size;
    }
    for (const HeifTransform& transform : geometry.transforms) {
        if (transform.kind == HeifTransform::Kind::kRotate && transform.anticlockwise_quarters % 2 != 0) {
            std::swap(size.width, size.height);
        } else if (transform.kind == HeifTransform::Kind::kCrop) {
            const CropRect rect = CropOf(transform.crop, size.width, size.height);
            size = {rect.width, rect.height};
        }
    }
    return size;
}

std::optional<size_t> TransformsDone(const HeifGeometry& geometry, int width, int height) {
    if (width == geometry.coded_width && height == geometry.coded_height) {
        return 0;
    }
    if (geometry.transforms.empty() || geometry.transforms.front().kind != HeifTransform::Kind::kCrop ||
        geometry.coded_width < 1 || geometry.coded_height < 1) {
        return std::nullopt;
    }
    const CropRect rect = CropOf(geometry.transforms.front().crop, geometry.coded_width, geometry.coded_height);
    if (width == rect.width && height == rect.height) {
        return 1;
    }
    return std::nullopt;
}

void ApplyHeifTransforms(const HeifGeometry& geometry, size_t first, Image& image) {
    if (image.empty()) {
        return;
    }
    for (size_t i = first; i < geometry.transforms.size(); ++i) {
        const HeifTransform& transform = geometry.transforms[i];
        switch (transform.kind) {
            case HeifTransform::Kind::kRotate:
                if (transform.anticlockwise_quarters != 0) {
                    image = Rotate(image, 90 * (4 - transform.anticlockwise_quarters));
                }
                break;
            case HeifTransform::Kind::kMirror:
                ApplyExifOrientation(image, transform.top_bottom ? 4 : 2);  // Exif's mirrors
                break;
            case HeifTransform::Kind::kCrop:
                Crop(image, CropOf(transform.crop, image.width(), image.height()));
                break;
        }
    }
}

}  // namespace pelimon::imagelib_detail
