// Texts of the size settings dialog (CSetSize), kept in one place for translation.
// UTF-8; the full-width characters are part of the texts.
#pragma once

namespace pelimon::size_texts {

inline constexpr const char* kTitle = "サイズ設定";
inline constexpr const char* kSizeGroup = "画像の大きさ（解像度）の設定";
inline constexpr const char* kPixelRadio = "画像サイズを指定する（ピクセル単位）";
inline constexpr const char* kRatioRadio = "元画像に対する割合を指定する";
inline constexpr const char* kWidthLabel = "幅";
inline constexpr const char* kHeightLabel = "高さ";
inline constexpr const char* kPercent = "%";
inline constexpr const char* kPixEven = "指定しないピクセル数は偶数にする";
inline constexpr const char* kHalve = "半分にする";
inline constexpr const char* kDouble = "2 倍にする";
inline constexpr const char* kFileSizeGroup = "ファイルサイズ指定（JPEG で保存時のみ有効）";
inline constexpr const char* kSetSize = "ファイルサイズを指定して縮小する";
inline constexpr const char* kDataSizeLabel = "指定サイズ";
inline constexpr const char* kKilobytes = "KB";
inline constexpr const char* kQualityGroup = "最低限確保する画質";
inline constexpr const char* kQualityNote = "指定ファイルサイズに出来ない場合ここで指定した画質で縮小";
inline constexpr const char* kLowQuality = "低画質（1）";
inline constexpr const char* kHighQuality = "高画質（100）";
inline constexpr const char* kAspectGroup = "縮小画像の縦横比";
inline constexpr const char* kKeepAspect = "元画像の縦横比を保持する";
inline constexpr const char* kRectWidth = "幅を指定する";
inline constexpr const char* kRectHeight = "高さを指定する";
inline constexpr const char* kRectFit = "指定矩形に収まるように合わせる";
inline constexpr const char* kOk = "OK";
inline constexpr const char* kCancel = "キャンセル";

inline constexpr const char* kErrorCaption = "エラー";
inline constexpr const char* kQualityRange = "1 ～ 100 の値を入力して下さい。";
inline constexpr const char* kDataSizeInvalid = "データサイズが不正です。";
inline constexpr const char* kConfirmCaption = "確認";
inline constexpr const char* kDataSizeLarge = "データサイズが大きすぎるようです。正しくセットされていますか？";
inline constexpr const char* kSizeErrorCaption = "画像サイズエラー";
inline constexpr const char* kSizeError = "画像サイズの指定が不正です。正しいサイズにセットし直して下さい。";

// Descriptions of the size rule (printf formats; the colon is full-width with a blank each side).
inline constexpr const char* kPixelWidthFixed = "幅固定 ： %d pixel";
inline constexpr const char* kPixelHeightFixed = "高さ固定 ： %d pixel";
inline constexpr const char* kPixelRect = "領域指定 ： %d x %d pixel";
inline constexpr const char* kPixelBoth = "幅・高さ固定 ： %d x %d pixel";
inline constexpr const char* kRatioWidthFixed = "幅固定 ： %d%%";
inline constexpr const char* kRatioHeightFixed = "高さ固定 ： %d%%";
inline constexpr const char* kRatioRect = "領域指定 ： %d%% x %d%%";
inline constexpr const char* kRatioBoth = "幅・高さ固定 ： %d%% x %d%%";

}  // namespace pelimon::size_texts
