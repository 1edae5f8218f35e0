// Texts of the options dialog (COptMain) and its three pages, kept in one place (their
// translations are in po/).
#pragma once

#include "common/message.h"

namespace pelimon::option_texts {

inline constexpr Message kTitle = Message("Options", "options dialog title");
inline constexpr Message kTabGeneral = Message("General");
inline constexpr Message kTabFileName = Message("File Names");
inline constexpr Message kTabReduction = Message("Reduction");
inline constexpr const char* kOk = "OK";
inline constexpr Message kCancel = Message("Cancel");

// Page 全般 (CSetOption).
inline constexpr Message kDropGroup = Message("On drag && drop");  // && shows a single &
inline constexpr Message kDragDrop = Message("Start reducing at once");
inline constexpr Message kBigSizeGroup = Message("When the size is larger than the source image");
inline constexpr Message kEqual = Message("Also when it is the same size");
inline constexpr Message kEnlarge = Message("Enlarge");
inline constexpr Message kLeaveAlone = Message("Do nothing");
inline constexpr Message kRemoveExifOnly = Message("Only remove the Exif information");
inline constexpr Message kExifGroup = Message("Exif information");
inline constexpr Message kKeepExif = Message("Keep the Exif information");
inline constexpr Message kNoLocation = Message("Remove the location");
inline constexpr Message kExifDate = Message("Set the modified date to the shooting date");
inline constexpr Message kAutoRotate = Message("Rotate by the Exif orientation");
inline constexpr Message kToSrgb = Message("Convert colours to sRGB");
inline constexpr Message kOutputGroup = Message("Output folder");
inline constexpr Message kUserFolder = Message("Chosen folder");
inline constexpr Message kResizeFolder = Message("resize+date folder in the source folder");
// TRANSLATORS: instead of repeating the subfolders of the source folder below the output folder.
inline constexpr Message kFlat = Message("All outputs directly in the output folder (no subfolders)");
inline constexpr Message kUpdate = Message("Skip sources whose output is up to date");

// Page ファイル名 (CSetOption2).
inline constexpr Message kNamingGroup = Message("Names of the reduced image files");
inline constexpr Message kAppendText = Message("Add text to the end of the original name");
inline constexpr Message kPrependText = Message("Add text to the start of the original name");
inline constexpr Message kAddTextLabel = Message("Text");
inline constexpr Message kSerialNumber = Message("A given name followed by a running number");
inline constexpr Message kBaseNameLabel = Message("Base name");
inline constexpr Message kStartNumLabel = Message("Start number");
inline constexpr Message kZeroPadding = Message("Pad the number with zeros");
inline constexpr Message kSaveNum = Message("Remember the next number");
inline constexpr Message kClearNumber = Message("Reset number");

// Page 縮小方法 (CSetOption3).
inline constexpr Message kAlgorithmGroup = Message("Algorithm (the higher, the finer the result)");
inline constexpr Message kAreaAverage1 = Message("Area average colour 1");
inline constexpr Message kAreaAverage2 = Message("Area average colour 2");
inline constexpr Message kSampling = Message("Sampling");
inline constexpr Message kEffectGroup = Message("Effects");
inline constexpr Message kSharpen = Message("Sharpen");
inline constexpr Message kGain = Message("Gain");
inline constexpr Message kGrayscale = Message("Grayscale");
inline constexpr Message kSepia = Message("Sepia");
inline constexpr Message kContrast = Message("Contrast");

// Confirmations and errors of OK.
inline constexpr Message kSameNameCaption = Message("Confirm file names");
inline constexpr Message kSameName = Message("The reduced images get the same names as the source images. Continue?");
inline constexpr Message kBaseNameCaption = Message("Confirm base name");
inline constexpr Message kBaseNameDefault = Message("The base name will be resize. Continue?");
inline constexpr Message kNameErrorCaption = Message("File name error");
inline constexpr Message kNameHasSlash = Message("The text and the base name cannot contain \"/\".");

}  // namespace pelimon::option_texts
