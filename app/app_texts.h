// Texts of the start-up, the command line and the unattended run on a terminal, kept in one
// place for translation: the usage pages, the option errors, the dry-run and progress lines.
// Texts with a "%s" or "%d" are printf formats.
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
    "  --help, --version   オプション（- で始まる引数）の一覧とバージョン\n"
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

// The POSIX command line (any argument starting with '-').

// `pelimon --help` when the command line is a POSIX one (any argument starting with '-').
inline constexpr std::string_view kPosixUsage =
    "使い方: pelimon [オプション]... ファイルまたはフォルダ...\n"
    "        pelimon [/Q] [/G] [ファイルまたはフォルダ ...]\n"
    "        pelimon /F パラメータファイル\n"
    "写真を縮小してコピーします。フォルダは一覧に出る種類のファイルをすべて、ファイルはそのまま処理します。\n"
    "オプションを付けるとウィンドウを開かず、設定ファイルの設定にオプションを重ねてこの回だけ使います\n"
    "（設定ファイルは書き換えません。連番は毎回 StartNum から始まります）。\n"
    "\n"
    "  -o, --output フォルダ     出力フォルダ（無ければ作ります。相対パスは現在のフォルダから）\n"
    "  -s, --size 幅x高さ        幅 x 高さに収めます（縦横比を保持）\n"
    "      --width 幅            この幅にします（縦横比を保持）\n"
    "      --height 高さ         この高さにします（縦横比を保持）\n"
    "  -p, --percent N           元画像の N %\n"
    "      --enlarge             目標より小さい元画像を拡大します（既定: 元のサイズで書き出す）\n"
    "  -f, --format 形式         same, jpeg, png, gif, bmp, webp, avif\n"
    "  -q, --quality N           画質 1〜100（JPEG, WebP, AVIF）\n"
    "      --target-size KB      このファイルサイズに収めます（--min-quality N で最低画質）\n"
    "      --sampling            領域内平均の代わりにサンプリング法で縮小します\n"
    "      --sharpen, --grey, --sepia, --contrast N   効果（N は -128〜128）\n"
    "      --rotate 90|180|270   すべてのファイルを時計回りに回転します\n"
    "      --suffix 文字列       ファイル名の後ろに付けます\n"
    "      --prefix 文字列       ファイル名の前に付けます\n"
    "      --number ベース名     ベース名 + 連番にします\n"
    "      --keep-exif           Exif（と XMP, IPTC）を残します\n"
    "      --strip               メタデータを何も残しません\n"
    "      --no-location         位置情報を削除します（ほかは変えません）\n"
    "      --exif-date           出力ファイルの更新日を撮影日にします\n"
    "      --no-auto-rotate      Exif の向きを画素に適用しません\n"
    "      --keep-profile        色を sRGB に変換せず、プロファイルをそのまま残します\n"
    "  -j, --jobs N              処理スレッド数（既定: すべてのコア）\n"
    "  -n, --dry-run             元画像、出力先、ピクセルサイズ、形式を表示し、何も書き出しません\n"
    "      --quiet               標準エラー出力を減らします\n"
    "      --verbose             書き出したファイルを 1 行ずつ表示します\n"
    "  -h, --help                この説明を表示します\n"
    "  -V, --version             バージョンを表示します\n"
    "\n"
    "終了コード: 0 すべて書き出した  1 画像ライブラリが古い  2 コマンドラインかパラメータファイルの誤り\n"
    "  3 処理するものが無い  4 失敗したファイルがある  5 設定ファイルを保存できない  130 中断された\n"
    "設定ファイルは環境変数 PELIMON_INI で指定できます。詳しくは man pelimon をご覧ください。\n";

// The line under every command-line error.
inline constexpr std::string_view kUsageHint = "詳しくは「pelimon --help」をご覧ください。";

// Option errors (one line each; the option is named as it was written).
inline constexpr std::string_view kUnknownOption = "不明なオプションです: %s";
inline constexpr std::string_view kMissingValue = "オプション %s には値が必要です";
inline constexpr std::string_view kNotANumber = "オプション %s の値 %s は数ではありません";
inline constexpr std::string_view kOutOfRange = "オプション %s の値 %s が範囲外です（%d〜%d）";
inline constexpr std::string_view kBadSize = "オプション %s の値 %s は 幅x高さ（例 1600x1200）ではありません";
inline constexpr std::string_view kBadChoice = "オプション %s の値 %s は使えません（%s）";
inline constexpr std::string_view kUnexpectedValue = "オプション %s は値を取りません";
inline constexpr std::string_view kExcludes = "オプション %s と %s は一緒に使えません";
inline constexpr std::string_view kSwitchWithOptions = "%s は - で始まるオプションと一緒には使えません";
inline constexpr std::string_view kNoSources = "ファイルまたはフォルダを指定してください";

// Run notes.
inline constexpr std::string_view kSourceMissing = "見つかりません";
inline constexpr std::string_view kNotAFileOrFolder = "ファイルでもフォルダでもありません";
inline constexpr std::string_view kNothingListed = "処理する画像ファイルがありません";
inline constexpr std::string_view kDryRunSkipped = "（書き出さない: 元画像が目標より小さい）";
inline constexpr std::string_view kDryRunFails = "（失敗: %s）";

// The progress line's additions: the time left ("残り m:ss").
inline constexpr std::string_view kTimeLeft = "残り %d:%02d";

}  // namespace pelimon::app_texts
