// Texts of the output preview and the size estimate, kept in one place (their translations are in po/).
#pragma once

#include "common/message.h"

namespace pelimon::output_preview_texts {

inline constexpr Message kShowOutput = Message("Show the output");
inline constexpr Message kShowOutputTip =
    Message("Shows the current file as it will be written with the current settings, before the run");
inline constexpr Message kBeside = Message("Side by side");
inline constexpr Message kSplit = Message("Split");
inline constexpr Message kFit = Message("Fit");
// TRANSLATORS: one output pixel per screen pixel.
inline constexpr Message kActualPixels = Message("1:1");
inline constexpr Message kRendering = Message("Making the output...");
inline constexpr Message kNoFileWritten = Message("No file is written: the source is not larger than the output size.");
// %1 bytes, %2 kilobytes, %3 x %4 pixels
inline constexpr Message kOutputFormat = Message("Output  %1 bytes (%2 KB)  %3 x %4");
// appended with a target size: the quality the search chose
inline constexpr Message kChosenQualityFormat = Message("  quality %1");
// Next to the run button: the checked files' outputs together.
inline constexpr Message kEstimateFormat = Message("Output about %1");
inline constexpr Message kExactTotalFormat = Message("Output %1");
inline constexpr Message kEstimateTipFormat =
    Message("Estimated from the outputs of %1 of the %2 checked files, rendered with the current settings");
inline constexpr Message kExactTipFormat =
    Message("The outputs of the %1 checked files, rendered with the current settings");
inline constexpr Message kEstimating = Message("Estimating the output size...");
inline constexpr Message kKilobytesFormat = Message("%1 KB");
inline constexpr Message kMegabytesFormat = Message("%1 MB");
inline constexpr Message kGigabytesFormat = Message("%1 GB");

}  // namespace pelimon::output_preview_texts
