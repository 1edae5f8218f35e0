// Texts of the main window, kept in one place; their English is in res/i18n/pelimon_en.ts.
#pragma once

#include "controls/gui_text.h"

namespace pelimon::main_texts {

inline constexpr char kContext[] = "main_texts";

inline constexpr GuiText kTitle{kContext, QT_TRANSLATE_NOOP("main_texts", "ペリモン !!")};
inline constexpr GuiText kAboutMenu{kContext, QT_TRANSLATE_NOOP("main_texts", "ペリモン !! のバージョン情報...")};

// Captions and groups.
inline constexpr GuiText kSourceCaption{kContext, QT_TRANSLATE_NOOP("main_texts", "画像ファイルの存在するフォルダ")};
inline constexpr GuiText kListCaption{kContext, QT_TRANSLATE_NOOP("main_texts", "ファイル一覧")};
inline constexpr GuiText kCountInitial{kContext, QT_TRANSLATE_NOOP("main_texts", "（ファイル数 ： ）")};
inline constexpr GuiText kPreviewGroup{kContext, QT_TRANSLATE_NOOP("main_texts", "画像のプレビュー")};
inline constexpr GuiText kTypeGroup{kContext, QT_TRANSLATE_NOOP("main_texts", "対象画像")};
inline constexpr GuiText kOutputCaption{kContext, QT_TRANSLATE_NOOP("main_texts", "縮小画像の出力先フォルダ")};
inline constexpr GuiText kSizeGroup{kContext, QT_TRANSLATE_NOOP("main_texts", "縮小サイズ")};
inline constexpr GuiText kRotationGroup{kContext, QT_TRANSLATE_NOOP("main_texts", "画像の回転")};
inline constexpr GuiText kFormatGroup{kContext, QT_TRANSLATE_NOOP("main_texts", "縮小画像のファイル形式")};
inline constexpr GuiText kQualityGroup{kContext, QT_TRANSLATE_NOOP("main_texts", "画質（JPEG・WebP・AVIF）")};
inline constexpr GuiText kLowQuality{kContext, QT_TRANSLATE_NOOP("main_texts", "低画質")};
inline constexpr GuiText kHighQuality{kContext, QT_TRANSLATE_NOOP("main_texts", "高画質")};

// Buttons, boxes and radios.
inline constexpr char kExif[] = "Exif";
inline constexpr GuiText kSelectAll{kContext, QT_TRANSLATE_NOOP("main_texts", "選択")};
inline constexpr GuiText kClearAll{kContext, QT_TRANSLATE_NOOP("main_texts", "解除")};
inline constexpr char kSize640[] = "640x480";
inline constexpr char kSize480[] = "480x360";
inline constexpr GuiText kSizeOther{kContext, QT_TRANSLATE_NOOP("main_texts", "その他")};
inline constexpr GuiText kSizeCurrent{kContext, QT_TRANSLATE_NOOP("main_texts", "現在の設定")};
inline constexpr GuiText kSizeSet{kContext, QT_TRANSLATE_NOOP("main_texts", "設定")};
inline constexpr char kRotate0[] = "0°";
inline constexpr char kRotate90[] = "90°";
inline constexpr char kRotate180[] = "180°";
inline constexpr char kRotate270[] = "270°";
inline constexpr GuiText kRotateReset{kContext, QT_TRANSLATE_NOOP("main_texts", "リセット")};
inline constexpr GuiText kFormatSame{kContext, QT_TRANSLATE_NOOP("main_texts", "元画像と同じ")};
inline constexpr GuiText kDefaults{kContext, QT_TRANSLATE_NOOP("main_texts", "デフォルト")};
inline constexpr GuiText kOptions{kContext, QT_TRANSLATE_NOOP("main_texts", "オプション")};
inline constexpr GuiText kRun{kContext, QT_TRANSLATE_NOOP("main_texts", "実行")};
inline constexpr GuiText kHelp{kContext, QT_TRANSLATE_NOOP("main_texts", "ヘルプ")};
inline constexpr GuiText kQuit{kContext, QT_TRANSLATE_NOOP("main_texts", "終了")};

// List columns.
inline constexpr GuiText kColumnName{kContext, QT_TRANSLATE_NOOP("main_texts", "名前")};
inline constexpr GuiText kColumnSize{kContext, QT_TRANSLATE_NOOP("main_texts", "サイズ")};

// Size descriptions of the two presets.
inline constexpr GuiText kSize640Description{kContext,
                                             QT_TRANSLATE_NOOP("main_texts", "幅・高さ固定 ： 640 x 480 pxel")};
inline constexpr GuiText kSize480Description{kContext,
                                             QT_TRANSLATE_NOOP("main_texts", "幅・高さ固定 ： 480 x 360 pxel")};
// The size rule (%1) with the target file size in KB (%2), while one is set.
inline constexpr GuiText kSizeWithTargetFormat{kContext, QT_TRANSLATE_NOOP("main_texts", "%1、%2 KB 以内")};

// Preview fields (printf formats).
inline constexpr GuiText kResolutionFormat{kContext, QT_TRANSLATE_NOOP("main_texts", "解像度　%1 x %2")};
inline constexpr GuiText kColoursFormat{kContext, QT_TRANSLATE_NOOP("main_texts", "色　数　%1　色")};

// Folder browser titles.
inline constexpr GuiText kBrowseSourceTitle{
    kContext, QT_TRANSLATE_NOOP("main_texts", "画像ファイルの有るフォルダを選んでください")};
inline constexpr GuiText kBrowseOutputTitle{
    kContext, QT_TRANSLATE_NOOP("main_texts", "画像ファイルを出力するフォルダを選んでください")};

// Messages.
inline constexpr GuiText kQualityRangeText{kContext,
                                           QT_TRANSLATE_NOOP("main_texts", "1 ～ 100 の値を入力して下さい。")};
inline constexpr GuiText kErrorCaption{kContext, QT_TRANSLATE_NOOP("main_texts", "エラー")};
inline constexpr GuiText kSettingsCaption{kContext, QT_TRANSLATE_NOOP("main_texts", "設定ファイルエラー")};
inline constexpr GuiText kHelpMissingText{kContext,
                                          QT_TRANSLATE_NOOP("main_texts", "ヘルプファイルが見つかりません。")};
inline constexpr GuiText kHelpCaption{kContext, QT_TRANSLATE_NOOP("main_texts", "ヘルプ")};
inline constexpr GuiText kSummaryCaption{kContext, QT_TRANSLATE_NOOP("main_texts", "処理結果")};
inline constexpr GuiText kSummaryFailedFormat{kContext,
                                              QT_TRANSLATE_NOOP("main_texts", "%1 個の画像を縮小できませんでした。")};
inline constexpr GuiText kSummaryNotesFormat{kContext,
                                             QT_TRANSLATE_NOOP("main_texts", "%1 個の画像を別の名前で保存しました。")};
inline constexpr GuiText kRunCancelledText{kContext, QT_TRANSLATE_NOOP("main_texts", "処理を中止しました。")};
inline constexpr GuiText kRunWrittenFormat{kContext, QT_TRANSLATE_NOOP("main_texts", "%1 個の画像を書き出しました。")};
inline constexpr GuiText kRunLeftOutFormat{
    kContext, QT_TRANSLATE_NOOP(
                  "main_texts",
                  "%1 個の画像は出力しませんでした（拡大しない設定で縮小の必要がない画像、見つからなくなった画像）。")};
inline constexpr GuiText kReportFileColumn{kContext, QT_TRANSLATE_NOOP("main_texts", "ファイル")};
inline constexpr GuiText kReportReasonColumn{kContext, QT_TRANSLATE_NOOP("main_texts", "理由")};
inline constexpr GuiText kFolderMissingFormat{kContext,
                                              QT_TRANSLATE_NOOP("main_texts", "フォルダ %1 は存在しません。")};
inline constexpr GuiText kFolderOpenFailedText{kContext,
                                               QT_TRANSLATE_NOOP("main_texts", "出力先のフォルダを開けませんでした。")};

}  // namespace pelimon::main_texts
