// Texts of the main window, kept in one place (their translations are in po/).
#pragma once

#include "common/message.h"

namespace pelimon::main_texts {

inline constexpr Message kTitle = Message("Pelimon !!");
inline constexpr Message kAboutMenu = Message("About Pelimon !!...");

// Captions and groups.
inline constexpr Message kSourceCaption = Message("Folder of the source images");
inline constexpr Message kRecurse = Message("Include subfolders");
// TRANSLATORS: after the file count while the subfolders are still being read.
inline constexpr Message kListingSubfolders = Message(" listing subfolders...");
inline constexpr Message kListCaption = Message("Files");
inline constexpr Message kCountInitial = Message("(Files: )");
inline constexpr Message kPreviewGroup = Message("Preview");
inline constexpr Message kTypeGroup = Message("Source types");
inline constexpr Message kOutputCaption = Message("Output folder for the reduced images");
inline constexpr Message kSizeGroup = Message("Reduced size");
inline constexpr Message kRotationGroup = Message("Rotation");
inline constexpr Message kFormatGroup = Message("Output file format");
inline constexpr Message kQualityGroup = Message("Quality (%s)");  // %s: the formats that take it
inline constexpr Message kLowQuality = Message("Low");
inline constexpr Message kHighQuality = Message("High");

// Buttons, boxes and radios.
inline constexpr char kExif[] = "Exif";
inline constexpr Message kSelectAll = Message("Select all");
inline constexpr Message kClearAll = Message("Clear all");
inline constexpr char kSize640[] = "640x480";
inline constexpr char kSize480[] = "480x360";
inline constexpr Message kSizeOther = Message("Other");
inline constexpr Message kSizeCurrent = Message("Current setting");
inline constexpr Message kSizeSet = Message("Set...");
inline constexpr char kRotate0[] = "0°";
inline constexpr char kRotate90[] = "90°";
inline constexpr char kRotate180[] = "180°";
inline constexpr char kRotate270[] = "270°";
inline constexpr Message kRotateReset = Message("Reset");
inline constexpr Message kFormatSame = Message("Same as source");
inline constexpr Message kDefaults = Message("Defaults");
inline constexpr Message kOptions = Message("Options", "button");
inline constexpr Message kRun = Message("Run");
inline constexpr Message kHelp = Message("Help");
inline constexpr Message kQuit = Message("Quit");

// List columns.
inline constexpr Message kColumnName = Message("Name");
inline constexpr Message kColumnSize = Message("Size");
inline constexpr Message kColumnPixelSize = Message("Pixels");
inline constexpr Message kColumnOutputSize = Message("Output pixels");
// The toggle between the list's rows and a grid of thumbnails.
inline constexpr Message kThumbnailGrid = Message("Thumbnail grid");

// Size descriptions of the two presets.
inline constexpr Message kSize640Description = Message("Width and height fixed: 640 x 480 pixel");
inline constexpr Message kSize480Description = Message("Width and height fixed: 480 x 360 pixel");
// The size rule (%1) with the target file size in KB (%2), while one is set.
inline constexpr Message kSizeWithTargetFormat = Message("%1, at most %2 KB");

// Preview fields (printf formats).
inline constexpr Message kResolutionFormat = Message("Resolution  %1 x %2");
inline constexpr Message kColoursFormat = Message("Colours  %1");

// Folder browser titles.
inline constexpr Message kBrowseSourceTitle = Message("Choose the folder that holds the images");
inline constexpr Message kBrowseOutputTitle = Message("Choose the folder to write the images to");

// Messages.
inline constexpr Message kQualityRangeText = Message("Enter a value from 1 to 100.");
inline constexpr Message kErrorCaption = Message("Error");
inline constexpr Message kSettingsCaption = Message("Settings file error");
inline constexpr Message kHelpMissingText = Message("The help file cannot be found.");
inline constexpr Message kHelpCaption = Message("Help");
inline constexpr Message kSummaryCaption = Message("Results");
inline constexpr Message kSummaryFailedFormat = Message("%1 image(s) could not be reduced.");
inline constexpr Message kSummaryNotesFormat = Message("%1 image(s) were saved under another name.");
inline constexpr Message kRunCancelledText = Message("The run was cancelled.");
inline constexpr Message kRunWrittenFormat = Message("%1 image(s) written.");
inline constexpr Message kRunUpToDateFormat = Message("%1 image(s) skipped as up to date.");
inline constexpr Message kRunLeftOutFormat = Message(
    "%1 image(s) were not written (images already small enough when enlarging is off, or images no longer found).");
inline constexpr Message kReportFileColumn = Message("File");
inline constexpr Message kReportReasonColumn = Message("Reason");
inline constexpr Message kFolderMissingFormat = Message("The folder %1 does not exist.");
inline constexpr Message kFolderOpenFailedText = Message("The output folder could not be opened.");

}  // namespace pelimon::main_texts
