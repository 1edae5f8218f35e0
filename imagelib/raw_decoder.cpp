// Camera raw files through libraw. A file whose embedded preview (most cameras store a full-size
// JPEG) is at least the size asked for is reduced from that preview: quick, and it shows the
// camera's own rendering. Otherwise the raw data is developed: camera white balance, sRGB, 8 bits,
// at half size (each 2 x 2 block of the colour filter array one pixel, no interpolation) when
// that still gives the size asked for; a Bayer mosaic is developed at half size here, straight
// from the unpacked raw data (raw_half_develop.cpp), anything else by libraw. Either way the
// file's own turn is applied once.
//
// A file whose raw data is missing or cut short (stripped files keep only their metadata) is
// refused, never developed into a black or garbage picture; its preview still serves when it is
// whole and large enough.
#include <algorithm>
#include <cmath>
#include <memory>

#include "imagelib/codec_support.h"
#include "imagelib/formats.h"
#include "imagelib/raw_half_develop.h"
#include "imagelib/raw_session.h"

namespace pelimon::imagelib_detail {

namespace {

// A preview serves when its proportions are the raw picture's within this share (cameras crop a
// few pixels of the sensor's border differently in the two).
constexpr double kPreviewAspectTolerance = 0.02;

struct Size {
    int width = 0;
    int height = 0;
};

// The size asked for, in the sensor's frame (before the file's turn); the full picture when the
// options ask for no minimum.
Size WantedSize(const LibRaw& raw, const DecodeOptions& options, bool swap) {
    if (options.min_width <= 0 && options.min_height <= 0) {
        return {raw.imgdata.sizes.width, raw.imgdata.sizes.height};
    }
    return swap ? Size{options.min_height, options.min_width} : Size{options.min_width, options.min_height};
}

// The proportions of the developed picture before the file's turn: a Fuji sensor turned by 45
// degrees gives fuji_width by height - fuji_width (both over the square root of 1/2), and pixels
// that are not square are stretched to square ones, as libraw develops them.
double DevelopedAspect(LibRaw& raw) {
    const libraw_image_sizes_t& sizes = raw.imgdata.sizes;
    const int fuji_width = raw.get_internal_data_pointer()->internal_output_params.fuji_width;
    if (fuji_width != 0 && sizes.height > fuji_width) {
        return static_cast<double>(fuji_width) / (sizes.height - fuji_width);
    }
    const double aspect = static_cast<double>(sizes.width) / sizes.height;
    return sizes.pixel_aspect > 0 ? aspect * sizes.pixel_aspect : aspect;
}

// Whether a preview of `preview` pixels serves for `wanted`: large enough and of the developed
// picture's proportions (a letterboxed preview would come out stretched).
bool ServesAs(Size preview, Size wanted, LibRaw& raw) {
    const double aspect = static_cast<double>(preview.width) / preview.height;
    return preview.width >= wanted.width && preview.height >= wanted.height &&
           std::fabs(aspect / DevelopedAspect(raw) - 1.0) <= kPreviewAspectTolerance;
}

// The raw file: in memory, or an open file read only where libraw looks (its directories, then
// the preview or the raw data), so that taking the preview of a large file reads little of it.
struct RawInput {
    ByteView bytes;
    int fd = -1;

    Status Open(RawSession& session) const { return fd >= 0 ? session.OpenDescriptor(fd) : session.Open(bytes); }
};

enum class PreviewUse { kServed, kNotRead, kFailed };

// The embedded preview, decoded with the options' shrink-on-load, when it is whole and serves. A
// preview whose stated size is too small is not read (kNotRead); one that was read but did not
// serve (kFailed) may have left libraw without its file.
PreviewUse DecodePreview(RawSession& session, Size wanted, const DecodeOptions& options, Image& out) {
    LibRaw& raw = session.raw();
    const libraw_thumbnail_t& thumbnail = raw.imgdata.thumbnail;
    const bool too_small = thumbnail.twidth > 0 && thumbnail.theight > 0 &&
                           (thumbnail.twidth < wanted.width || thumbnail.theight < wanted.height);
    if (thumbnail.tlength == 0 || too_small) {
        return PreviewUse::kNotRead;
    }
    if (session.UnpackPreview() != LIBRAW_SUCCESS || thumbnail.thumb == nullptr) {
        return PreviewUse::kFailed;
    }
    const ByteView bytes(reinterpret_cast<const uint8_t*>(thumbnail.thumb), thumbnail.tlength);
    if (thumbnail.tformat == LIBRAW_THUMBNAIL_BITMAP) {
        const Size size{thumbnail.twidth, thumbnail.theight};
        if (size.width < 1 || size.height < 1 ||
            size_t{thumbnail.tlength} != size_t{thumbnail.twidth} * thumbnail.theight * 3 ||
            !ServesAs(size, wanted, raw)) {
            return PreviewUse::kFailed;
        }
        out.Reset(size.width, size.height);
        std::copy(bytes.begin(), bytes.end(), out.data());
        return PreviewUse::kServed;
    }
    if (thumbnail.tformat != LIBRAW_THUMBNAIL_JPEG || !SniffsJpeg(bytes)) {
        return PreviewUse::kFailed;
    }
    const Result<ImageHeader> header = ProbeJpeg(bytes);
    if (!header || !ServesAs({header.value().width, header.value().height}, wanted, raw)) {
        return PreviewUse::kFailed;
    }
    DecodeOptions jpeg_options;
    if (options.min_width > 0 || options.min_height > 0) {
        jpeg_options.min_width = wanted.width;
        jpeg_options.min_height = wanted.height;
    }
    return DecodeJpeg(bytes, jpeg_options, out).ok() ? PreviewUse::kServed : PreviewUse::kFailed;
}

struct ProcessedImageFree {
    void operator()(libraw_processed_image_t* image) const { LibRaw::dcraw_clear_mem(image); }
};

// What developing takes at most: the raw data, libraw's four 16-bit channels per output pixel and
// the 8-bit result.
int64_t DevelopBytes(const LibRaw& raw, bool half) {
    const libraw_image_sizes_t& sizes = raw.imgdata.sizes;
    const int64_t raw_bytes = int64_t{sizes.raw_width} * sizes.raw_height * (raw.imgdata.idata.filters != 0 ? 2 : 8);
    const int64_t output = int64_t{sizes.width} * sizes.height / (half ? 4 : 1);
    return raw_bytes + output * (8 + 3);
}

Status Develop(RawSession& session, Size wanted, const DecodeOptions& options, Image& out) {
    LibRaw& raw = session.raw();
    libraw_output_params_t& params = raw.imgdata.params;
    const libraw_image_sizes_t& sizes = raw.imgdata.sizes;
    params.use_camera_wb = 1;
    params.output_color = 1;  // sRGB
    params.output_bps = 8;
    params.half_size = (options.min_width > 0 || options.min_height > 0) && sizes.width / 2 >= wanted.width &&
                       sizes.height / 2 >= wanted.height;
    if (const int64_t needed = DevelopBytes(raw, params.half_size != 0);
        needed > int64_t{kMaxRawMemoryMegabytes} << 20) {
        return MemoryError(sizes.width, sizes.height, needed);
    }
    if (Status unpacked = session.Unpack(); !unpacked) {
        return unpacked;
    }
    if (params.half_size != 0 && DevelopsAtHalfSize(raw)) {
        DevelopAtHalfSize(raw, out);
        ApplyExifOrientation(out, session.Orientation());
        return {};
    }
    int code = LIBRAW_SUCCESS;
    std::unique_ptr<libraw_processed_image_t, ProcessedImageFree> image;
    {
        const RawWatchdog watchdog(raw);
        code = raw.dcraw_process();
        if (code == LIBRAW_SUCCESS) {
            image.reset(raw.dcraw_make_mem_image(&code));
        }
        if (watchdog.fired()) {
            return CorruptError(imagelib_texts::kRawTooSlow);
        }
    }
    if (Status processed = RawSession::StatusOf(code); !processed) {
        return processed;
    }
    if (image == nullptr || image->type != LIBRAW_IMAGE_BITMAP || image->bits != 8 ||
        (image->colors != 3 && image->colors != 1)) {
        return CorruptError(imagelib_texts::kRawDamaged);
    }
    if (Status size = CheckDimensions(image->width, image->height, 65535); !size) {
        return size;
    }
    const size_t channels = image->colors;
    if (image->data_size < size_t{image->width} * image->height * channels) {
        return CorruptError(imagelib_texts::kRawDamaged);
    }
    out.Reset(image->width, image->height);
    const uint8_t* source = image->data;
    for (int y = 0; y < out.height(); ++y) {
        uint8_t* row = out.row(y);
        for (int x = 0; x < out.width(); ++x, source += channels) {
            for (size_t c = 0; c < 3; ++c) {
                row[3 * x + static_cast<int>(c)] = source[channels == 3 ? c : 0];
            }
        }
    }
    return {};
}

// When the raw data cannot be developed (a stripped or cut file), a smaller preview still serves
// down to half the size asked for: shrink-on-load asks for twice the output's size, so that
// preview still gives the output without enlarging it.
Status DecodeSmallerPreview(const RawInput& input, const DecodeOptions& options, Status developed, Image& out) {
    if (developed.ok() || (options.min_width <= 0 && options.min_height <= 0)) {
        return developed;
    }
    RawSession session;
    if (!input.Open(session)) {
        return developed;
    }
    const int orientation = session.Orientation();
    const Size asked = WantedSize(session.raw(), options, orientation >= 5);
    const Size half{(asked.width + 1) / 2, (asked.height + 1) / 2};
    DecodeOptions smaller = options;
    smaller.min_width = (options.min_width + 1) / 2;
    smaller.min_height = (options.min_height + 1) / 2;
    if (DecodePreview(session, half, smaller, out) != PreviewUse::kServed) {
        out.Reset(0, 0);
        return developed;
    }
    ApplyExifOrientation(out, orientation);
    return {};
}

Status Decode(const RawInput& input, const DecodeOptions& options, Image& out) {
    RawSession session;
    if (Status opened = input.Open(session); !opened) {
        return opened;
    }
    const int orientation = session.Orientation();
    const Size wanted = WantedSize(session.raw(), options, orientation >= 5);
    const PreviewUse preview = DecodePreview(session, wanted, options, out);
    if (preview == PreviewUse::kServed) {
        ApplyExifOrientation(out, orientation);
        return {};
    }
    // libraw turns the developed picture itself.
    if (preview == PreviewUse::kNotRead) {
        return Develop(session, wanted, options, out);
    }
    RawSession developing;
    if (Status opened = input.Open(developing); !opened) {
        return opened;
    }
    return Develop(developing, wanted, options, out);
}

}  // namespace

Result<ImageHeader> ProbeRaw(ByteView bytes) {
    RawSession session;
    if (Status opened = session.Open(bytes); !opened) {
        return opened.error();
    }
    return session.ShownHeader();
}

Result<ImageHeader> ProbeRawFile(const std::string& path, ImageFormat /*format*/) {
    RawSession session;
    if (Status opened = session.OpenFile(path); !opened) {
        return opened.error();
    }
    return session.ShownHeader();
}

Status DecodeRaw(ByteView bytes, const DecodeOptions& options, Image& out) {
    const RawInput input{bytes};
    return DecodeSmallerPreview(input, options, Decode(input, options, out), out);
}

Status DecodeRawRows(std::FILE* file, const DecodeOptions& options, RowSink& sink) {
    // A stream without a descriptor (a file in memory) is read whole.
    Bytes whole;
    const int fd = fileno(file);
    if (fd < 0) {
        const int64_t size = fseeko(file, 0, SEEK_SET) == 0 ? RemainingBytes(file) : 0;
        whole.resize(static_cast<size_t>(size));
        whole.resize(std::fread(whole.data(), 1, whole.size(), file));
    }
    const RawInput input{whole, fd};
    Image image;
    if (Status decoded = DecodeSmallerPreview(input, options, Decode(input, options, image), image); !decoded) {
        return decoded;
    }
    if (Status begun = sink.Begin(image.width(), image.height()); !begun) {
        return begun;
    }
    for (int y = 0; y < image.height(); ++y) {
        sink.Row(image.row(y));
    }
    return {};
}

}  // namespace pelimon::imagelib_detail
