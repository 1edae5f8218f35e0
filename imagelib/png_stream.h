// Row-by-row decoding of the PNGs large sources are: 8-bit RGB or RGBA, not interlaced, without
// libpng. libpng inflates a row at a time (zlib then copies every row into its window), copies
// every row once more and checks the Adler-32 a byte at a time; this reader inflates many rows at
// once, unfilters them where they were inflated and checks the CRCs and the Adler-32 in blocks.
// The pixels are libpng's to the byte.
#pragma once

#include <cstdio>
#include <optional>

#include "common/result.h"
#include "imagelib/imagelib.h"

namespace pelimon::imagelib_detail {

// Decodes the PNG read from `file` (positioned at its start, its header checked by ProbePng) row
// by row into `sink`, alpha composited over white. nullopt, before anything reached the sink,
// when the file is not one this reader takes (another colour type or bit depth, interlaced, or an
// RGB image with a tRNS chunk): the caller rereads it with libpng from the same start. Damage is
// reported as libpng reports it: a wrong CRC of a critical chunk, a wrong Adler-32, a broken
// deflate stream, image data cut short.
std::optional<Status> DecodePngStream(std::FILE* file, RowSink& sink);

}  // namespace pelimon::imagelib_detail
