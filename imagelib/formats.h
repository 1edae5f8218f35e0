// Per-format entry points, which the rows of the format table (format_table.cpp) point to. Each
// signature test looks at the first bytes only; each probe reads only the header; each decoder
// writes the first image into `out` (reusing its allocation) and leaves it empty on failure.
// Errors carry no path; LoadImageFile adds it. The decoders of formats without shrink-on-load
// ignore the options.
#pragma once

#include <cstdio>

#include "common/result.h"
#include "imagelib/embedded_metadata.h"
#include "imagelib/image.h"
#include "imagelib/imagelib.h"

namespace pelimon::imagelib_detail {

// Signatures (format_sniff.cpp). HEIF/HEIC and AVIF are told apart by the brands of the 'ftyp' box.
bool SniffsJpeg(ByteView bytes);
bool SniffsPng(ByteView bytes);
bool SniffsGif(ByteView bytes);
bool SniffsBmp(ByteView bytes);
bool SniffsWebp(ByteView bytes);
bool SniffsHeif(ByteView bytes);
bool SniffsAvif(ByteView bytes);
bool SniffsTiff(ByteView bytes);  // TIFF and BigTIFF, either byte order
bool SniffsRaw(ByteView bytes);   // camera raw (raw_signature.cpp)
bool SniffsJxl(ByteView bytes);   // a bare codestream or the container

Result<ImageHeader> ProbeBmp(ByteView bytes);
Result<ImageHeader> ProbeJpeg(ByteView bytes);
Result<ImageHeader> ProbePng(ByteView bytes);
Result<ImageHeader> ProbeGif(ByteView bytes);
Result<ImageHeader> ProbeWebp(ByteView bytes);
Result<ImageHeader> ProbeJxl(ByteView bytes);   // the size as shown, after the file's orientation
Result<ImageHeader> ProbeHeif(ByteView bytes);  // HEIF/HEIC and AVIF: the primary image, as turned
// The same for a file, reading only the boxes libheif needs (libheif checks every item's extent
// against the file's size, so a prefix in memory would not do). `format` is the sniffed one.
Result<ImageHeader> ProbeHeifFile(const std::string& path, ImageFormat format);
// TIFF: the size of the first page from IFD0, which may lie anywhere in the file (tiff_header.cpp).
Result<ImageHeader> ProbeTiff(ByteView bytes);
Result<ImageHeader> ProbeTiffFile(const std::string& path, ImageFormat format);
// Camera raw through libraw (raw_decoder.cpp): the developed picture's size, as turned.
Result<ImageHeader> ProbeRaw(ByteView bytes);
Result<ImageHeader> ProbeRawFile(const std::string& path, ImageFormat format);

Status DecodeBmp(ByteView bytes, const DecodeOptions& options, Image& out);
Status DecodeJpeg(ByteView bytes, const DecodeOptions& options, Image& out);
Status DecodePng(ByteView bytes, const DecodeOptions& options, Image& out);
Status DecodeGif(ByteView bytes, const DecodeOptions& options, Image& out);
Status DecodeWebp(ByteView bytes, const DecodeOptions& options, Image& out);
Status DecodeHeif(ByteView bytes, const DecodeOptions& options, Image& out);
Status DecodeTiff(ByteView bytes, const DecodeOptions& options, Image& out);
Status DecodeRaw(ByteView bytes, const DecodeOptions& options, Image& out);
Status DecodeJxl(ByteView bytes, const DecodeOptions& options, Image& out);

// Whether the PNG whose first bytes are `bytes` is interlaced (Adam7).
bool PngIsInterlaced(ByteView bytes);

// Whether the BMP whose first bytes are `bytes` is RLE-compressed.
bool BmpIsCompressed(ByteView bytes);

// Row-by-row decoders for DecodeRows, reading `file` from its current position.
Status DecodeJpegRows(std::FILE* file, const DecodeOptions& options, RowSink& sink);
Status DecodePngRows(std::FILE* file, const DecodeOptions& options, RowSink& sink);
Status DecodeBmpRows(std::FILE* file, const DecodeOptions& options, RowSink& sink);
Status DecodeTiffRows(std::FILE* file, const DecodeOptions& options, RowSink& sink);
// Camera raw: the whole file from its start (whatever the position), read only where libraw looks,
// and the upright picture given row by row once decoded.
Status DecodeRawRows(std::FILE* file, const DecodeOptions& options, RowSink& sink);

// The metadata blocks of a HEIF/HEIC or AVIF file (the primary image's), of a WebP file and of a
// PNG file (its Exif and XMP, from the whole file or one without its image data)
// (embedded_metadata.cpp); a damaged file leaves `out` as it was.
void ReadHeifMetadata(ByteView bytes, EmbeddedMetadata& out);
void ReadWebpMetadata(ByteView bytes, EmbeddedMetadata& out);
void ReadPngMetadata(ByteView bytes, EmbeddedMetadata& out);
// TIFF: Exif, XMP, IPTC and the ICC profile of IFD0 (tiff_header.cpp).
void ReadTiffEmbeddedMetadata(ByteView bytes, EmbeddedMetadata& out);
// The Exif and XMP of a camera raw file (raw_metadata.cpp), whose turn the decoder applies.
void ReadRawMetadata(ByteView bytes, EmbeddedMetadata& out);
// A JPEG XL file's Exif and XMP boxes and the profile of its decoded pixels (jxl_metadata.cpp).
void ReadJxlMetadata(ByteView bytes, EmbeddedMetadata& out);

// The 1/8-scale image of a progressive JPEG from its DC coefficients alone (each block's DC is its
// mean), as libjpeg's 1/8 scale gives it up to the AC terms of subsampled chroma: only the DC
// scans are decoded, one coefficient per block kept, and rows go to `sink` as they are finished.
// Greyscale and three-component (YCbCr or RGB) files; every read is bounds-checked.
Status DecodeJpegDc(std::FILE* file, RowSink& sink);

// The DCT scale numerator (1, 2, 4 or 8, over 8) that JPEG shrink-on-load uses for a width x height
// source: the smallest whose output, rounded up as libjpeg does, is still at least
// min_width x min_height.
int ChooseJpegScale(int width, int height, int min_width, int min_height);

}  // namespace pelimon::imagelib_detail
