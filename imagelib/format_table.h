// The format table: one row per image format with everything the program knows about it — its
// codes in the settings, its names, extensions and MIME types, what it carries, and its probe,
// decoders and encoder. Listing, sniffing, decoding, naming, rendering, the command line, the
// window's type boxes and output choices, and the lists generated at build time (completion,
// desktop and AppStream MIME types, man page) all look formats up here; nothing else lists them.
//
// The rows are in the order the command line and the man page list the formats (the most used
// first). Where the order of codes matters (the window's boxes and choices), users sort by code.
#pragma once

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/result.h"
#include "imagelib/embedded_metadata.h"
#include "imagelib/imagelib.h"

namespace pelimon {

// How a file name shows the format's extensions (compared on a lower-case copy of the name).
enum class NameMatch {
    kAnywhere,             // anywhere in the name, as the first formats always were ("a.bmp.txt" is BMP)
    kAfterFirstCharacter,  // anywhere after the first character, so that a hidden file ".png" is none
    kAtEnd,                // at the end of a name that has more than the extension
};

// Where a source's metadata (Exif, XMP, IPTC, colour profile) lies, which says how much of the
// file is read for it.
enum class MetadataPlace {
    kNone,             // none is read from this format
    kLeadingSegments,  // in segments before the image data (JPEG): the file's start is enough
    // In chunks before and after the image data (PNG): the file is read without its image data
    // (ReadPngWithoutImageData), a few small reads however large it is.
    kOutsideImageData,
    kAnywhere,  // in chunks or boxes anywhere in the file: the whole file is read
    // In directories and values anywhere in the file (TIFF): read through IFD0 into a small TIFF
    // of its own (ReadTiffMetadataFile), a few small reads however large the file is.
    kTiffDirectories,
    // In directories near the start of the file, before the raw data (camera raw): the start that
    // holds them is read (RawMetadataExtent), at most kMaxFileStartMetadataBytes.
    kFileStart,
};

// The most MetadataPlace::kFileStart reads: camera raw files keep their directories and embedded
// JPEG's Exif in the first few megabytes, ahead of tens of megabytes of raw data.
inline constexpr size_t kMaxFileStartMetadataBytes = size_t{8} << 20;

// How the decoder shrinks on load when DecodeOptions asks for a minimum size.
enum class ShrinkOnLoad {
    kNever,      // always the full size
    kDctScale,   // a DCT scale of 1/8 .. 8/8 (JPEG), which DecodedPixelCount predicts
    kRescaler,   // the codec's own area-averaging rescaler (WebP)
    kThumbnail,  // the embedded thumbnail, with DecodeOptions::allow_thumbnail only (HEIF/AVIF)
    // The embedded preview when it is at least the size asked for, else the raw data developed at
    // half size when that is (camera raw); either may differ a little from the probed size.
    kPreview,
};

// The format's codes in the settings, as the INI and parameter files store them.
struct FormatCodes {
    int32_t image_type = 0;   // its ImageType bit (the types the file list shows); rows may share one
    int32_t file_type = 0;    // the FileType that writes it; 0 when the program does not write it
    int32_t output_type = 0;  // the OutputType of a job that writes it; 0 likewise
};

// What a file of the format can hold.
struct FormatCarries {
    bool exif = false;
    bool xmp = false;
    bool iptc = false;         // the Photoshop block with IPTC data
    bool icc_profile = false;  // an ICC colour profile
    bool alpha = false;        // transparency, which the decoders composite over white
    bool Metadata() const { return exif || xmp || iptc || icc_profile; }
};

// The main window's controls of the format, by their object names id<number>; 0 for none.
struct WindowControls {
    int type_box = 0;       // the type filter's check box of its ImageType bit
    int output_choice = 0;  // the output format's radio button
};

struct FormatRow {
    ImageFormat format = ImageFormat::kUnknown;
    // One lower-case word: the command line's name for it as an output (-f), the name of its fuzz
    // target and of the folders of its fuzz inputs.
    std::string_view name{};
    std::string_view display_name{};              // "JPEG", "WebP", "HEIF/HEIC": lists and the output choice
    std::span<const std::string_view> aliases{};  // further names the command line accepts ("jpg")
    FormatCodes codes{};
    std::span<const std::string_view> extensions{};  // lower case with the dot; an output gets the first
    NameMatch name_match = NameMatch::kAtEnd;
    std::span<const std::string_view> mime_types{};
    // The format "same as the source" writes for a source of this one (itself when it is written).
    ImageFormat same_as_source = ImageFormat::kUnknown;
    // The caption of the type filter's box for its ImageType bit; empty for a row that shares the
    // box of an earlier row with the same bit.
    std::string_view type_box_caption{};
    WindowControls window{};
    FormatCarries carries{};
    bool takes_quality = false;  // the encoder takes the 1..100 quality, and so the target file size
    // The encoder stores Exif, XMP and IPTC in segments of at most 64 KB (JPEG): larger blocks
    // are left out, which the batch reports (FitInJpegSegments).
    bool metadata_in_segments = false;
    MetadataPlace source_metadata = MetadataPlace::kNone;
    ShrinkOnLoad shrink = ShrinkOnLoad::kNever;
    // The header may lie beyond the first 64 KB (after large APPn segments or extension blocks):
    // ProbeImageFile reads more until the probe succeeds.
    bool header_may_lie_deep = false;

    // Whether `bytes` begin with this format's signature.
    bool (*sniff)(ByteView bytes) = nullptr;
    // Reads only the header of a file in memory.
    Result<ImageHeader> (*probe)(ByteView bytes) = nullptr;
    // Reads the header from the file itself when a prefix in memory will not do (HEIF/AVIF); null
    // when the probe of a prefix is enough.
    Result<ImageHeader> (*probe_file)(const std::string& path, ImageFormat format) = nullptr;
    // Decodes the first image into `out`; leaves it empty on failure.
    Status (*decode)(ByteView bytes, const DecodeOptions& options, Image& out) = nullptr;
    // Whether the file whose first bytes are `prefix` decodes row by row; null when none does.
    bool (*streams)(ByteView prefix) = nullptr;
    // Decodes row by row from `file`'s current position (when `streams` says so).
    Status (*decode_rows)(std::FILE* file, const DecodeOptions& options, RowSink& sink) = nullptr;
    // Encodes an output; null when the program does not write the format.
    Result<Bytes> (*encode)(const Image& image, const EncodeOptions& options) = nullptr;
    // Stores a JPEG file losslessly in this format (JPEG XL), for a JPEG source whose pixels the job
    // leaves as they are; null for a format that cannot.
    Result<Bytes> (*recompress_jpeg)(ByteView jpeg) = nullptr;
    // Reads the metadata blocks kept beside the pixels (HEIF, WebP, PNG); null when the blocks are
    // read elsewhere (the segments of a JPEG) or not at all.
    void (*read_metadata)(ByteView bytes, EmbeddedMetadata& out) = nullptr;

    bool Written() const { return encode != nullptr; }
    // The extension an output of the format gets (".jpg").
    std::string_view OutputExtension() const { return extensions.front(); }
};

// Every row, in the table's order.
std::span<const FormatRow> FormatTable();

// The row of a format; `format` must not be kUnknown.
const FormatRow& FormatRowOf(ImageFormat format);

// The row whose signature `bytes` begin with; nullptr for none.
const FormatRow* FormatOfBytes(ByteView bytes);

// The row a file name shows by its extensions (NameMatch). When several rows match, the one with
// the highest ImageType bit wins, so "photo.bmp.jpg" is JPEG and "scan.png.bmp" PNG; nullptr when
// none matches.
const FormatRow* FormatOfName(std::string_view file_name);

// The written row of a FileType value, of an OutputType value, or of a command-line name or
// alias (exactly as written); nullptr for a value no row has.
const FormatRow* FormatOfFileType(int32_t file_type);
const FormatRow* FormatOfOutputType(int32_t output_type);
const FormatRow* FormatOfCommandName(std::string_view name);

// The rows that have a `code` (not 0), sorted by it; rows with the same code keep the table's
// order. The window shows its type boxes by ImageType bit and its output choices by FileType.
std::vector<const FormatRow*> FormatsInCodeOrder(int32_t FormatCodes::*code);

// The display names of the written formats that take a quality, and so a target file size, in
// the table's order ("JPEG", "WebP", "AVIF").
std::vector<std::string_view> QualityFormatNames();

// Every ImageType bit of the table: the types a new settings file lists.
int32_t AllImageTypes();

}  // namespace pelimon
