// Texts of the size settings dialog (CSetSize), kept in one place (their translations are in po/).
#pragma once

#include "common/message.h"

namespace pelimon::size_texts {

inline constexpr Message kTitle = Message("Size Settings");
inline constexpr Message kSizeGroup = Message("Image size (resolution)");
inline constexpr Message kPixelRadio = Message("Size in pixels");
inline constexpr Message kRatioRadio = Message("Percentage of the source image");
inline constexpr Message kWidthLabel = Message("Width");
inline constexpr Message kHeightLabel = Message("Height");
inline constexpr const char* kPercent = "%";
inline constexpr Message kPixEven = Message("Make the other dimension an even number of pixels");
inline constexpr Message kHalve = Message("Halve");
inline constexpr Message kDouble = Message("Double");
inline constexpr Message kFileSizeGroup = Message("File size (%s output only)");  // %s: the formats it serves
inline constexpr Message kSetSize = Message("Reduce to a file size");
inline constexpr Message kDataSizeLabel = Message("File size");
inline constexpr const char* kKilobytes = "KB";
inline constexpr Message kQualityGroup = Message("Lowest quality");
inline constexpr Message kQualityNote = Message("When the file size cannot be reached, this quality is used");
inline constexpr Message kLowQuality = Message("Low (1)");
inline constexpr Message kHighQuality = Message("High (100)");
inline constexpr Message kAspectGroup = Message("Aspect ratio of the reduced image");
inline constexpr Message kKeepAspect = Message("Keep the aspect ratio of the source");
inline constexpr Message kRectWidth = Message("By width");
inline constexpr Message kRectHeight = Message("By height");
inline constexpr Message kRectFit = Message("Fit into the rectangle");
inline constexpr const char* kOk = "OK";
inline constexpr Message kCancel = Message("Cancel");

inline constexpr Message kErrorCaption = Message("Error");
inline constexpr Message kQualityRange = Message("Enter a value from 1 to 100.");
inline constexpr Message kDataSizeInvalid = Message("The file size is not valid.");
inline constexpr Message kConfirmCaption = Message("Confirm");
inline constexpr Message kDataSizeLarge = Message("The file size looks too large. Is it set correctly?");
inline constexpr Message kSizeErrorCaption = Message("Image size error");
inline constexpr Message kSizeError = Message("The image size is not valid. Please set a valid size.");

// Descriptions of the size rule (Qt's %1 and %2 for the numbers; the colon is full-width with a blank
// each side).
inline constexpr Message kPixelWidthFixed = Message("Width fixed: %1 pixel");
inline constexpr Message kPixelHeightFixed = Message("Height fixed: %1 pixel");
inline constexpr Message kPixelRect = Message("Fit into: %1 x %2 pixel");
inline constexpr Message kPixelBoth = Message("Width and height fixed: %1 x %2 pixel");
inline constexpr Message kRatioWidthFixed = Message("Width fixed: %1%");
inline constexpr Message kRatioHeightFixed = Message("Height fixed: %1%");
inline constexpr Message kRatioRect = Message("Fit into: %1% x %2%");
inline constexpr Message kRatioBoth = Message("Width and height fixed: %1% x %2%");

}  // namespace pelimon::size_texts
