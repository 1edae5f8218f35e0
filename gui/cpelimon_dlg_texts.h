// Texts of the main window, kept in one place so that they can be translated later.
#pragma once

namespace pelimon::main_texts {

inline constexpr char kTitle[] = "ペリモン !!";
inline constexpr char kAboutMenu[] = "ペリモン !! のバージョン情報...";

// Captions and groups.
inline constexpr char kSourceCaption[] = "画像ファイルの存在するフォルダ";
inline constexpr char kListCaption[] = "ファイル一覧";
inline constexpr char kCountInitial[] = "（ファイル数 ： ）";
inline constexpr char kPreviewGroup[] = "画像のプレビュー";
inline constexpr char kTypeGroup[] = "対象画像";
inline constexpr char kOutputCaption[] = "縮小画像の出力先フォルダ";
inline constexpr char kSizeGroup[] = "縮小サイズ";
inline constexpr char kRotationGroup[] = "画像の回転";
inline constexpr char kFormatGroup[] = "縮小画像のファイル形式";
inline constexpr char kQualityGroup[] = "画質（JPEG・WebP・AVIF）";
inline constexpr char kLowQuality[] = "低画質";
inline constexpr char kHighQuality[] = "高画質";

// Buttons, boxes and radios.
inline constexpr char kExif[] = "Exif";
inline constexpr char kSelectAll[] = "選択";
inline constexpr char kClearAll[] = "解除";
inline constexpr char kTypeBoxBmp[] = "BMP";
inline constexpr char kTypeBoxJpeg[] = "JPEG";
inline constexpr char kTypeBoxPng[] = "PNG";
inline constexpr char kTypeBoxGif[] = "GIF";
inline constexpr char kTypeBoxWebp[] = "WebP";
inline constexpr char kTypeBoxHeif[] = "HEIF/AVIF";
inline constexpr char kSize640[] = "640x480";
inline constexpr char kSize480[] = "480x360";
inline constexpr char kSizeOther[] = "その他";
inline constexpr char kSizeCurrent[] = "現在の設定";
inline constexpr char kSizeSet[] = "設定";
inline constexpr char kRotate0[] = "0°";
inline constexpr char kRotate90[] = "90°";
inline constexpr char kRotate180[] = "180°";
inline constexpr char kRotate270[] = "270°";
inline constexpr char kRotateReset[] = "リセット";
inline constexpr char kFormatSame[] = "元画像と同じ";
inline constexpr char kFormatBmp[] = "BMP";
inline constexpr char kFormatJpeg[] = "JPEG";
inline constexpr char kFormatPng[] = "PNG";
inline constexpr char kFormatGif[] = "GIF";
inline constexpr char kFormatWebp[] = "WebP";
inline constexpr char kFormatAvif[] = "AVIF";
inline constexpr char kDefaults[] = "デフォルト";
inline constexpr char kOptions[] = "オプション";
inline constexpr char kRun[] = "実行";
inline constexpr char kHelp[] = "ヘルプ";
inline constexpr char kQuit[] = "終了";

// List columns.
inline constexpr char kColumnName[] = "名前";
inline constexpr char kColumnSize[] = "サイズ";

// Size descriptions of the two presets.
inline constexpr char kSize640Description[] = "幅・高さ固定 ： 640 x 480 pxel";
inline constexpr char kSize480Description[] = "幅・高さ固定 ： 480 x 360 pxel";

// Preview fields (printf formats).
inline constexpr char kResolutionFormat[] = "解像度　%1 x %2";
inline constexpr char kColoursFormat[] = "色　数　%1　色";

// Folder browser titles.
inline constexpr char kBrowseSourceTitle[] = "画像ファイルの有るフォルダを選んでください";
inline constexpr char kBrowseOutputTitle[] = "画像ファイルを出力するフォルダを選んでください";

// Messages.
inline constexpr char kQualityRangeText[] = "1 ～ 100 の値を入力して下さい。";
inline constexpr char kErrorCaption[] = "エラー";
inline constexpr char kSettingsCaption[] = "設定ファイルエラー";
inline constexpr char kHelpMissingText[] = "ヘルプファイルが見つかりません。";
inline constexpr char kHelpCaption[] = "ヘルプ";
inline constexpr char kSummaryCaption[] = "処理結果";
inline constexpr char kSummaryFailedFormat[] = "%1 個の画像を縮小できませんでした。";
inline constexpr char kSummaryNotesFormat[] = "%1 個の画像を別の名前で保存しました。";
inline constexpr char kRunCancelledText[] = "処理を中止しました。";
inline constexpr char kRunWrittenFormat[] = "%1 個の画像を書き出しました。";
inline constexpr char kRunLeftOutFormat[] =
    "%1 個の画像は出力しませんでした（拡大しない設定で縮小の必要がない画像、見つからなくなった画像）。";
inline constexpr char kReportFileColumn[] = "ファイル";
inline constexpr char kReportReasonColumn[] = "理由";
inline constexpr char kFolderMissingFormat[] = "フォルダ %1 は存在しません。";
inline constexpr char kFolderOpenFailedText[] = "出力先のフォルダを開けませんでした。";

}  // namespace pelimon::main_texts
