// Texts of the start-up, the command line and the unattended run on a terminal, kept in one
// place for translation.
#pragma once

#include <string_view>

namespace pelimon::app_texts {

// Shown (window) or printed (terminal) when the image library is older than the program needs.
inline constexpr std::string_view kLibraryVersionMessage =
    "imgctl.dll のバージョンが異なります。imgctl.dll は、「ペリモン!!」同梱のものをご使用下さい。";

// Command-line handling (shown through the Interaction).
inline constexpr std::string_view kCommandLineErrorCaption = "コマンドラインエラー";
inline constexpr std::string_view kMissingParameterFileText = "パラメータファイルが指定されていません。";
inline constexpr std::string_view kErrorCaption = "エラー";
inline constexpr std::string_view kNoteMissing = "見つかりません（フォルダとして扱いました）。";
inline constexpr std::string_view kNoteOutsideFolder = "元画像フォルダにないため処理されません。";
inline constexpr std::string_view kNoteTooLong = "パスが長すぎるため飛ばしました。";

// The unattended run.
inline constexpr const char* kNoParameterLines = "パラメータファイルに設定の行がありません。";
inline constexpr const char* kNothingRun = "縮小処理は行いませんでした。すぐに処理するには /Q を付けてください。";
inline constexpr const char* kSettingsNotSaved = "設定ファイルを保存できませんでした: ";
inline constexpr const char* kUsage =
    "使い方: pelimon [/Q] [/G] [ファイルまたはフォルダ ...]\n"
    "        pelimon /F パラメータファイル\n"
    "  /Q   すぐに縮小処理を行い、終わったら終了します\n"
    "  /F   パラメータファイルの設定とファイル名で縮小処理を行い、終了します\n"
    "  /G   /Q と /F の「終わったら終了」を取り消します（DragDrop=1 のときだけ処理します）\n"
    "  --help, --version   （ほかに引数が無いときだけ）\n"
    "画面が無いとき（DISPLAY と WAYLAND_DISPLAY が無い、または QT_QPA_PLATFORM=offscreen）は\n"
    "ウィンドウを開かずに処理し、終了コードで結果を返します:\n"
    "  0 すべて書き出した  1 画像ライブラリが古い  2 コマンドラインかパラメータファイルの誤り\n"
    "  3 処理するものが無い  4 失敗したファイルがある  5 設定ファイルを保存できない\n"
    "  130 中断された\n"
    "設定ファイルは環境変数 PELIMON_INI で指定できます。\n";

// The summary line: "<written> 件を <folder> に書き出しました（失敗 n 件、…）。中断しました".
inline constexpr const char* kWrittenTo = " 件を ";
inline constexpr const char* kWrittenEnd = " に書き出しました";
inline constexpr const char* kCountUnit = " 件";
inline constexpr const char* kDetailSeparator = "、";
inline constexpr const char* kDetailsOpen = "（";
inline constexpr const char* kDetailsClose = "）";
inline constexpr const char* kFailedLabel = "失敗";
inline constexpr const char* kRenamedLabel = "別名";
inline constexpr const char* kSkippedLabel = "そのまま";
inline constexpr const char* kCancelledEnd = "。中断しました";

// The terminal interaction: a question answered yes at once ("caption: text → はい"), and the
// progress line ("処理中 done/total").
inline constexpr const char* kAnsweredYes = "→ はい";
inline constexpr const char* kProgress = "処理中";

}  // namespace pelimon::app_texts
