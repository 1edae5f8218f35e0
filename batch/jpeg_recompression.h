// A JPEG source whose pixels the job leaves as they are, written in a format that can hold a JPEG
// losslessly (JPEG XL, FormatRow::recompress_jpeg): the output is the JPEG itself, recompressed,
// with the output's metadata in place of the source's, so that it loses nothing and decodes back
// (djxl) into that JPEG bit for bit.
#pragma once

#include <optional>

#include "batch/image_job.h"
#include "imagelib/format_table.h"
#include "imagelib/imagelib.h"
#include "settings/app_settings.h"

namespace pelimon {

// Whether the output of `job`, width x height, holds its source's own pixels: at the source's size,
// not turned, without effects and with the colours not converted.
bool KeepsSourcePixels(const AppSettings& settings, const ImageJob& job, int width, int height, bool colours_converted);

// The recompressed output for a JPEG source (`source` is its whole JPEG file), or nullopt when it
// does not serve: the format recompresses no JPEG, the source is no JPEG the format takes (CMYK,
// arithmetic coding, a damaged structure), or the file would exceed the target file size. The job
// is then encoded from its pixels.
std::optional<Bytes> RecompressKeptJpeg(const AppSettings& settings, const FormatRow& format, ByteView source,
                                        const EncodeMetadata& metadata);

}  // namespace pelimon
