// Texts of the options dialog (COptMain) and its three pages, kept in one place for translation.
// UTF-8; the full-width characters are part of the texts.
#pragma once

#include "controls/gui_text.h"

namespace pelimon::option_texts {

inline constexpr char kContext[] = "option_texts";

inline constexpr GuiText kTitle{kContext, QT_TRANSLATE_NOOP("option_texts", "オプション設定")};
inline constexpr GuiText kTabGeneral{kContext, QT_TRANSLATE_NOOP("option_texts", "全般")};
inline constexpr GuiText kTabFileName{kContext, QT_TRANSLATE_NOOP("option_texts", "ファイル名")};
inline constexpr GuiText kTabReduction{kContext, QT_TRANSLATE_NOOP("option_texts", "縮小方法")};
inline constexpr const char* kOk = "OK";
inline constexpr GuiText kCancel{kContext, QT_TRANSLATE_NOOP("option_texts", "キャンセル")};

// Page 全般 (CSetOption).
inline constexpr GuiText kDropGroup{
    kContext, QT_TRANSLATE_NOOP("option_texts", "ドラッグ&&ドロップ時の動作")};  // && shows a single &
inline constexpr GuiText kDragDrop{kContext, QT_TRANSLATE_NOOP("option_texts", "すぐに縮小処理を開始する")};
inline constexpr GuiText kBigSizeGroup{kContext,
                                       QT_TRANSLATE_NOOP("option_texts", "元画像より大きいサイズを指定した場合")};
inline constexpr GuiText kEqual{kContext, QT_TRANSLATE_NOOP("option_texts", "元画像と同サイズも含める")};
inline constexpr GuiText kEnlarge{kContext, QT_TRANSLATE_NOOP("option_texts", "拡大する")};
inline constexpr GuiText kLeaveAlone{kContext, QT_TRANSLATE_NOOP("option_texts", "何もしない")};
inline constexpr GuiText kRemoveExifOnly{kContext, QT_TRANSLATE_NOOP("option_texts", "Exif 情報のみ削除")};
inline constexpr GuiText kExifGroup{kContext, QT_TRANSLATE_NOOP("option_texts", "Exif 情報")};
inline constexpr GuiText kKeepExif{kContext, QT_TRANSLATE_NOOP("option_texts", "Exif 情報は残したままにする")};
inline constexpr GuiText kNoLocation{kContext, QT_TRANSLATE_NOOP("option_texts", "位置情報を削除する")};
inline constexpr GuiText kExifDate{kContext, QT_TRANSLATE_NOOP("option_texts", "更新日を撮影日にする")};
inline constexpr GuiText kAutoRotate{kContext, QT_TRANSLATE_NOOP("option_texts", "Exif の回転情報で自動回転する")};
inline constexpr GuiText kToSrgb{kContext, QT_TRANSLATE_NOOP("option_texts", "色を sRGB に変換する")};
inline constexpr GuiText kOutputGroup{kContext, QT_TRANSLATE_NOOP("option_texts", "出力先フォルダ")};
inline constexpr GuiText kUserFolder{kContext, QT_TRANSLATE_NOOP("option_texts", "ユーザー指定")};
inline constexpr GuiText kResizeFolder{kContext,
                                       QT_TRANSLATE_NOOP("option_texts", "元画像フォルダ内 resize+日付フォルダ")};

// Page ファイル名 (CSetOption2).
inline constexpr GuiText kNamingGroup{kContext, QT_TRANSLATE_NOOP("option_texts", "縮小画像ファイルの命名規則")};
inline constexpr GuiText kAppendText{kContext, QT_TRANSLATE_NOOP("option_texts", "元の名前の末尾に文字列追加")};
inline constexpr GuiText kPrependText{kContext, QT_TRANSLATE_NOOP("option_texts", "元の名前の先頭に文字列追加")};
inline constexpr GuiText kAddTextLabel{kContext, QT_TRANSLATE_NOOP("option_texts", "追加文字")};
inline constexpr GuiText kSerialNumber{kContext,
                                       QT_TRANSLATE_NOOP("option_texts", "指定した名前の末尾に通し番号を追加")};
inline constexpr GuiText kBaseNameLabel{kContext, QT_TRANSLATE_NOOP("option_texts", "基本名")};
inline constexpr GuiText kStartNumLabel{kContext, QT_TRANSLATE_NOOP("option_texts", "開始番号")};
inline constexpr GuiText kZeroPadding{kContext, QT_TRANSLATE_NOOP("option_texts", "通し番号は桁数を揃える")};
inline constexpr GuiText kSaveNum{kContext, QT_TRANSLATE_NOOP("option_texts", "通し番号を記憶する")};
inline constexpr GuiText kClearNumber{kContext, QT_TRANSLATE_NOOP("option_texts", "番号クリア")};

// Page 縮小方法 (CSetOption3).
inline constexpr GuiText kAlgorithmGroup{
    kContext, QT_TRANSLATE_NOOP("option_texts", "アルゴリズム（上のものほど綺麗に縮小できます）")};
inline constexpr GuiText kAreaAverage1{kContext, QT_TRANSLATE_NOOP("option_texts", "領域内平均カラー値 １")};
inline constexpr GuiText kAreaAverage2{kContext, QT_TRANSLATE_NOOP("option_texts", "領域内平均カラー値 ２")};
inline constexpr GuiText kSampling{kContext, QT_TRANSLATE_NOOP("option_texts", "サンプリング法")};
inline constexpr GuiText kEffectGroup{kContext, QT_TRANSLATE_NOOP("option_texts", "エフェクト")};
inline constexpr GuiText kSharpen{kContext, QT_TRANSLATE_NOOP("option_texts", "画像をクッキリさせる")};
inline constexpr GuiText kGain{kContext, QT_TRANSLATE_NOOP("option_texts", "ゲイン")};
inline constexpr GuiText kGrayscale{kContext, QT_TRANSLATE_NOOP("option_texts", "グレイスケール")};
inline constexpr GuiText kSepia{kContext, QT_TRANSLATE_NOOP("option_texts", "セピア調にする")};
inline constexpr GuiText kContrast{kContext, QT_TRANSLATE_NOOP("option_texts", "コントラスト調整")};

// Confirmations and errors of OK.
inline constexpr GuiText kSameNameCaption{kContext, QT_TRANSLATE_NOOP("option_texts", "命名規則確認")};
inline constexpr GuiText kSameName{
    kContext, QT_TRANSLATE_NOOP("option_texts", "元画像と同じファイル名で縮小します。よろしいですか？")};
inline constexpr GuiText kBaseNameCaption{kContext, QT_TRANSLATE_NOOP("option_texts", "基本名確認")};
inline constexpr GuiText kBaseNameDefault{
    kContext, QT_TRANSLATE_NOOP("option_texts", "基本名を resize とします。よろしいですか？")};
inline constexpr GuiText kNameErrorCaption{kContext, QT_TRANSLATE_NOOP("option_texts", "ファイル名エラー")};
inline constexpr GuiText kNameHasSlash{kContext,
                                       QT_TRANSLATE_NOOP("option_texts", "追加文字と基本名には「/」を使えません。")};

}  // namespace pelimon::option_texts
