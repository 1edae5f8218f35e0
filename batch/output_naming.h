// Output names: what each job's file is called, and keeping the names of one run apart.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "batch/image_job.h"
#include "settings/app_settings.h"

namespace pelimon {

// The extension of the format an OutputType writes (FormatRow::OutputExtension, ".jpg"); empty for
// a value no format has, whose job fails in preparation and writes nothing.
std::string ExtensionForOutputType(int32_t output_type);

// The running number as the naming rule writes it: zero-filled to `digit` places when
// zero_padding, otherwise left-aligned and filled with trailing blanks; wider numbers are written
// in full. A negative `digit` aligns left, as a printf field width does; the width is capped at 255.
std::string FormatRunningNumber(int64_t number, int32_t digit, bool zero_padding);

// Fills job.DestName and job.DestPath for the job at position k (0-based, in list order) of the
// run, from NameRule, AddText, BaseName, StartNum, ImageNum, 0-Padding and Digit.
// `output_folder` ends with '/'.
void BuildOutputName(const AppSettings& settings, const std::string& output_folder, ImageJob& job, size_t k);

struct RenamedOutput {
    size_t job = 0;    // index of the renamed job
    std::string note;  // what happened, for the summary (Japanese, names the files)
};

// Keeps the run from writing over its own sources and two jobs from sharing a file: in job order,
// a DestPath that is a source of the run or the output of an earlier job becomes
// "<name> (2)<ext>", "<name> (3)<ext>" ... (the first free one). Files in the output folder that
// belong to no job are not considered: they are replaced, except `kept`: outputs of sources that
// the run leaves alone because they are up to date, whose names no job takes. Paths are compared
// after resolving "." and ".." and symbolic links of existing folders.
std::vector<RenamedOutput> MakeDestinationsDistinct(std::span<ImageJob> jobs, std::span<const std::string> kept = {});

}  // namespace pelimon
