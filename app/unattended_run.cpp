#include "app/unattended_run.h"

#include <unistd.h>

#include <cstdio>

#include "app/cpelimon_app.h"
#include "app/terminal_interaction.h"
#include "batch/output_folder.h"
#include "filelist/source_list.h"

namespace pelimon {
namespace {

constexpr const char* kProgram = "pelimon";

void PrintNote(const Error& note) {
    if (note.path.empty()) {
        std::fprintf(stderr, "%s: %s\n", kProgram, note.message.c_str());
    } else {
        std::fprintf(stderr, "%s: %s: %s\n", kProgram, note.path.c_str(), note.message.c_str());
    }
}

// What the person should know when the handling ends without a batch or with a silent problem.
void ExplainOutcome(const CommandLine& command_line, const CommandLineOutcome& outcome) {
    if (outcome.problem == CommandLineOutcome::Problem::kNoParameterLines) {
        PrintNote({"パラメータファイルに設定の行がありません。", command_line.parameter_file.value_or("")});
    } else if (outcome.problem == CommandLineOutcome::Problem::kNone && !outcome.batch_ran) {
        PrintNote({"縮小処理は行いませんでした。すぐに処理するには /Q を付けてください。", {}});
    }
}

}  // namespace

bool DisplayAvailable(const EnvLookup& env) {
    if (env("QT_QPA_PLATFORM") == std::optional<std::string>("offscreen")) {
        return false;
    }
    return env("DISPLAY").has_value() || env("WAYLAND_DISPLAY").has_value();
}

std::string UsageText() {
    return "使い方: pelimon [/Q] [/G] [ファイルまたはフォルダ ...]\n"
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
}

std::string VersionText() {
    return std::string(kProgram) + " " + PELIMON_VERSION;
}

int ExitStatusOf(const CommandLineOutcome& outcome) {
    if (outcome.problem != CommandLineOutcome::Problem::kNone) {
        return kExitCommandLineError;
    }
    if (!outcome.batch_ran) {
        return kExitNothingToDo;
    }
    switch (outcome.batch.kind) {
        case BatchOutcome::Kind::kNothingToDo:
            return kExitNothingToDo;
        case BatchOutcome::Kind::kStopped:
            return kExitSomeFailed;
        case BatchOutcome::Kind::kCancelled:
            return kExitInterrupted;
        case BatchOutcome::Kind::kCompleted:
            break;
    }
    return outcome.batch.failures.empty() ? kExitAllWritten : kExitSomeFailed;
}

std::string SummaryLine(const BatchOutcome& batch) {
    std::string line = std::string(kProgram) + ": " + std::to_string(batch.written) + " 件を " + batch.output_folder +
                       " に書き出しました";
    std::string details;
    const auto add = [&details](const char* label, size_t count) {
        if (count > 0) {
            details += (details.empty() ? "" : "、") + std::string(label) + " " + std::to_string(count) + " 件";
        }
    };
    add("失敗", batch.failures.size());
    add("別名", batch.renamed.size());
    add("そのまま", static_cast<size_t>(batch.skipped));
    if (!details.empty()) {
        line += "（" + details + "）";
    }
    if (batch.kind == BatchOutcome::Kind::kCancelled) {
        line += "。中断しました";
    }
    return line;
}

int RunUnattended(std::span<const std::string> args) {
    const CommandLine command_line = ParseCommandLine(args);
    if (command_line.empty) {
        std::fputs(UsageText().c_str(), stderr);
        return kExitCommandLineError;
    }

    CpelimonApp app;
    if (const Status started = app.Start(); !started) {
        std::fprintf(stderr, "%s: %s\n", kProgram, started.error().message.c_str());
        return kExitLibraryTooOld;
    }
    AppSettings& settings = app.settings();

    TerminalInteraction ui(stderr, isatty(STDERR_FILENO) == 1);
    TerminalInteraction::InstallCancelSignals();
    SourceList sources(settings);
    const CommandLineOutcome outcome =
        HandleCommandLine(command_line, sources, settings, ui, MakeBatchRunner(TodayDateText()));

    for (const Error& note : outcome.path_notes) {
        PrintNote(note);
    }
    ExplainOutcome(command_line, outcome);
    const bool wrote_something = outcome.batch_ran && (outcome.batch.kind == BatchOutcome::Kind::kCompleted ||
                                                       outcome.batch.kind == BatchOutcome::Kind::kCancelled);
    if (wrote_something) {
        std::fprintf(stderr, "%s\n", SummaryLine(outcome.batch).c_str());
    }

    int status = ExitStatusOf(outcome);
    if (const Status saved = app.Finish(); !saved) {
        PrintNote({"設定ファイルを保存できませんでした: " + saved.error().message, saved.error().path});
        if (status == kExitAllWritten) {
            status = kExitSettingsNotSaved;
        }
    }
    return status;
}

}  // namespace pelimon
