// The renderer: turns the prepared jobs of one source into the bytes of their output files. Load,
// orient, rotate, reduce, convert the colours to sRGB, apply the effects, encode, carry the metadata
// over. The source is decoded once for all its outputs. Thread-safe: it keeps no state of its own,
// so every worker calls it with its own buffers.
#pragma once

#include <cstdint>
#include <functional>
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
    int quality = 0;       // the quality it was encoded at; 0 for a format without one or a recompressed JPEG
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

// The two halves of rendering one target, for a caller that renders one source under changing
// settings and keeps the first half's result (the window's output preview). ReduceJobSource loads
// the source at the output's size into buffers.reduced[0] (and what its metadata is read from into
// buffers.file), or tells that there is no file on purpose (`skipped`); it reads Reduction, ToSRGB,
// BigSize and the job. FinishJob turns those buffers into the output file as RenderJobs does:
// colours, effects, metadata, encoding. When `abandoned` is given and returns true before a trial
// encode of a size search, it fails instead (its caller no longer wants the file).
Result<OutputImagePlan> ReduceJobSource(const RenderTarget& target, RenderBuffers& buffers);
Result<RenderedOutput> FinishJob(const RenderTarget& target, RenderBuffers& buffers,
                                 const std::function<bool()>& abandoned = {});

// Renders each target (Reduction, Effect, Gain, Contrast, BigSize, OutputType rules, quality
// settings of JPEG, WebP and AVIF, Exif, ToSRGB); every target's job is of the same source file.
// The source is decoded once for the outputs that agree on its orientation and colour handling
// (AutoRotate, ToSRGB), at the scale the largest of them needs. A target fails, with a Japanese
// message naming the file, when the source cannot be read or decoded, when its job has no usable
// output size, or when encoding fails; one result per target, in order.
std::vector<Result<RenderedOutput>> RenderJobs(std::span<const RenderTarget> targets, RenderBuffers& buffers);

}  // namespace pelimon
