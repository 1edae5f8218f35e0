// What each fuzz target does with one input, shared by the libFuzzer entry points (fuzz_*.cpp)
// and the regression test that replays the inputs the fuzzers found (tests/fuzz_regression).
// Each check feeds the input to one parser and aborts when the parser breaks an invariant, so
// that a sanitizer report or an abort is the only way a check can fail.
#pragma once

#include <cstdint>
#include <span>

#include "imagelib/imagelib.h"

namespace pelimon::fuzz {

// The INI document (parse, look up, set, serialise) and the settings file (load, save twice).
void CheckIniInput(std::span<const uint8_t> bytes);
// The parameter file: read from a scratch file, applied to default settings, names split.
void CheckParameterFileInput(std::span<const uint8_t> bytes);
// CExifReader on the input as a whole JPEG file, then ReadSourceMetadata, BuildOutputMetadata,
// PlaceInJpeg and PlaceInPng; the TIFF, XMP and Photoshop block editors on the raw input.
void CheckExifInput(std::span<const uint8_t> bytes);
// ProbeImage and DecodeImage with shrink-on-load (and a PNG's Exif and XMP, read whole and
// without the image data), for inputs whose signature is `format`;
// other inputs are ignored. What DecodeImage decodes, DecodeRows must decode too, and reduced
// as it streams its rows it must give the whole image's reduction to the byte.
void CheckDecodeInput(ImageFormat format, std::span<const uint8_t> bytes);
// HEIF/HEIC/AVIF (format kHeif) or WebP (kWebp): probe, decode with the reduced preview's options,
// the Exif/XMP/colour blocks as the batch reads them, and the colour profile through lcms2.
void CheckModernInput(ImageFormat format, std::span<const uint8_t> bytes);
// The DC-only decoder of progressive JPEG files on the input as a whole file.
void CheckJpegDcInput(std::span<const uint8_t> bytes);
// The message catalogue reader on the input as a compiled catalogue, its plural rules and the
// printf check of translations.
void CheckCatalogueInput(std::span<const uint8_t> bytes);

}  // namespace pelimon::fuzz
