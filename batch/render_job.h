// The renderer: turns the prepared jobs of one source into the bytes of their output files. Load,
// orient, rotate, reduce, convert the colours to sRGB, apply the effects, encode, carry the metadata
// over. The source is decoded once for all its outputs. Thread-safe: it keeps no state of its own,
// so every worker calls it with its own buffers.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "batch/image_job.h"
#include "common/result.h"
#include "imagelib/image.h"
#include "imagelib/imagelib.h"
#include "settings/app_settings.h"

namespace pelimon {

// Buffers a worker keeps from image to image so that a batch does not allocate per photo.
struct RenderBuffers {
    std::vector<uint8_t> file;   // the source file
    Image decoded;               // the source's pixels, possibly shrunk on load
    std::vector<Image> reduced;  // each output's pixels
};

struct RenderedOutput {
    bool skipped = false;  // BigSize 2 and a target not smaller than the source: no file on purpose
    Bytes bytes;           // the output file, when not skipped
    // Metadata of the source that was left out because it was malformed, one note each, naming
    // the file ("name: why"); the picture is written all the same.
    std::vector<std::string> notes;
};

// What RenderJob makes of a job whose target sizes are set: no file on purpose (BigSize 2 and a
// target not smaller than the source), or an image of width x height (the target; the source's
// size with BigSize 4 and a target not smaller than the source).
struct OutputImagePlan {
    bool skipped = false;
    int width = 0;
    int height = 0;
};
OutputImagePlan PlanOutputImage(const AppSettings& settings, const ImageJob& job);

// One output of a source: the job, and the settings it is made under.
struct RenderTarget {
    const AppSettings& settings;
    const ImageJob& job;
};

// Renders each target (Reduction, Effect, Gain, Contrast, BigSize, OutputType rules, quality
// settings of JPEG, WebP and AVIF, Exif, ToSRGB); every target's job is of the same source file.
// The source is decoded once for the outputs that agree on its orientation and colour handling
// (AutoRotate, ToSRGB), at the scale the largest of them needs. A target fails, with a Japanese
// message naming the file, when the source cannot be read or decoded, when its job has no usable
// output size, or when encoding fails; one result per target, in order.
std::vector<Result<RenderedOutput>> RenderJobs(std::span<const RenderTarget> targets, RenderBuffers& buffers);

}  // namespace pelimon
