// The rows of the format table and the lookups over them. Adding a format is its codec files, its
// ImageFormat value and its row here.
#include "imagelib/format_table.h"

#include <algorithm>
#include <array>
#include <cassert>

#include "common/text.h"
#include "imagelib/formats.h"

namespace pelimon {

using namespace imagelib_detail;

namespace {

constexpr std::string_view kJpegAliases[] = {"jpg"};
constexpr std::string_view kJpegExtensions[] = {".jpg", ".jpeg"};
constexpr std::string_view kJpegMime[] = {"image/jpeg"};
constexpr std::string_view kPngExtensions[] = {".png"};
constexpr std::string_view kPngMime[] = {"image/png"};
constexpr std::string_view kGifExtensions[] = {".gif"};
constexpr std::string_view kGifMime[] = {"image/gif"};
constexpr std::string_view kBmpExtensions[] = {".bmp"};
constexpr std::string_view kBmpMime[] = {"image/bmp"};
constexpr std::string_view kWebpExtensions[] = {".webp"};
constexpr std::string_view kWebpMime[] = {"image/webp"};
constexpr std::string_view kHeifExtensions[] = {".heic", ".heif", ".hif"};
constexpr std::string_view kHeifMime[] = {"image/heic", "image/heif"};
constexpr std::string_view kAvifExtensions[] = {".avif"};
constexpr std::string_view kAvifMime[] = {"image/avif"};
constexpr std::string_view kTiffAliases[] = {"tif"};
constexpr std::string_view kTiffExtensions[] = {".tif", ".tiff"};
constexpr std::string_view kTiffMime[] = {"image/tiff"};
constexpr std::string_view kRawExtensions[] = {".dng", ".cr2", ".cr3", ".crw", ".nef", ".nrw", ".arw", ".sr2", ".srf",
                                               ".raf", ".orf", ".rw2", ".rwl", ".pef", ".srw", ".3fr", ".fff", ".iiq",
                                               ".kdc", ".dcr", ".mrw", ".x3f", ".erf", ".mef", ".mos", ".gpr"};
constexpr std::string_view kRawMime[] = {
    "image/x-adobe-dng",   "image/x-canon-cr2",   "image/x-canon-cr3",   "image/x-canon-crw",
    "image/x-nikon-nef",   "image/x-nikon-nrw",   "image/x-sony-arw",    "image/x-sony-sr2",
    "image/x-sony-srf",    "image/x-fuji-raf",    "image/x-olympus-orf", "image/x-panasonic-rw2",
    "image/x-pentax-pef",  "image/x-samsung-srw", "image/x-kodak-kdc",   "image/x-kodak-dcr",
    "image/x-minolta-mrw", "image/x-sigma-x3f",   "image/x-epson-erf",   "image/x-hasselblad-3fr",
    "image/x-leaf-mos",    "image/x-mamiya-mef",  "image/x-phaseone-iiq"};
constexpr std::string_view kJxlExtensions[] = {".jxl"};
constexpr std::string_view kJxlMime[] = {"image/jxl"};

bool AlwaysStreams(ByteView /*prefix*/) {
    return true;
}
bool PngStreams(ByteView prefix) {
    return !PngIsInterlaced(prefix);
}
bool BmpStreams(ByteView prefix) {
    return !BmpIsCompressed(prefix);
}

const std::array<FormatRow, 10> kFormats = {{
    {
        .format = ImageFormat::kJpeg,
        .name = "jpeg",
        .display_name = "JPEG",
        .aliases = kJpegAliases,
        .codes = {.image_type = 2, .file_type = 4, .output_type = 2},
        .extensions = kJpegExtensions,
        .name_match = NameMatch::kAnywhere,
        .mime_types = kJpegMime,
        .same_as_source = ImageFormat::kJpeg,
        .type_box_caption = "JPEG",
        .window = {.type_box = 1008, .output_choice = 1018},
        .carries = {.exif = true, .xmp = true, .iptc = true, .icc_profile = true, .alpha = false},
        .takes_quality = true,
        .metadata_in_segments = true,
        .source_metadata = MetadataPlace::kLeadingSegments,
        .shrink = ShrinkOnLoad::kDctScale,
        .header_may_lie_deep = true,
        .sniff = SniffsJpeg,
        .probe = ProbeJpeg,
        .decode = DecodeJpeg,
        .streams = AlwaysStreams,
        .decode_rows = DecodeJpegRows,
        .encode = EncodeJpeg,
    },
    {
        .format = ImageFormat::kPng,
        .name = "png",
        .display_name = "PNG",
        .codes = {.image_type = 4, .file_type = 8, .output_type = 4},
        .extensions = kPngExtensions,
        .name_match = NameMatch::kAfterFirstCharacter,
        .mime_types = kPngMime,
        .same_as_source = ImageFormat::kPng,
        .type_box_caption = "PNG",
        .window = {.type_box = 1009, .output_choice = 1019},
        .carries = {.exif = true, .xmp = true, .iptc = false, .icc_profile = true, .alpha = true},
        .source_metadata = MetadataPlace::kOutsideImageData,
        .sniff = SniffsPng,
        .probe = ProbePng,
        .decode = DecodePng,
        .streams = PngStreams,
        .decode_rows = DecodePngRows,
        .encode = EncodePng,
        .read_metadata = ReadPngMetadata,
    },
    {
        .format = ImageFormat::kGif,
        .name = "gif",
        .display_name = "GIF",
        .codes = {.image_type = 8, .file_type = 16, .output_type = 8},
        .extensions = kGifExtensions,
        .name_match = NameMatch::kAfterFirstCharacter,
        .mime_types = kGifMime,
        .same_as_source = ImageFormat::kGif,
        .type_box_caption = "GIF",
        .window = {.type_box = 1029, .output_choice = 1032},
        .carries = {.alpha = true},
        .header_may_lie_deep = true,
        .sniff = SniffsGif,
        .probe = ProbeGif,
        .decode = DecodeGif,
        .encode = EncodeGif,
    },
    {
        .format = ImageFormat::kBmp,
        .name = "bmp",
        .display_name = "BMP",
        .codes = {.image_type = 1, .file_type = 2, .output_type = 1},
        .extensions = kBmpExtensions,
        .name_match = NameMatch::kAnywhere,
        .mime_types = kBmpMime,
        .same_as_source = ImageFormat::kBmp,
        .type_box_caption = "BMP",
        .window = {.type_box = 1007, .output_choice = 1017},
        .carries = {.alpha = true},
        .sniff = SniffsBmp,
        .probe = ProbeBmp,
        .decode = DecodeBmp,
        .streams = BmpStreams,
        .decode_rows = DecodeBmpRows,
        .encode = EncodeBmp,
    },
    {
        .format = ImageFormat::kWebp,
        .name = "webp",
        .display_name = "WebP",
        .codes = {.image_type = 16, .file_type = 64, .output_type = 32},
        .extensions = kWebpExtensions,
        .name_match = NameMatch::kAtEnd,
        .mime_types = kWebpMime,
        .same_as_source = ImageFormat::kWebp,
        .type_box_caption = "WebP",
        .window = {.type_box = 1039, .output_choice = 1041},
        .carries = {.exif = true, .xmp = true, .iptc = false, .icc_profile = true, .alpha = true},
        .takes_quality = true,
        .source_metadata = MetadataPlace::kAnywhere,
        .shrink = ShrinkOnLoad::kRescaler,
        .sniff = SniffsWebp,
        .probe = ProbeWebp,
        .decode = DecodeWebp,
        .encode = EncodeWebp,
        .read_metadata = ReadWebpMetadata,
    },
    {
        // HEIF and HEIC (HEVC); not written: "same as the source" gives JPEG.
        .format = ImageFormat::kHeif,
        .name = "heif",
        .display_name = "HEIF/HEIC",
        .codes = {.image_type = 32},
        .extensions = kHeifExtensions,
        .name_match = NameMatch::kAtEnd,
        .mime_types = kHeifMime,
        .same_as_source = ImageFormat::kJpeg,
        .type_box_caption = "HEIF/AVIF",
        .window = {.type_box = 1040},
        .carries = {.exif = true, .xmp = true, .iptc = false, .icc_profile = true, .alpha = true},
        .source_metadata = MetadataPlace::kAnywhere,
        .shrink = ShrinkOnLoad::kThumbnail,
        .sniff = SniffsHeif,
        .probe = ProbeHeif,
        .probe_file = ProbeHeifFile,
        .decode = DecodeHeif,
        .read_metadata = ReadHeifMetadata,
    },
    {
        // HEIF files whose brand says AV1; listed with HEIF under the same ImageType bit and box.
        .format = ImageFormat::kAvif,
        .name = "avif",
        .display_name = "AVIF",
        .codes = {.image_type = 32, .file_type = 128, .output_type = 64},
        .extensions = kAvifExtensions,
        .name_match = NameMatch::kAtEnd,
        .mime_types = kAvifMime,
        .same_as_source = ImageFormat::kAvif,
        .window = {.output_choice = 1042},
        .carries = {.exif = true, .xmp = true, .iptc = false, .icc_profile = true, .alpha = true},
        .takes_quality = true,
        .source_metadata = MetadataPlace::kAnywhere,
        .shrink = ShrinkOnLoad::kThumbnail,
        .sniff = SniffsAvif,
        .probe = ProbeHeif,
        .probe_file = ProbeHeifFile,
        .decode = DecodeHeif,
        .encode = EncodeAvif,
        .read_metadata = ReadHeifMetadata,
    },
    {
        // libjxl applies the file's orientation itself, as libheif does for HEIF.
        .format = ImageFormat::kJxl,
        .name = "jxl",
        .display_name = "JPEG XL",
        .codes = {.image_type = 128, .file_type = 512, .output_type = 256},
        .extensions = kJxlExtensions,
        .name_match = NameMatch::kAtEnd,
        .mime_types = kJxlMime,
        .same_as_source = ImageFormat::kJxl,
        .type_box_caption = "JPEG XL",
        .window = {.type_box = 1045, .output_choice = 1047},
        .carries = {.exif = true, .xmp = true, .iptc = false, .icc_profile = true, .alpha = true},
        .takes_quality = true,
        .source_metadata = MetadataPlace::kAnywhere,
        .header_may_lie_deep = true,
        .sniff = SniffsJxl,
        .probe = ProbeJxl,
        .decode = DecodeJxl,
        .encode = EncodeJxl,
        .recompress_jpeg = RecompressJpegAsJxl,
        .read_metadata = ReadJxlMetadata,
    },
    {
        // Camera raw files, through libraw; not written: "same as the source" gives JPEG. Before
        // any TIFF row: most raw formats are TIFF structures, told apart by their first directory.
        .format = ImageFormat::kRaw,
        .name = "raw",
        .display_name = "RAW",
        .codes = {.image_type = 256},
        .extensions = kRawExtensions,
        .name_match = NameMatch::kAtEnd,
        .mime_types = kRawMime,
        .same_as_source = ImageFormat::kJpeg,
        .type_box_caption = "RAW",
        .window = {.type_box = 1048},
        .carries = {.exif = true, .xmp = true, .iptc = false, .icc_profile = false, .alpha = false},
        .source_metadata = MetadataPlace::kFileStart,
        .shrink = ShrinkOnLoad::kPreview,
        .sniff = SniffsRaw,
        .probe = ProbeRaw,
        .probe_file = ProbeRawFile,
        .decode = DecodeRaw,
        .streams = AlwaysStreams,
        .decode_rows = DecodeRawRows,
        .read_metadata = ReadRawMetadata,
    },
    {
        // The first page of a TIFF or BigTIFF file, strips or tiles, decoded row by row.
        .format = ImageFormat::kTiff,
        .name = "tiff",
        .display_name = "TIFF",
        .aliases = kTiffAliases,
        .codes = {.image_type = 64, .file_type = 256, .output_type = 128},
        .extensions = kTiffExtensions,
        .name_match = NameMatch::kAtEnd,
        .mime_types = kTiffMime,
        .same_as_source = ImageFormat::kTiff,
        .type_box_caption = "TIFF",
        .window = {.type_box = 1043, .output_choice = 1044},
        .carries = {.exif = true, .xmp = true, .iptc = true, .icc_profile = true, .alpha = true},
        .source_metadata = MetadataPlace::kTiffDirectories,
        .sniff = SniffsTiff,
        .probe = ProbeTiff,
        .probe_file = ProbeTiffFile,
        .decode = DecodeTiff,
        .streams = AlwaysStreams,
        .decode_rows = DecodeTiffRows,
        .encode = EncodeTiff,
        .read_metadata = ReadTiffEmbeddedMetadata,
    },
}};

bool NameShows(std::string_view lower, std::string_view extension, NameMatch match) {
    switch (match) {
        case NameMatch::kAnywhere:
            return lower.find(extension) != std::string_view::npos;
        case NameMatch::kAfterFirstCharacter:
            return lower.find(extension, 1) != std::string_view::npos;
        case NameMatch::kAtEnd:
            return lower.size() > extension.size() && lower.ends_with(extension);
    }
    return false;
}

template <typename Matches>
const FormatRow* FindRow(Matches matches) {
    for (const FormatRow& row : kFormats) {
        if (matches(row)) {
            return &row;
        }
    }
    return nullptr;
}

}  // namespace

std::span<const FormatRow> FormatTable() {
    return kFormats;
}

const FormatRow& FormatRowOf(ImageFormat format) {
    const FormatRow* row = FindRow([format](const FormatRow& r) { return r.format == format; });
    assert(row != nullptr && "every ImageFormat but kUnknown has a row");
    return *row;
}

const FormatRow* FormatOfBytes(ByteView bytes) {
    return FindRow([bytes](const FormatRow& r) { return r.sniff(bytes); });
}

ImageFormat SniffFormat(ByteView bytes) {
    const FormatRow* row = FormatOfBytes(bytes);
    return row != nullptr ? row->format : ImageFormat::kUnknown;
}

const FormatRow* FormatOfName(std::string_view file_name) {
    const std::string lower = ToLowerAscii(file_name);
    const FormatRow* found = nullptr;
    for (const FormatRow& row : kFormats) {
        if (found != nullptr && row.codes.image_type < found->codes.image_type) {
            continue;
        }
        for (const std::string_view extension : row.extensions) {
            if (NameShows(lower, extension, row.name_match)) {
                found = &row;
                break;
            }
        }
    }
    return found;
}

const FormatRow* FormatOfFileType(int32_t file_type) {
    return FindRow([file_type](const FormatRow& r) { return r.Written() && r.codes.file_type == file_type; });
}

const FormatRow* FormatOfOutputType(int32_t output_type) {
    return FindRow([output_type](const FormatRow& r) { return r.Written() && r.codes.output_type == output_type; });
}

const FormatRow* FormatOfCommandName(std::string_view name) {
    return FindRow([name](const FormatRow& r) {
        if (!r.Written()) {
            return false;
        }
        if (r.name == name) {
            return true;
        }
        for (const std::string_view alias : r.aliases) {
            if (alias == name) {
                return true;
            }
        }
        return false;
    });
}

std::vector<const FormatRow*> FormatsInCodeOrder(int32_t FormatCodes::*code) {
    std::vector<const FormatRow*> rows;
    for (const FormatRow& row : kFormats) {
        if (row.codes.*code != 0) {
            rows.push_back(&row);
        }
    }
    std::stable_sort(rows.begin(), rows.end(),
                     [code](const FormatRow* a, const FormatRow* b) { return a->codes.*code < b->codes.*code; });
    return rows;
}

std::vector<std::string_view> QualityFormatNames() {
    std::vector<std::string_view> names;
    for (const FormatRow& row : kFormats) {
        if (row.Written() && row.takes_quality) {
            names.push_back(row.display_name);
        }
    }
    return names;
}

int32_t AllImageTypes() {
    int32_t bits = 0;
    for (const FormatRow& row : kFormats) {
        bits |= row.codes.image_type;
    }
    return bits;
}

}  // namespace pelimon
