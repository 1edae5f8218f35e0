// Loading a job's source at the output size: decoded whole, oriented, rotated and reduced, or
// streamed row by row from the file straight into the reduction, so that only the output is ever
// whole. Streaming serves every source a row decoder reads (JPEG, PNG that is not interlaced,
// uncompressed BMP) whose pixels need no turn, and, turned on the output afterwards, those that
// are too large to hold whole; the bytes are the same as the whole decode's wherever both work.
#pragma once

#include <span>

#include "batch/image_job.h"
#include "batch/render_job.h"
#include "common/result.h"
#include "settings/app_settings.h"

namespace pelimon {

// One reduced image of a source: under which settings (Reduction), its size in the output's frame,
// and where it goes.
struct LoadTarget {
    const AppSettings& settings;
    int width = 0;
    int height = 0;
    Image& reduced;
};

// Decodes the source of `job` once and fills each target's image with it at the target's size,
// and buffers.file with the whole file, or, when streamed, with what the encoder reads the
// source's metadata from (a JPEG's segments up to its first scan, a PNG without its image data).
// The decode shrinks on load no further than the largest target needs; a streamed decode feeds
// every target's reduction row by row, so that still only the outputs are whole. Every target
// takes the job's orientation, rotation and colour handling (its settings' ToSRGB must agree).
// Fails with a Japanese message naming the file.
Status LoadReducedSources(const ImageJob& job, std::span<const LoadTarget> targets, RenderBuffers& buffers);

}  // namespace pelimon
