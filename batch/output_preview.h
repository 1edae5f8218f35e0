// One file rendered as a run would write it, kept in memory instead of written: the window's view
// of the output before a run, and the estimate of how large a run's outputs will be. The bytes are
// those of the batch's renderer (RenderJobs), which a run writes as they are.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "batch/image_job.h"
#include "batch/render_job.h"
#include "common/result.h"
#include "filelist/file_list.h"
#include "settings/app_settings.h"

namespace pelimon {

struct PreviewedOutput {
    bool skipped = false;  // BigSize 2 and a target not smaller than the source: a run writes no file
    Bytes bytes;           // the file a run writes
    int width = 0;         // its pixels
    int height = 0;
    int quality = 0;  // the quality it is encoded at (chosen by the search with a target size); 0 when none
};

// The job a run makes of `row` (a row of the list whose source folder is ImagePath): its output
// format, upright source size, orientation and target size. PrepareError is set when the file
// cannot be examined or has no output format; a file that does not exist gives an error.
Result<ImageJob> PrepareSingleJob(const AppSettings& settings, const FileRow& row);

// Renders one row after another under changing settings. It keeps the reduced source of the last
// row it rendered (one only, so memory stays at one source's metadata and one output image), so
// that a change of the settings that only the encoding reads (format, quality, target size,
// effects, metadata, colours of a source without a profile) skips loading and reducing. One
// thread at a time.
class OutputPreviewRenderer {
  public:
    // `abandoned` (optional) is asked between the steps and the trial encodes: true stops the render
    // with an error, as a newer request makes this one useless.
    Result<PreviewedOutput> Render(const AppSettings& settings, const FileRow& row,
                                   const std::function<bool()>& abandoned = {});
    // Forgets the kept source.
    void Clear();
    // The source of the last render at the output's size, before colours and effects (empty before
    // the first).
    const Image& reduced_source() const { return reduced_.reduced.empty() ? kNone : reduced_.reduced.front(); }

  private:
    // Everything the reduced source depends on.
    struct ReducedKey {
        std::string path;
        std::uintmax_t file_size = 0;
        std::filesystem::file_time_type modified;
        int32_t orientation = 1;
        int32_t rotation = 0;
        int width = 0;
        int height = 0;
        int32_t reduction = 0;
        int32_t to_srgb = 0;
        friend bool operator==(const ReducedKey&, const ReducedKey&) = default;
    };

    static inline const Image kNone{};
    std::optional<ReducedKey> key_;
    RenderBuffers reduced_;  // as ReduceJobSource left them for key_
    RenderBuffers work_;     // a copy that FinishJob changes
};

// The rows (indices into list.rows()) that stand for the checked ones: all of them when there are
// at most `most`, otherwise `most` spread evenly from the first checked row to the last.
std::vector<size_t> SampleCheckedRows(const FileList& list, size_t most);

struct OutputSizeEstimate {
    int64_t bytes = 0;  // all the checked files' outputs together
    int files = 0;      // checked files it stands for
    int sampled = 0;    // files rendered for it (those that could not be rendered are left out)
    bool exact() const { return sampled == files; }
};

// The total size of the outputs of `checked_files` files, from the outputs of `sample` (rows of
// them): the mean size of the sample's outputs (a file written on purpose as none counts as 0)
// times the count. nullopt when no file of the sample could be rendered, or when `cancelled`
// returns true (polled between files).
std::optional<OutputSizeEstimate> EstimateOutputSize(const AppSettings& settings, std::span<const FileRow> sample,
                                                     int checked_files, const std::function<bool()>& cancelled);

}  // namespace pelimon
