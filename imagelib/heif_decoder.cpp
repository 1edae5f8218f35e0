// HEIF/HEIC and AVIF decoding with libheif: the primary image, with the file's transformations
// (irot, imir, clap) applied by heif_geometry.cpp, grid images assembled, 10- and 12-bit samples reduced to 8
// bits, monochrome expanded to RGB and alpha composited over white.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "imagelib/codec_support.h"
#include "imagelib/formats.h"
#include "imagelib/heif_box_reader.h"
#include "imagelib/heif_support.h"

namespace pelimon::imagelib_detail {

namespace {

struct DecodingOptionsFree {
    void operator()(heif_decoding_options* options) const { heif_decoding_options_free(options); }
};

// An embedded thumbnail and its geometry.
struct Thumbnail {
    HeifHandlePtr handle;
    HeifGeometry geometry;
};

// The smallest embedded thumbnail that is at least min_width x min_height and has the primary
// image's proportions (within 1%), both as displayed; nullopt when there is none or thumbnails are
// not allowed.
std::optional<Thumbnail> ChooseThumbnail(ByteView bytes, const OpenedHeif& opened, const DecodeOptions& options) {
    if (!options.allow_thumbnail || options.min_width < 1 || options.min_height < 1) {
        return std::nullopt;
    }
    const heif_image_handle* primary = opened.primary.get();
    const int count = heif_image_handle_get_number_of_thumbnails(primary);
    if (count < 1) {
        return std::nullopt;
    }
    std::vector<heif_item_id> ids(static_cast<size_t>(count));
    const int listed = heif_image_handle_get_list_of_thumbnail_IDs(primary, ids.data(), count);
    const HeifSize shown = DisplayedSize(opened.geometry);
    const double aspect = static_cast<double>(shown.width) / shown.height;
    std::optional<Thumbnail> best;
    int best_width = 0;
    for (int i = 0; i < listed; ++i) {
        const heif_item_id id = ids[static_cast<size_t>(i)];
        Result<HeifGeometry> geometry = ReadHeifGeometry(bytes, id);
        if (!geometry) {
            continue;
        }
        const HeifSize size = DisplayedSize(geometry.value());
        if (size.width < options.min_width || size.height < options.min_height ||
            std::fabs(static_cast<double>(size.width) / size.height / aspect - 1.0) > 0.01 ||
            (best && size.width >= best_width)) {
            continue;
        }
        heif_image_handle* thumbnail = nullptr;
        if (heif_image_handle_get_thumbnail(primary, id, &thumbnail).code != heif_error_Ok) {
            continue;
        }
        best = Thumbnail{HeifHandlePtr(thumbnail), std::move(geometry).value()};
        best_width = size.width;
    }
    return best;
}

Status CopyPixels(const heif_image* image, bool has_alpha, Image& out) {
    const int width = heif_image_get_width(image, heif_channel_interleaved);
    const int height = heif_image_get_height(image, heif_channel_interleaved);
    int stride = 0;
    const uint8_t* plane = heif_image_get_plane_readonly(image, heif_channel_interleaved, &stride);
    const int channels = has_alpha ? 4 : 3;
    if (plane == nullptr || width < 1 || height < 1 || stride < width * channels) {
        return CorruptError(imagelib_texts::kHeifNoPixels);
    }
    out.Reset(width, height);
    for (int y = 0; y < height; ++y) {
        const uint8_t* src = plane + static_cast<size_t>(y) * static_cast<size_t>(stride);
        uint8_t* dst = out.row(y);
        if (!has_alpha) {
            std::copy_n(src, 3 * static_cast<size_t>(width), dst);
            continue;
        }
        for (int x = 0; x < width; ++x) {
            const uint32_t alpha = src[4 * x + 3];
            for (int c = 0; c < 3; ++c) {
                dst[3 * x + c] = OverWhite(src[4 * x + c], alpha);
            }
        }
    }
    return {};
}

// A libheif reader over an open file: libheif reads the boxes it needs and never the image data,
// so a probe costs a few kilobytes whatever the file's size.
struct FileClose {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
struct FileSource {
    std::unique_ptr<std::FILE, FileClose> file;
    int64_t size = 0;
};

int64_t SourcePosition(void* userdata) {
    return std::ftell(static_cast<FileSource*>(userdata)->file.get());
}
int SourceRead(void* data, size_t size, void* userdata) {
    return std::fread(data, 1, size, static_cast<FileSource*>(userdata)->file.get()) == size ? 0 : -1;
}
int SourceSeek(int64_t position, void* userdata) {
    return std::fseek(static_cast<FileSource*>(userdata)->file.get(), static_cast<long>(position), SEEK_SET);
}
heif_reader_grow_status SourceWait(int64_t target_size, void* userdata) {
    return target_size <= static_cast<FileSource*>(userdata)->size ? heif_reader_grow_status_size_reached
                                                                   : heif_reader_grow_status_size_beyond_eof;
}

// Most files keep their boxes in a few kilobytes; a 'meta' box beyond this is not read.
constexpr uint64_t kMaxMetaBoxBytes = uint64_t{64} << 20;

// The top-level 'meta' box of `file`, read whole; empty when the file has none that fits in it.
Result<Bytes> ReadMetaBox(std::FILE* file, int64_t file_size) {
    const auto end = static_cast<uint64_t>(file_size);
    uint64_t at = 0;
    uint8_t header[16];
    while (at + 8 <= end && ReadAt(file, static_cast<int64_t>(at), header, 8)) {
        uint64_t size = ReadBe32(header, 0);
        uint64_t header_size = 8;
        if (size == 1) {
            if (at + 16 > end || !ReadAt(file, static_cast<int64_t>(at), header, 16)) {
                break;
            }
            size = uint64_t{ReadBe32(header, 8)} << 32 | ReadBe32(header, 12);
            header_size = 16;
        } else if (size == 0) {
            size = end - at;
        }
        if (size < header_size || size > end - at) {
            break;
        }
        if (ReadBe32(header, 4) == HeifBoxType("meta")) {
            if (size > kMaxMetaBoxBytes) {
                return CorruptError(imagelib_texts::kHeifUnreadable);
            }
            Bytes box(static_cast<size_t>(size));
            if (!ReadAt(file, static_cast<int64_t>(at), box.data(), box.size())) {
                break;
            }
            return box;
        }
        at += size;
    }
    return Bytes{};
}

}  // namespace

Result<ImageHeader> ProbeHeifFile(const std::string& path, ImageFormat format) {
    EnsureHeifInitialised();
    FileSource source{std::unique_ptr<std::FILE, FileClose>(std::fopen(path.c_str(), "rb")), 0};
    if (!source.file || std::fseek(source.file.get(), 0, SEEK_END) != 0 ||
        (source.size = std::ftell(source.file.get())) < 0 || std::fseek(source.file.get(), 0, SEEK_SET) != 0) {
        return CorruptError(imagelib_texts::kHeifUnreadable);
    }
    static const heif_reader kReader{1, SourcePosition, SourceRead, SourceSeek, SourceWait};
    const HeifContextPtr context(heif_context_alloc());
    if (!context) {
        return CorruptError(imagelib_texts::kHeifReadSetupFailed);
    }
    if (heif_error error = heif_context_read_from_reader(context.get(), &kReader, &source, nullptr);
        error.code != heif_error_Ok) {
        return HeifError(error);
    }
    heif_image_handle* primary = nullptr;
    if (heif_error error = heif_context_get_primary_image_handle(context.get(), &primary);
        error.code != heif_error_Ok) {
        return HeifError(error);
    }
    const HeifHandlePtr owned(primary);
    // Read after libheif, which has no more use for the file.
    const Result<Bytes> meta = ReadMetaBox(source.file.get(), source.size);
    if (!meta) {
        return meta.error();
    }
    const Result<HeifGeometry> geometry = PrimaryGeometry(context.get(), meta.value());
    if (!geometry) {
        return geometry.error();
    }
    const HeifSize shown = DisplayedSize(geometry.value());
    return ImageHeader{format, shown.width, shown.height};
}

Result<ImageHeader> ProbeHeif(ByteView bytes) {
    Result<OpenedHeif> opened = OpenHeif(bytes);
    if (!opened) {
        return opened.error();
    }
    const HeifSize shown = DisplayedSize(opened.value().geometry);
    return ImageHeader{SniffFormat(bytes), shown.width, shown.height};
}

Status DecodeHeif(ByteView bytes, const DecodeOptions& options, Image& out) {
    Result<OpenedHeif> opened = OpenHeif(bytes);
    if (!opened) {
        return opened.error();
    }
    // A grid or overlay declares its canvas again in its own data; libheif allocates that canvas
    // before anything compares it with the declared size, so its limit follows the declared size.
    const HeifGeometry& primary = opened.value().geometry;
    const int declared = std::max(primary.coded_width, primary.coded_height);
    heif_context_set_maximum_image_size_limit(opened.value().context.get(), std::min(2 * declared + 64, kMaxHeifSide));
    const std::optional<Thumbnail> thumbnail = ChooseThumbnail(bytes, opened.value(), options);
    const heif_image_handle* handle = thumbnail ? thumbnail->handle.get() : opened.value().primary.get();
    const HeifGeometry& geometry = thumbnail ? thumbnail->geometry : primary;
    const bool has_alpha = heif_image_handle_has_alpha_channel(handle) != 0;

    const std::unique_ptr<heif_decoding_options, DecodingOptionsFree> decoding(heif_decoding_options_alloc());
    if (!decoding) {
        return CorruptError(imagelib_texts::kHeifReadSetupFailed);
    }
    decoding->convert_hdr_to_8bit = 1;
    decoding->ignore_transformations = 1;  // applied below, as the probes account for them
    heif_image* decoded = nullptr;
    const heif_error error =
        heif_decode_image(handle, &decoded, heif_colorspace_RGB,
                          has_alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, decoding.get());
    const HeifImagePtr image(decoded);
    if (error.code != heif_error_Ok) {
        return HeifError(error);
    }
    if (!image || heif_image_get_bits_per_pixel_range(image.get(), heif_channel_interleaved) != 8) {
        return CorruptError(imagelib_texts::kHeifCannotConvert);
    }
    // A file whose coded picture has another size than its boxes declare is damaged: the batch
    // sized the job from the boxes.
    const std::optional<size_t> done =
        TransformsDone(geometry, heif_image_get_width(image.get(), heif_channel_interleaved),
                       heif_image_get_height(image.get(), heif_channel_interleaved));
    if (!done) {
        return CorruptError(imagelib_texts::kHeifSizeMismatch);
    }
    if (Status copied = CopyPixels(image.get(), has_alpha, out); !copied) {
        return copied;
    }
    ApplyHeifTransforms(geometry, *done, out);
    return {};
}

}  // namespace pelimon::imagelib_detail
