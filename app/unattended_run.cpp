#include "app/unattended_run.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "app/app_texts.h"
#include "app/cpelimon_app.h"
#include "app/terminal_interaction.h"
#include "batch/output_folder.h"
#include "filelist/source_list.h"

namespace pelimon {

namespace t = app_texts;

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
        PrintNote({t::kNoParameterLines.str(), command_line.parameter_file.value_or("")});
    } else if (outcome.problem == CommandLineOutcome::Problem::kNone && !outcome.batch_ran) {
        PrintNote({t::kNothingRun.str(), {}});
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
    return t::kUsage.str();
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
    return t::Summary(static_cast<size_t>(batch.written), batch.output_folder, batch.failures.size(),
                      batch.renamed.size(), static_cast<size_t>(batch.skipped), static_cast<size_t>(batch.up_to_date),
                      batch.kind == BatchOutcome::Kind::kCancelled);
}

std::string DryRunUpdateLine(const BatchOutcome& batch) {
    const auto to_write = std::count_if(batch.planned.begin(), batch.planned.end(), [](const PlannedOutput& planned) {
        return !planned.error && !planned.skipped;
    });
    return t::DryRunUpdate(static_cast<size_t>(to_write), static_cast<size_t>(batch.up_to_date));
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
    SourceList sources;
    const CommandLineOutcome outcome =
        HandleCommandLine(command_line, sources, settings, ui, MakeBatchRunner(TodayDateText()));
    if (outcome.batch_ran) {
        StoreCarriedSettings(outcome.batch.carried, settings);
    }

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
        PrintNote({t::kSettingsNotSaved + saved.error().message, saved.error().path});
        if (status == kExitAllWritten) {
            status = kExitSettingsNotSaved;
        }
    }
    return status;
}

}  // namespace pelimon
