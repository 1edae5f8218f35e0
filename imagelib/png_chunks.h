// PNG chunks as the metadata readers and writers see them: walking those of a file in memory,
// reading a file without its image data, reading text chunks, and writing a chunk.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "common/result.h"
#include "imagelib/imagelib.h"

namespace pelimon {

struct PngChunk {
    std::string_view type;  // four letters, pointing into the file
    ByteView data;
    bool intact = false;  // its CRC matches
};

// The chunks of a PNG held in memory after its signature, in file order, up to one cut short.
// Empty for anything that is not a PNG.
std::vector<PngChunk> WalkPngChunks(ByteView png);

// The keyword and text of a tEXt, zTXt or iTXt chunk: zTXt and compressed iTXt inflated, to at
// most `max_text` bytes. nullopt for other chunks, a malformed one, or a longer text.
struct PngText {
    std::string keyword;
    Bytes text;  // Latin-1 for tEXt and zTXt, UTF-8 for iTXt
};
std::optional<PngText> ReadPngText(const PngChunk& chunk, size_t max_text);

// The bytes of a "Raw profile type ..." text, as older tools store Exif and XMP in PNG text
// chunks: a line with the profile's name, a line with its length in bytes, then the bytes in
// hexadecimal, broken into lines. Empty when the text is not one, or holds fewer digits than it
// announces.
Bytes DecodeRawProfile(ByteView text);

// The PNG read from `file` (positioned at its start) with its IDAT chunks left out: signature,
// then every other chunk as it stands, at most `max_bytes` in all (a chunk that would pass that is
// left out, as is everything after a chunk cut short). The image data is skipped, never read, so
// that the metadata of a PNG of any size costs little. Fails only when the file cannot be read.
Result<Bytes> ReadPngWithoutImageData(std::FILE* file, size_t max_bytes);

// Appends the chunk `type` holding `data`, with its length and CRC, to `png`.
void AppendPngChunk(Bytes& png, std::string_view type, ByteView data);

}  // namespace pelimon
