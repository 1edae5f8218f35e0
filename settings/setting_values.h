// The named values of every coded setting of AppSettings. The settings fields stay plain
// int32_t, because the INI and parameter files hold these numbers and a value the program does
// not define is kept and used unchanged; the enumerations below are unscoped with an int32_t
// base so that a field compares with a name directly (`settings.Base == kBaseCustom`).
// Code outside settings/ and the tests uses these names, never the numbers.
#pragma once

#include <cstdint>

namespace pelimon {

// The value of a switch setting (the settings table's kSwitch rows). Each reader says whether it
// takes "== kOn" or "!= kOff".
enum Switch : int32_t { kOff = 0, kOn = 1 };

// Confirm, DefConfirm and Complete: the "以後このメッセージを表示しない" box of the question
// before a change of the listed types, before a reset to defaults, and of the offer to open the
// output folder after a batch.
enum QuestionRule : int32_t { kAskAgain = 0, kDontAskAgain = 1 };

// Select: whether listed files start checked (and the select-all button reads 解除).
enum SelectRule : int32_t { kSelectUnchecked = 0, kSelectChecked = 1 };

// ImageType (the types listed from the source folder) is a set of the format table's ImageType
// bits, and FileType (the output format) one of its FileType values (imagelib/format_table.h);
// AllImageTypes() is the ImageType of a new settings file. The one FileType that names no format:
enum OutputFormat : int32_t {
    kFileTypeSame = 1,  // the format of each source (元画像と同じ); FormatRow::same_as_source
};

// Base: the size preset.
enum SizeBase : int32_t { kBase640x480 = 1, kBase480x360 = 2, kBaseCustom = 4 };

// A preset stands for pixels, keep the aspect ratio, fit into Width x Height.
inline constexpr bool IsPresetBase(int32_t base) {
    return base == kBase640x480 || base == kBase480x360;
}

// Method (with kBaseCustom): what Width/Height or WidthRatio/HeightRatio mean. No control sets
// kMethodKeepsAspectBit; a Method with that bit keeps the aspect ratio and disables the
// aspect radios of the size dialog.
enum SizeMethod : int32_t { kMethodPixels = 1, kMethodRatio = 2, kMethodKeepsAspectBit = 4 };

// Aspect: keep the source's aspect ratio, or use width and height unchanged.
enum AspectRule : int32_t { kAspectFree = 0, kAspectKeep = 1 };

// Rect (with kAspectKeep): which dimension is given. Read as bits by the size dialog's radios.
enum SizeRect : int32_t { kRectByWidth = 1, kRectByHeight = 2, kRectFitInto = 4 };

// BigSize: what happens when the target is larger than the source (read as bits by the
// options dialog).
enum BigSizeRule : int32_t { kBigSizeEnlarge = 1, kBigSizeLeave = 2, kBigSizeStripExif = 4 };

// Equal: whether a target equal to the source size counts as larger.
enum EqualRule : int32_t { kEqualIsSmaller = 0, kEqualIsLarger = 1 };

// Resize: the output folder rule.
enum OutputFolderRule : int32_t { kResizeUserFolder = 0, kResizeDatedFolder = 1 };

// NameRule: how output names are made.
enum NameRuleValue : int32_t { kNameAppendText = 1, kNameSerial = 2, kNamePrependText = 4 };

// Reduction: the reduction algorithm (領域内平均カラー値 １, ２, サンプリング法).
enum ReductionRule : int32_t { kReductionAreaAverage = 0, kReductionTriangle = 1, kReductionSampling = 2 };

// Effect bits. The options dialog keeps the other bits of the low byte (kEffectKeptBits).
enum EffectBits : int32_t { kEffectSharpen = 1, kEffectGrayscale = 2, kEffectSepia = 4 };
inline constexpr int32_t kEffectKeptBits = 0xF8;

}  // namespace pelimon
