// What each fuzz target does with one input, shared by the libFuzzer entry points (fuzz_*.cpp)
// and the regression test that replays the inputs the fuzzers found (tests/fuzz_regression).
// Each check feeds the input to one parser and aborts when the parser breaks an invariant, so
// that a sanitizer report or an abort is the only way a check can fail.
#pragma once

#include <cstdint>
#include <span>

#include "imagelib/format_table.h"

namespace pelimon::fuzz {

// The INI document (parse, look up, set, serialise) and the settings file (load, save twice).
void CheckIniInput(std::span<const uint8_t> bytes);
// The parameter file: read from a scratch file, applied to default settings, names split.
void CheckParameterFileInput(std::span<const uint8_t> bytes);
// CExifReader on the input as a whole JPEG file, then ReadSourceMetadata, BuildOutputMetadata and
// the blocks in a JPEG and a PNG output; the TIFF, XMP and Photoshop block editors on the raw input.
void CheckExifInput(std::span<const uint8_t> bytes);
// One format of the format table, for inputs whose signature is its (others are ignored): the
// blocks beside the pixels as the batch reads and carries them and the colour profile through
// lcms2 (FormatRow::read_metadata), and for a PNG the same blocks read from the file without its
// image data; ProbeImage, DecodeImage with shrink-on-load or a thumbnail; what DecodeImage
// decodes, DecodeRows must decode too, and reduced as it streams its rows it must give the whole
// image's reduction to the byte.
void CheckFormatInput(const FormatRow& format, std::span<const uint8_t> bytes);
// The rate-distortion optimised JPEG encoder on a small picture made of the input (sides and
// quality from its first bytes): the file decodes at the picture's size, and again the same.
void CheckJpegEncodeInput(std::span<const uint8_t> bytes);
// The DC-only decoder of progressive JPEG files on the input as a whole file.
void CheckJpegDcInput(std::span<const uint8_t> bytes);
// The message catalogue reader on the input as a compiled catalogue, its plural rules and the
// printf check of translations.
void CheckCatalogueInput(std::span<const uint8_t> bytes);

}  // namespace pelimon::fuzz
