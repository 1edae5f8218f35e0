// Texts of the size settings dialog (CSetSize), kept in one place for translation.
// UTF-8; the full-width characters are part of the texts.
#pragma once

#include "controls/gui_text.h"

namespace pelimon::size_texts {

inline constexpr char kContext[] = "size_texts";

inline constexpr GuiText kTitle{kContext, QT_TRANSLATE_NOOP("size_texts", "サイズ設定")};
inline constexpr GuiText kSizeGroup{kContext, QT_TRANSLATE_NOOP("size_texts", "画像の大きさ（解像度）の設定")};
inline constexpr GuiText kPixelRadio{kContext, QT_TRANSLATE_NOOP("size_texts", "画像サイズを指定する（ピクセル単位）")};
inline constexpr GuiText kRatioRadio{kContext, QT_TRANSLATE_NOOP("size_texts", "元画像に対する割合を指定する")};
inline constexpr GuiText kWidthLabel{kContext, QT_TRANSLATE_NOOP("size_texts", "幅")};
inline constexpr GuiText kHeightLabel{kContext, QT_TRANSLATE_NOOP("size_texts", "高さ")};
inline constexpr const char* kPercent = "%";
inline constexpr GuiText kPixEven{kContext, QT_TRANSLATE_NOOP("size_texts", "指定しないピクセル数は偶数にする")};
inline constexpr GuiText kHalve{kContext, QT_TRANSLATE_NOOP("size_texts", "半分にする")};
inline constexpr GuiText kDouble{kContext, QT_TRANSLATE_NOOP("size_texts", "2 倍にする")};
inline constexpr GuiText kFileSizeGroup{
    kContext, QT_TRANSLATE_NOOP("size_texts", "ファイルサイズ指定（JPEG・WebP・AVIF で保存時のみ有効）")};
inline constexpr GuiText kSetSize{kContext, QT_TRANSLATE_NOOP("size_texts", "ファイルサイズを指定して縮小する")};
inline constexpr GuiText kDataSizeLabel{kContext, QT_TRANSLATE_NOOP("size_texts", "指定サイズ")};
inline constexpr const char* kKilobytes = "KB";
inline constexpr GuiText kQualityGroup{kContext, QT_TRANSLATE_NOOP("size_texts", "最低限確保する画質")};
inline constexpr GuiText kQualityNote{
    kContext, QT_TRANSLATE_NOOP("size_texts", "指定ファイルサイズに出来ない場合ここで指定した画質で縮小")};
inline constexpr GuiText kLowQuality{kContext, QT_TRANSLATE_NOOP("size_texts", "低画質（1）")};
inline constexpr GuiText kHighQuality{kContext, QT_TRANSLATE_NOOP("size_texts", "高画質（100）")};
inline constexpr GuiText kAspectGroup{kContext, QT_TRANSLATE_NOOP("size_texts", "縮小画像の縦横比")};
inline constexpr GuiText kKeepAspect{kContext, QT_TRANSLATE_NOOP("size_texts", "元画像の縦横比を保持する")};
inline constexpr GuiText kRectWidth{kContext, QT_TRANSLATE_NOOP("size_texts", "幅を指定する")};
inline constexpr GuiText kRectHeight{kContext, QT_TRANSLATE_NOOP("size_texts", "高さを指定する")};
inline constexpr GuiText kRectFit{kContext, QT_TRANSLATE_NOOP("size_texts", "指定矩形に収まるように合わせる")};
inline constexpr const char* kOk = "OK";
inline constexpr GuiText kCancel{kContext, QT_TRANSLATE_NOOP("size_texts", "キャンセル")};

inline constexpr GuiText kErrorCaption{kContext, QT_TRANSLATE_NOOP("size_texts", "エラー")};
inline constexpr GuiText kQualityRange{kContext, QT_TRANSLATE_NOOP("size_texts", "1 ～ 100 の値を入力して下さい。")};
inline constexpr GuiText kDataSizeInvalid{kContext, QT_TRANSLATE_NOOP("size_texts", "データサイズが不正です。")};
inline constexpr GuiText kConfirmCaption{kContext, QT_TRANSLATE_NOOP("size_texts", "確認")};
inline constexpr GuiText kDataSizeLarge{
    kContext, QT_TRANSLATE_NOOP("size_texts", "データサイズが大きすぎるようです。正しくセットされていますか？")};
inline constexpr GuiText kSizeErrorCaption{kContext, QT_TRANSLATE_NOOP("size_texts", "画像サイズエラー")};
inline constexpr GuiText kSizeError{
    kContext, QT_TRANSLATE_NOOP("size_texts", "画像サイズの指定が不正です。正しいサイズにセットし直して下さい。")};

// Descriptions of the size rule (Qt's %1 and %2 for the numbers; the colon is full-width with a blank
// each side).
inline constexpr GuiText kPixelWidthFixed{kContext, QT_TRANSLATE_NOOP("size_texts", "幅固定 ： %1 pixel")};
inline constexpr GuiText kPixelHeightFixed{kContext, QT_TRANSLATE_NOOP("size_texts", "高さ固定 ： %1 pixel")};
inline constexpr GuiText kPixelRect{kContext, QT_TRANSLATE_NOOP("size_texts", "領域指定 ： %1 x %2 pixel")};
inline constexpr GuiText kPixelBoth{kContext, QT_TRANSLATE_NOOP("size_texts", "幅・高さ固定 ： %1 x %2 pixel")};
inline constexpr GuiText kRatioWidthFixed{kContext, QT_TRANSLATE_NOOP("size_texts", "幅固定 ： %1%")};
inline constexpr GuiText kRatioHeightFixed{kContext, QT_TRANSLATE_NOOP("size_texts", "高さ固定 ： %1%")};
inline constexpr GuiText kRatioRect{kContext, QT_TRANSLATE_NOOP("size_texts", "領域指定 ： %1% x %2%")};
inline constexpr GuiText kRatioBoth{kContext, QT_TRANSLATE_NOOP("size_texts", "幅・高さ固定 ： %1% x %2%")};

}  // namespace pelimon::size_texts
