// Loading a job's source at the output size: decoded whole, oriented, rotated and reduced, or
// streamed row by row from the file straight into the reduction, so that only the output is ever
// whole. Streaming serves every source a row decoder reads (JPEG, PNG that is not interlaced,
// uncompressed BMP) whose pixels need no turn, and, turned on the output afterwards, those that
// are too large to hold whole; the bytes are the same as the whole decode's wherever both work.
#pragma once

#include "batch/image_job.h"
#include "batch/render_job.h"
#include "common/result.h"
#include "settings/app_settings.h"

namespace pelimon {

// Fills buffers.reduced with the source of `job` at width x height (the output's frame), and
// buffers.file with the whole file, or, when streamed, with what the encoder reads the source's
// metadata from (a JPEG's segments up to its first scan, a PNG without its image data). Fails with a Japanese message
// naming the file.
Status LoadReducedSource(const AppSettings& settings, const ImageJob& job, int width, int height,
                         RenderBuffers& buffers);

}  // namespace pelimon
