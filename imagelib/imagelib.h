// pelimon's image library: decoding, encoding, resampling and pixel filters on Image.
// Every function is thread-safe (no shared mutable state); failures are values naming the cause.
// This header is the contract the batch, the preview and the tests use; the implementation is
// split by responsibility over the files of this folder.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "common/result.h"
#include "imagelib/image.h"

namespace pelimon {

using Bytes = std::vector<uint8_t>;
using ByteView = std::span<const uint8_t>;

// Version of this library; start-up refuses anything below kMinimumLibraryVersion.
inline constexpr uint16_t kMinimumLibraryVersion = 111;
uint16_t ImgGetVersion();

// Decoded images larger than this (after any shrink-on-load) are refused: 256 megapixels.
inline constexpr int64_t kMaxDecodedPixels = int64_t{256} * 1000 * 1000;

// kHeif covers HEIF and HEIC (HEVC) files; kAvif the HEIF files whose brand says AV1; kRaw the
// camera raw files libraw reads (DNG, CR2, NEF, ARW, RAF, ...).
enum class ImageFormat { kUnknown, kBmp, kJpeg, kPng, kGif, kWebp, kHeif, kAvif, kTiff, kRaw, kJxl };

struct ImageHeader {
    ImageFormat format = ImageFormat::kUnknown;
    // As stored in the file, before any Exif orientation; for HEIF/AVIF after the file's own
    // transformations (irot, imir, clap), which the decoder applies.
    int width = 0;
    int height = 0;
};

// The format is sniffed from the content, never from the file name.
ImageFormat SniffFormat(ByteView bytes);

// Reads only the header: no pixel data is decoded.
Result<ImageHeader> ProbeImage(ByteView bytes);
Result<ImageHeader> ProbeImageFile(const std::string& path);

struct DecodeOptions {
    // Shrink-on-load: a JPEG may be decoded at a DCT scale (1/8 .. 8/8), a WebP through libwebp's
    // area-averaging rescaler, as long as the decoded image stays at least min_width x min_height.
    // 0 x 0 decodes at full size. A camera raw file gives its embedded preview when that is at
    // least this size (the whole picture's size for 0 x 0), else its raw data developed at half
    // size when that is enough. Other formats always decode at full size.
    int min_width = 0;
    int min_height = 0;
    // A HEIF/AVIF may give its embedded thumbnail instead, when that is at least min_width x
    // min_height and has the image's proportions: quick, but encoded at a lower quality, so meant
    // for previews.
    bool allow_thumbnail = false;
    // A CMYK TIFF with an ICC profile is converted through it (to sRGB); otherwise, and without
    // one, by the plain formula R = (255 - C)(255 - K) / 255.
    bool cmyk_by_profile = true;
};

// Receives a decoder's rows, top to bottom, 3 bytes (R, G, B) per pixel.
class RowSink {
  public:
    virtual ~RowSink() = default;
    // Called once with the decoded size before any row; a failure stops the decode with it.
    virtual Status Begin(int width, int height) = 0;
    // Where the decoder may write row y itself, or nullptr (the decoder then uses its own buffer).
    // A sink holding the whole image offers its rows, so that nothing is copied.
    virtual uint8_t* RowBuffer(int /*y*/) { return nullptr; }
    // Takes the next row, which stays valid only during the call.
    virtual void Row(const uint8_t* rgb) = 0;
};

// The number of pixels DecodeImage gives for a source of `header` with `options` (the JPEG
// shrink-on-load included), without decoding anything.
int64_t DecodedPixelCount(const ImageHeader& header, const DecodeOptions& options);

// Whether DecodeRows can decode the file whose first bytes are `prefix` row by row, holding only
// a few rows: any JPEG, a PNG that is not interlaced, an uncompressed or bit-field BMP. The others
// (interlaced PNG, RLE BMP, GIF) must be decoded whole, within kMaxDecodedPixels.
bool CanDecodeRows(ByteView prefix);

// Decodes the file read from `file` (positioned at its start, seekable) row by row into `sink`,
// with shrink-on-load as in DecodeImage. The sizes are limited only by the format (JPEG 65500 x
// 65500, PNG 1048576 x 1048576, BMP 65535 x 65535), by what the file can hold, and by the memory a
// progressive JPEG needs (see kMaxJpegCoefficientBytes).
Status DecodeRows(std::FILE* file, const DecodeOptions& options, RowSink& sink);

// The memory libjpeg may take for the coefficients of a progressive JPEG, which it keeps whole.
// A larger one is decoded from its DC coefficients alone when 1/8 of its size is enough (the
// decoder was asked for shrink-on-load and 1/8 still meets the minimum); otherwise it is refused
// with its size and the memory it would need.
inline constexpr int64_t kMaxJpegCoefficientBytes = int64_t{1} << 30;

// Decodes the first image of the file into `out` (reusing its allocation). Transparency is
// composited over white. On failure `out` is left empty.
Status DecodeImage(ByteView bytes, const DecodeOptions& options, Image& out);
Result<Image> DecodeImage(ByteView bytes, const DecodeOptions& options = {});
Result<Image> LoadImageFile(const std::string& path, const DecodeOptions& options = {});

// What an encoder stores beside the pixels. Empty views store nothing; an encoder stores only the
// blocks its format carries (FormatRow::carries) and leaves the others out.
struct EncodeMetadata {
    ByteView exif{};         // Exif from its TIFF header ("II*\0" or "MM\0*") onward
    ByteView icc_profile{};  // an ICC profile; without one the file says sRGB where it can
    ByteView xmp{};          // the standard XMP packet, written as it stands
    // JPEG only: the payloads of the extended XMP segments (identifier included), written after
    // the standard packet, and the APP13 "Photoshop 3.0" payload that holds the IPTC data.
    std::span<const Bytes> extended_xmp{};
    ByteView photoshop{};
};

// One encode: the quality of the formats that take one, and the blocks to store.
struct EncodeOptions {
    int quality = 90;  // 1..100 (clamped): JPEG, WebP, AVIF and JPEG XL; the others ignore it
    // JPEG: libjpeg's baseline encoder (faster, larger files) instead of the rate-distortion
    // optimised progressive one.
    bool fast_jpeg = false;
    EncodeMetadata metadata{};
};

// The encoders, each with the signature of the format table's encode. Failures are values naming
// the cause; the image is never changed.
// BMP: 24 bits, bottom-up, 72 dpi; no metadata.
Result<Bytes> EncodeBmp(const Image& image, const EncodeOptions& options = {});
// JPEG: optimised Huffman tables and a JFIF header; after SOI, APP1 Exif, APP1 XMP and its
// extended segments, APP2 ICC and APP13 Photoshop, each left out when it does not fit in one
// segment (an ICC profile is split over as many as it needs).
Result<Bytes> EncodeJpeg(const Image& image, const EncodeOptions& options = {});
// PNG: 8-bit RGB, not interlaced; right after IHDR an eXIf chunk with the Exif and an iTXt chunk
// "XML:com.adobe.xmp" with the XMP; the ICC profile as an iCCP chunk.
Result<Bytes> EncodePng(const Image& image, const EncodeOptions& options = {});
// GIF: a 256-colour palette with dithering (libimagequant), written with giflib; no metadata.
Result<Bytes> EncodeGif(const Image& image, const EncodeOptions& options = {});
// WebP: lossy, libwebp's default effort; Exif, XMP and the profile go into EXIF, XMP and ICCP
// chunks of an extended file.
Result<Bytes> EncodeWebp(const Image& image, const EncodeOptions& options = {});
// AVIF through libheif's AV1 encoder, 4:2:0, at a speed meant for batches; Exif becomes an Exif
// item, XMP an XMP item (mime application/rdf+xml), the profile a 'prof' colour box (else nclx sRGB).
Result<Bytes> EncodeAvif(const Image& image, const EncodeOptions& options = {});
// TIFF: 8-bit RGB, Deflate with the horizontal predictor, strips of about 64 KB; the profile, XMP
// and IPTC (as Photoshop image resources) are tags of IFD0, the Exif block's tags join IFD0 with
// its Exif and GPS IFDs after it, in the Exif block's byte order.
Result<Bytes> EncodeTiff(const Image& image, const EncodeOptions& options = {});
// JPEG XL: lossy 8-bit RGB at JxlDistanceOfQuality(quality); Exif and XMP in "Exif" and "xml "
// boxes of a container, the profile in the codestream (else sRGB).
Result<Bytes> EncodeJxl(const Image& image, const EncodeOptions& options = {});
// The encoder's distance for a 1..100 quality (clamped), as cjxl maps its own quality: from 30 up,
// 0.1 + (100 - quality) x 0.09, so 100 gives 0.1, 90 gives 1.0 ("visually lossless") and 30 gives
// 6.4; below 30 it grows faster, 6.4 + 2.5^((30 - quality) / 5) / 6.25, up to 25 (libjxl's largest).
float JxlDistanceOfQuality(int quality);
// A JPEG file recompressed losslessly as JPEG XL (its DCT coefficients and, for reconstruction, its
// segments): typically a fifth smaller, and djxl restores the JPEG bit for bit. Fails for JPEGs
// libjxl cannot take (CMYK, arithmetic coding).
Result<Bytes> RecompressJpegAsJxl(ByteView jpeg);

// Geometry. Rotation is clockwise: 90 turns the top edge into the right edge. Other angles
// are taken modulo 360 and truncated to a multiple of 90.
Image Rotate(const Image& image, int degrees);
// Applies an Exif Orientation value (1..8, mirrored values included) so that the result is
// upright. Values outside 2..8 leave the image alone.
void ApplyExifOrientation(Image& image, int orientation);

// Number of distinct colours.
uint32_t CountColors(const Image& image);

// Resampling into `dst` (which is reset to width x height; sizes below 1 become 1).
enum class ResizeMethod { kAreaAverage, kSample, kTriangle };
// Area averaging: every destination pixel is the coverage-weighted mean of the source pixels it
// covers, also at non-integer ratios; a dimension that grows uses the triangle filter instead.
void ResizeAreaAverage(const Image& src, int width, int height, Image& dst);
// Sampling: every destination pixel copies the source pixel under its centre.
void ResizeSample(const Image& src, int width, int height, Image& dst);
// Separable triangle (bilinear) filter, widened when reducing so that every source pixel counts.
void ResizeTriangle(const Image& src, int width, int height, Image& dst);
void Resize(ResizeMethod method, const Image& src, int width, int height, Image& dst);

// Resizes the rows a decoder gives into `out` as they come, with the same arithmetic, and so the
// same bytes, as Resize on the whole image: only a few rows of the source are ever held.
class ResizingSink : public RowSink {
  public:
    ResizingSink(ResizeMethod method, int width, int height, Image& out);
    ~ResizingSink() override;
    ResizingSink(const ResizingSink&) = delete;
    ResizingSink& operator=(const ResizingSink&) = delete;

    Status Begin(int width, int height) override;
    void Row(const uint8_t* rgb) override;
    // Whether every output row has been written.
    bool done() const;

    class Stream;  // the engine of the method

  private:
    ResizeMethod method_;
    int width_;
    int height_;
    Image& out_;
    std::unique_ptr<Stream> stream_;
};

// Filters, in place.
void Grayscale(Image& image);                                // ITU-R BT.601 luma
void ColorTone(Image& image, int red, int green, int blue);  // channel := grey * value / 1000, clamped
void Contrast(Image& image, int amount);                     // amount -128..128 around mid-grey
// 5x5 box blur, then v = s + gain/10 * (s - blur), clamped; images under 5x5 are left unchanged.
void UnsharpMask(Image& image, int gain_tenths);

}  // namespace pelimon
