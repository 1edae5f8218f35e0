// The metadata blocks of an output file read back, for the tests that check what travelled: the
// Exif TIFF block and the XMP packet of a JPEG (APP1), PNG (eXIf, iTXt "XML:com.adobe.xmp"), WebP
// (EXIF and XMP chunks) or HEIF/AVIF file (Exif and XMP items), and the GPS directory of a block.
#pragma once

#include <cstdint>
#include <vector>

namespace pelimon::test {

struct FileBlocks {
    std::vector<uint8_t> exif;  // from the TIFF header on; empty when the file has none
    std::vector<uint8_t> xmp;   // the standard XMP packet; empty when none
};

// The blocks of a file held in memory; PNG chunks are found by walking the file (CRCs checked),
// every other format through the program's own readers.
FileBlocks ReadFileBlocks(const std::vector<uint8_t>& file);

// The data of the first chunk of `type` in a PNG, its CRC checked (a mismatch is a test
// failure); empty when absent.
std::vector<uint8_t> PngChunk(const std::vector<uint8_t>& png, const char* type);

// The GPS directory of a TIFF block as its entries in directory order, each its tag, type and
// count and then its value bytes (without offsets or the padding of an inline value), so that a
// directory written anew compares equal to the one it was copied from; empty when the block has
// no GPS directory.
std::vector<uint8_t> GpsBytes(const std::vector<uint8_t>& tiff);

}  // namespace pelimon::test
