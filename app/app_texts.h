// Texts of the start-up, the command line and the unattended run on a terminal, in Japanese and
// English, kept in one place: the usage pages, the option errors, the dry-run and progress lines.
// FormatPhrase texts are printf formats.
#pragma once

#include <cstddef>
#include <string>

#include "common/language.h"

namespace pelimon::app_texts {

// Shown (window) or printed (terminal) when the image library is older than the program needs.
inline constexpr Phrase kLibraryVersionMessage{
    "imgctl.dll のバージョンが異なります。imgctl.dll は、「ペリモン!!」同梱のものをご使用下さい。",
    "imgctl.dll is not the expected version. Use the imgctl.dll that comes with pelimon."};

// Command-line handling (shown through the Interaction).
inline constexpr Phrase kCommandLineErrorCaption{"コマンドラインエラー", "Command line error"};
inline constexpr Phrase kMissingParameterFileText{"パラメータファイルが指定されていません。",
                                                  "No parameter file given."};
inline constexpr Phrase kErrorCaption{"エラー", "Error"};
inline constexpr Phrase kNoteMissing{"見つかりません（フォルダとして扱いました）。", "Not found (taken as a folder)."};
inline constexpr Phrase kNoteOutsideFolder{"元画像フォルダにないため処理されません。",
                                           "Not in the source folder, so not processed."};
inline constexpr Phrase kNoteTooLong{"パスが長すぎるため飛ばしました。", "Skipped: the path is too long."};

// The unattended run.
inline constexpr Phrase kNoParameterLines{"パラメータファイルに設定の行がありません。",
                                          "the parameter file has no setting lines"};
inline constexpr Phrase kNothingRun{"縮小処理は行いませんでした。すぐに処理するには /Q を付けてください。",
                                    "nothing was reduced; add /Q to reduce at once"};
inline constexpr Phrase kSettingsNotSaved{"設定ファイルを保存できませんでした: ", "cannot save the settings file: "};
inline constexpr Phrase kUsage{
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
    "設定ファイルは環境変数 PELIMON_INI で指定できます。\n",
    "Usage: pelimon [/Q] [/G] [FILE|FOLDER...]\n"
    "  or:  pelimon /F PARAMETER-FILE\n"
    "  /Q   reduce the named files and folders at once, then end\n"
    "  /F   reduce with the settings and file names of the parameter file, then end\n"
    "  /G   cancel the ending of /Q and /F (reduces only when DragDrop=1)\n"
    "  --help, --version   the options (arguments starting with -) and the version\n"
    "Without a display (neither DISPLAY nor WAYLAND_DISPLAY set, or QT_QPA_PLATFORM=offscreen)\n"
    "pelimon runs without a window and reports through its exit status:\n"
    "  0 all written  1 image library too old  2 command-line or parameter-file error\n"
    "  3 nothing to do  4 some files failed  5 settings file not saved\n"
    "  130 interrupted\n"
    "The PELIMON_INI environment variable names the settings file.\n"};

// The summary line of a run: "pelimon: <written> 件を <folder> に書き出しました（失敗 n 件、…）。中断しました";
// a part in parentheses only for a count above 0.
inline std::string Summary(size_t written, const std::string& folder, size_t failed, size_t renamed, size_t unchanged,
                           bool interrupted) {
    std::string details;
    const auto add = [&details](size_t count, const char* japanese, const char* english) {
        if (count == 0) {
            return;
        }
        if (InEnglish()) {
            details += (details.empty() ? "" : ", ") + std::to_string(count) + " " + english;
        } else {
            details += (details.empty() ? "" : "、") + std::string(japanese) + " " + std::to_string(count) + " 件";
        }
    };
    add(failed, "失敗", "failed");
    add(renamed, "別名", "renamed");
    add(unchanged, "そのまま", "left as they were");
    if (InEnglish()) {
        return "pelimon: wrote " + std::to_string(written) + (written == 1 ? " file" : " files") + " to " + folder +
               (details.empty() ? "" : " (" + details + ")") + (interrupted ? "; interrupted" : "");
    }
    return "pelimon: " + std::to_string(written) + " 件を " + folder + " に書き出しました" +
           (details.empty() ? "" : "（" + details + "）") + (interrupted ? "。中断しました" : "");
}

// The terminal interaction: a question answered yes at once ("caption: text → はい"), and the
// progress line ("処理中 done/total").
inline constexpr Phrase kAnsweredYes{"→ はい", "-> yes"};
inline constexpr Phrase kProgress{"処理中", "Reducing"};

// `pelimon --help` when the command line is a POSIX one (any argument starting with '-'). The
// English page lists the options as the man page (res/pelimon.1.in) does. A printf format: the first
// %s is the list of output format names (FormatChoiceNames), the second the formats that take a
// quality (PosixUsage fills them in from the format table).
inline constexpr FormatPhrase kPosixUsage{
    "使い方: pelimon [オプション]... ファイルまたはフォルダ...\n"
    "        pelimon [/Q] [/G] [ファイルまたはフォルダ ...]\n"
    "        pelimon /F パラメータファイル\n"
    "写真を縮小してコピーします。フォルダはその中の画像ファイルをすべて、ファイルはそのまま処理します。\n"
    "オプションを付けるとウィンドウを開かず、設定ファイルも読みません。出力は元画像の名前に出力形式の\n"
    "拡張子を付けて現在のフォルダに書き出します（元画像やほかの出力と重なる名前には「 (2)」などを付け、\n"
    "元画像を上書きすることはありません）。目標より小さい元画像は拡大せず、そのほかは既定値です\n"
    "（640 x 480 に収める、元画像と同じ形式、画質 90、メタデータは残さない）。オプションはこれをこの回\n"
    "だけ変えます。--settings を付けると、その設定ファイルの設定から始めます（ファイルは書き換えません）。\n"
    "連番は毎回 StartNum から始まります。\n"
    "\n"
    "      --settings ファイル   この設定ファイルの設定から始めます（書き換えません）\n"
    "  -o, --output フォルダ     出力フォルダ（既定: 現在のフォルダ。無ければ作ります）\n"
    "  -s, --size 幅x高さ        幅 x 高さに収めます（縦横比を保持）\n"
    "      --width 幅            この幅にします（縦横比を保持）\n"
    "      --height 高さ         この高さにします（縦横比を保持）\n"
    "  -p, --percent N           元画像の N %%\n"
    "      --enlarge             目標より小さい元画像を拡大します（既定: 元のサイズで書き出す）\n"
    "  -f, --format 形式         %s\n"
    "  -q, --quality N           画質 1〜100（%s）\n"
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
    "環境変数 PELIMON_INI はウィンドウと /Q, /F の設定ファイルを指定します（オプションを付けたときは\n"
    "読みません）。詳しくは man pelimon をご覧ください。\n",
    "Usage: pelimon [OPTION]... FILE|FOLDER...\n"
    "  or:  pelimon [/Q] [/G] [FILE|FOLDER...]\n"
    "  or:  pelimon /F PARAMETER-FILE\n"
    "Write a reduced copy of each photograph. A folder gives each of its image files; a file is taken\n"
    "as it is. With options, pelimon opens no window and reads no settings file: each output keeps its\n"
    "source's name with the output format's extension and goes into the current folder (a name that a\n"
    "source or another output already has gets \" (2)\" and so on; sources are never overwritten),\n"
    "sources smaller than the target are not enlarged, and everything else is at its default (fit in\n"
    "640 x 480, the source's format, quality 90, no metadata kept). The options change this for the\n"
    "run; --settings starts from a settings file's settings instead (the file is not written back).\n"
    "Numbered names start at StartNum on every run.\n"
    "\n"
    "      --settings=FILE       start from the settings of this settings file (not written back)\n"
    "  -o, --output=DIR          output folder (default: the current folder; created when missing)\n"
    "  -s, --size=WxH            fit in W x H pixels, aspect ratio kept\n"
    "      --width=W             this width, aspect ratio kept\n"
    "      --height=H            this height, aspect ratio kept\n"
    "  -p, --percent=N           N per cent of the source\n"
    "      --enlarge             enlarge sources smaller than the target (default: keep their size)\n"
    "  -f, --format=FORMAT       %s\n"
    "  -q, --quality=N           quality 1-100 (%s)\n"
    "      --target-size=KB      reach this file size (lowest quality: --min-quality=N)\n"
    "      --sampling            nearest-pixel sampling instead of area averaging\n"
    "      --sharpen, --grey, --sepia, --contrast=N   effects (N from -128 to 128)\n"
    "      --rotate=90|180|270   turn every file clockwise\n"
    "      --suffix=TEXT         put TEXT after the source's name\n"
    "      --prefix=TEXT         put TEXT before the source's name\n"
    "      --number=BASE         name the outputs BASE and a running number\n"
    "      --keep-exif           keep the Exif data (and XMP, IPTC)\n"
    "      --strip               keep no metadata\n"
    "      --no-location         remove the location (nothing else changes)\n"
    "      --exif-date           set each output's modification time to its shooting date\n"
    "      --no-auto-rotate      do not apply the Exif orientation to the pixels\n"
    "      --keep-profile        keep the colour profile instead of converting to sRGB\n"
    "  -j, --jobs=N              worker threads (default: one per core)\n"
    "  -n, --dry-run             print source, output, pixel size and format; write nothing\n"
    "      --quiet               print only errors on standard error\n"
    "      --verbose             also print a line for every written output\n"
    "  -h, --help                display this help and exit\n"
    "  -V, --version             output version information and exit\n"
    "\n"
    "Exit status: 0 all written  1 image library too old  2 command-line or parameter-file error\n"
    "  3 nothing to do  4 some files failed  5 settings file not saved  130 interrupted\n"
    "PELIMON_INI names the settings file of the window, /Q and /F; options never read it.\n"
    "See man pelimon for details.\n"};

// The line under every command-line error.
inline constexpr Phrase kUsageHint{"詳しくは「pelimon --help」をご覧ください。",
                                   "Try 'pelimon --help' for more information."};

// Option errors (one line each; the option is named as it was written).
inline constexpr FormatPhrase kUnknownOption{"不明なオプションです: %s", "unrecognized option '%s'"};
inline constexpr FormatPhrase kMissingValue{"オプション %s には値が必要です", "option '%s' requires a value"};
inline constexpr FormatPhrase kNotANumber{"オプション %s の値 %s は数ではありません",
                                          "option '%s': '%s' is not a number"};
inline constexpr FormatPhrase kOutOfRange{"オプション %s の値 %s が範囲外です（%d〜%d）",
                                          "option '%s': '%s' is out of range (%d to %d)"};
inline constexpr FormatPhrase kBadSize{"オプション %s の値 %s は 幅x高さ（例 1600x1200）ではありません",
                                       "option '%s': '%s' is not WIDTHxHEIGHT (such as 1600x1200)"};
inline constexpr FormatPhrase kBadChoice{"オプション %s の値 %s は使えません（%s）",
                                         "option '%s': invalid value '%s' (valid values: %s)"};
inline constexpr FormatPhrase kUnexpectedValue{"オプション %s は値を取りません", "option '%s' takes no value"};
inline constexpr FormatPhrase kExcludes{"オプション %s と %s は一緒に使えません",
                                        "options '%s' and '%s' cannot be used together"};
inline constexpr FormatPhrase kSwitchWithOptions{"%s は - で始まるオプションと一緒には使えません",
                                                 "%s cannot be used with options starting with '-'"};
inline constexpr FormatPhrase kSettingsNotRead{"設定ファイル %s を読み込めません（%s）",
                                               "cannot read the settings file %s (%s)"};
inline constexpr Phrase kNoSources{"ファイルまたはフォルダを指定してください", "no files or folders given"};

// Run notes.
inline constexpr Phrase kSourceMissing{"見つかりません", "no such file or folder"};
inline constexpr Phrase kNotAFileOrFolder{"ファイルでもフォルダでもありません", "not a file or folder"};
inline constexpr Phrase kDryRunSkipped{"（書き出さない: 元画像が目標より小さい）",
                                       "(not written: the source is smaller than the target)"};
inline constexpr FormatPhrase kDryRunFails{"（失敗: %s）", "(fails: %s)"};

// The progress line's additions: the time left ("残り m:ss").
inline constexpr FormatPhrase kTimeLeft{"残り %d:%02d", "%d:%02d left"};

}  // namespace pelimon::app_texts
