// Texts of the options dialog (COptMain) and its three pages, kept in one place for translation.
// UTF-8; the full-width characters are part of the texts.
#pragma once

namespace pelimon::option_texts {

inline constexpr const char* kTitle = "オプション設定";
inline constexpr const char* kTabGeneral = "全般";
inline constexpr const char* kTabFileName = "ファイル名";
inline constexpr const char* kTabReduction = "縮小方法";
inline constexpr const char* kOk = "OK";
inline constexpr const char* kCancel = "キャンセル";

// Page 全般 (CSetOption).
inline constexpr const char* kDropGroup = "ドラッグ&&ドロップ時の動作";  // && shows a single &
inline constexpr const char* kDragDrop = "すぐに縮小処理を開始する";
inline constexpr const char* kBigSizeGroup = "元画像より大きいサイズを指定した場合";
inline constexpr const char* kEqual = "元画像と同サイズも含める";
inline constexpr const char* kEnlarge = "拡大する";
inline constexpr const char* kLeaveAlone = "何もしない";
inline constexpr const char* kRemoveExifOnly = "Exif 情報のみ削除";
inline constexpr const char* kExifGroup = "Exif 情報";
inline constexpr const char* kKeepExif = "Exif 情報は残したままにする";
inline constexpr const char* kNoLocation = "位置情報を削除する";
inline constexpr const char* kExifDate = "更新日を撮影日にする";
inline constexpr const char* kAutoRotate = "Exif の回転情報で自動回転する";
inline constexpr const char* kToSrgb = "色を sRGB に変換する";
inline constexpr const char* kOutputGroup = "出力先フォルダ";
inline constexpr const char* kUserFolder = "ユーザー指定";
inline constexpr const char* kResizeFolder = "元画像フォルダ内 resize+日付フォルダ";

// Page ファイル名 (CSetOption2).
inline constexpr const char* kNamingGroup = "縮小画像ファイルの命名規則";
inline constexpr const char* kAppendText = "元の名前の末尾に文字列追加";
inline constexpr const char* kPrependText = "元の名前の先頭に文字列追加";
inline constexpr const char* kAddTextLabel = "追加文字";
inline constexpr const char* kSerialNumber = "指定した名前の末尾に通し番号を追加";
inline constexpr const char* kBaseNameLabel = "基本名";
inline constexpr const char* kStartNumLabel = "開始番号";
inline constexpr const char* kZeroPadding = "通し番号は桁数を揃える";
inline constexpr const char* kSaveNum = "通し番号を記憶する";
inline constexpr const char* kClearNumber = "番号クリア";

// Page 縮小方法 (CSetOption3).
inline constexpr const char* kAlgorithmGroup = "アルゴリズム（上のものほど綺麗に縮小できます）";
inline constexpr const char* kAreaAverage1 = "領域内平均カラー値 １";
inline constexpr const char* kAreaAverage2 = "領域内平均カラー値 ２";
inline constexpr const char* kSampling = "サンプリング法";
inline constexpr const char* kEffectGroup = "エフェクト";
inline constexpr const char* kSharpen = "画像をクッキリさせる";
inline constexpr const char* kGain = "ゲイン";
inline constexpr const char* kGrayscale = "グレイスケール";
inline constexpr const char* kSepia = "セピア調にする";
inline constexpr const char* kContrast = "コントラスト調整";

// Confirmations and errors of OK.
inline constexpr const char* kSameNameCaption = "命名規則確認";
inline constexpr const char* kSameName = "元画像と同じファイル名で縮小します。よろしいですか？";
inline constexpr const char* kBaseNameCaption = "基本名確認";
inline constexpr const char* kBaseNameDefault = "基本名を resize とします。よろしいですか？";
inline constexpr const char* kNameErrorCaption = "ファイル名エラー";
inline constexpr const char* kNameHasSlash = "追加文字と基本名には「/」を使えません。";

}  // namespace pelimon::option_texts
