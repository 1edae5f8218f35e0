#include "app/posix_run.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "app/app_texts.h"
#include "app/cpelimon_app.h"
#include "app/files_from.h"
#include "app/posix_presets.h"
#include "app/terminal_interaction.h"
#include "app/unattended_run.h"
#include "batch/output_folder.h"
#include "batch/run_batch.h"
#include "common/text.h"
#include "filelist/filelist_texts.h"
#include "filelist/folder_listing.h"
#include "filelist/source_list.h"
#include "imagelib/format_table.h"
#include "imagelib/imagelib.h"
#include "settings/output_folder_path.h"
#include "settings/settings_file.h"

namespace pelimon {
namespace {

namespace fs = std::filesystem;

constexpr const char* kProgram = "pelimon";

void PrintPathNote(const std::string& path, std::string_view note) {
    std::fprintf(stderr, "%s: %s: %.*s\n", kProgram, path.c_str(), static_cast<int>(note.size()), note.data());
}

std::string FolderText(const fs::path& folder) {
    std::string text = folder.string();
    return text.ends_with('/') ? text : text + '/';
}

// Every file of `folder` that the type filter (ImageType) lets through, as the window lists it
// (with Recurse on, its tree, named by paths from `folder`). Returns the subfolders that could not
// be read, each reported on standard error.
int AddFolder(const fs::path& folder, int32_t rotation, const AppSettings& settings, FileList& list) {
    SourceList listing;
    listing.ListSourceFiles(folder.string(), {}, rotation, settings);
    for (const std::string& unreadable : listing.unreadable_folders()) {
        PrintPathNote(unreadable, filelist_texts::kUnreadableFolder);
    }
    // The rows of the source folder (ImagePath) need no folder of their own: a big tree's rows then
    // hold no copy of it.
    const std::string folder_text = FolderText(folder);
    const bool source_folder = folder_text == settings.ImagePath;
    list.rows().reserve(list.rows().size() + listing.list().rows().size());
    for (FileRow& row : listing.list().rows()) {
        if (!source_folder) {
            row.folder = folder_text;
        }
        row.checked = true;
        list.rows().push_back(std::move(row));
    }
    return static_cast<int>(listing.unreadable_folders().size());
}

// Prints the dry run's line of each job, or (verbose) of each written output.
void PrintPlanned(const BatchOutcome& outcome, bool dry_run) {
    for (const PlannedOutput& planned : outcome.planned) {
        if (!dry_run && !planned.written) {
            continue;
        }
        std::string what;
        if (planned.error) {
            what = Format(app_texts::kDryRunFails, OneLine(planned.error->message));
        } else if (planned.skipped) {
            what = std::string(app_texts::kDryRunSkipped);
        } else {
            what = std::to_string(planned.width) + "x" + std::to_string(planned.height) + "\t" +
                   FormatNameOfOutputType(planned.output_type);
        }
        std::fprintf(dry_run ? stdout : stderr, "%s\t%s\t%s\n", planned.source_path.c_str(), planned.dest_path.c_str(),
                     what.c_str());
    }
}

// PosixDefaults, or the settings of the file --settings names (which is never written).
Result<AppSettings> StartingSettings(const PosixOptions& options, const std::string& current_directory) {
    if (!options.settings_file) {
        return PosixDefaults(current_directory);
    }
    AppSettings settings;
    settings.ModulePath = CurrentModulePath();
    settings.ProfilePath = (fs::path(current_directory) / *options.settings_file).lexically_normal().string();
    if (const Status loaded = LoadNamedSettings(settings); !loaded) {
        return Error{Format(app_texts::kSettingsNotRead, settings.ProfilePath, loaded.error().message),
                     settings.ProfilePath};
    }
    return settings;
}

// The sources --files-from names, below the one folder argument (or the current directory).
Result<PosixSources> ListFilesFrom(const PosixOptions& options, const std::string& current_directory,
                                   AppSettings& settings) {
    const Result<std::vector<std::string>> names = ReadFilesFrom(*options.files_from, options.null_separated);
    if (!names) {
        return names.error();
    }
    const std::string source_folder = FolderText(
        (fs::path(current_directory) / (options.paths.empty() ? "." : options.paths.front())).lexically_normal());
    const std::optional<OutputFolderPlan> output = OutputFolderOf(settings, TodayDateText());
    NamedSources named = ListNamedSources(names.value(), source_folder, output ? output->folder : std::string(),
                                          options.rotation.value_or(0), settings);
    for (const std::string& missing : named.missing) {
        PrintPathNote(missing, app_texts::kSourceMissing);
    }
    return PosixSources{std::move(named.list), static_cast<int>(named.missing.size())};
}

int ExitStatusOfBatch(const BatchOutcome& batch) {
    CommandLineOutcome outcome;
    outcome.batch_ran = true;
    outcome.batch = batch;
    return ExitStatusOf(outcome);
}

}  // namespace

std::string FormatNameOfOutputType(int32_t output_type) {
    const FormatRow* format = FormatOfOutputType(output_type);
    return format != nullptr ? ToUpperAscii(format->name) : std::string();
}

PosixSources ListPosixSources(const std::vector<std::string>& paths, int32_t rotation, AppSettings& settings) {
    PosixSources sources;
    std::error_code error;
    const fs::path current = fs::current_path(error);
    for (size_t i = 0; i < paths.size(); ++i) {
        const std::string& path = paths[i];
        const fs::path absolute = (current / path).lexically_normal();
        const fs::file_status status = fs::status(absolute, error);
        const bool folder = fs::is_directory(status);
        if (i == 0) {
            settings.ImagePath = FolderText(folder ? absolute : absolute.parent_path());
        }
        if (folder) {
            sources.missing += AddFolder(absolute, rotation, settings, sources.list);
            continue;
        }
        const std::vector<FolderEntry> entry =
            fs::is_regular_file(status)
                ? ListNamedEntry(FolderText(absolute.parent_path()), absolute.filename().string())
                : std::vector<FolderEntry>{};
        if (entry.empty()) {
            PrintPathNote(path, fs::exists(status) ? app_texts::kNotAFileOrFolder : app_texts::kSourceMissing);
            ++sources.missing;
            continue;
        }
        FileRow row{entry.front().name, SizeText(entry.front().size), rotation, true,
                    FolderText(absolute.parent_path())};
        sources.list.rows().push_back(std::move(row));
    }
    const int rows = static_cast<int>(sources.list.rows().size());
    sources.list.set_file_count(rows);
    sources.list.set_selected_count(rows);
    return sources;
}

int RunPosix(std::span<const std::string> args) {
    const Result<PosixOptions> parsed = ParsePosixOptions(args);
    if (!parsed) {
        std::fprintf(stderr, "%s: %s\n%s\n", kProgram, parsed.error().message.c_str(), app_texts::kUsageHint.c_str());
        return kExitCommandLineError;
    }
    const PosixOptions& options = parsed.value();
    if (options.help) {
        std::fputs(PosixUsage().c_str(), stdout);
        return kExitAllWritten;
    }
    if (options.version) {
        std::puts(VersionText().c_str());
        return kExitAllWritten;
    }

    if (const Status library = CpelimonApp::CheckLibrary(ImgGetVersion()); !library) {
        std::fprintf(stderr, "%s: %s\n", kProgram, library.error().message.c_str());
        return kExitLibraryTooOld;
    }
    std::error_code error;
    const std::string current_directory = fs::current_path(error).string();
    // The preset commands need no settings to start from: a --settings file that is not there yet
    // is one without presets, which --import-preset and --save-preset make.
    const std::string preset_file = PresetFilePath(options, current_directory);
    if (const std::optional<int> done = RunPresetCommand(options, preset_file)) {
        return *done;
    }
    std::error_code missing;
    const bool new_preset_file = options.save_preset && options.paths.empty() && !fs::exists(preset_file, missing);
    Result<AppSettings> started =
        new_preset_file ? PosixDefaults(current_directory) : StartingSettings(options, current_directory);
    if (!started) {
        std::fprintf(stderr, "%s: %s\n", kProgram, started.error().message.c_str());
        return kExitCommandLineError;
    }
    Result<std::vector<OutputSet>> made = PosixOutputSets(options, started.value(), preset_file, current_directory);
    if (!made) {
        std::fprintf(stderr, "%s: %s\n", kProgram, made.error().message.c_str());
        return kExitCommandLineError;
    }
    std::vector<OutputSet>& sets = made.value();
    if (const std::optional<int> failed = SaveCommandLinePreset(options, sets.front().settings, preset_file)) {
        return *failed;
    }
    if (options.paths.empty() && !options.files_from) {
        return kExitAllWritten;
    }
    AppSettings& settings = sets.front().settings;
    if (options.files_from && !options.paths.empty() &&
        !fs::is_directory(fs::path(current_directory) / options.paths.front(), error)) {
        PrintPathNote(options.paths.front(), app_texts::kNotAFolder);
        return kExitCommandLineError;
    }
    Result<PosixSources> listed =
        options.files_from
            ? ListFilesFrom(options, current_directory, settings)
            : Result<PosixSources>(ListPosixSources(options.paths, options.rotation.value_or(0), settings));
    if (!listed) {
        std::fprintf(stderr, "%s: %s\n", kProgram, listed.error().message.c_str());
        return kExitCommandLineError;
    }
    const PosixSources& sources = listed.value();
    for (OutputSet& set : sets) {
        set.settings.ImagePath = settings.ImagePath;
    }
    // A named file or folder that is not there failed (4), even when it was all there was to do:
    // "nothing to do" (3) is a folder without image files.
    if (sources.list.rows().empty() && sources.missing > 0) {
        return kExitSomeFailed;
    }

    const bool quiet = options.verbosity == Verbosity::kQuiet;
    TerminalInteraction ui(stderr, isatty(STDERR_FILENO) == 1 && !quiet && !options.dry_run, TerminalStyle::kSentences);
    ui.set_quiet(quiet);
    TerminalInteraction::InstallCancelSignals();
    BatchOptions batch_options;
    batch_options.quiet_run = true;
    batch_options.workers = options.jobs;
    batch_options.dry_run = options.dry_run;
    batch_options.keep_plan = options.verbosity == Verbosity::kVerbose;
    const BatchOutcome outcome = RunBatch(sets, sources.list, ui, batch_options, TodayDateText());

    if (options.dry_run || options.verbosity == Verbosity::kVerbose) {
        PrintPlanned(outcome, options.dry_run);
    }
    const bool wrote = outcome.kind == BatchOutcome::Kind::kCompleted || outcome.kind == BatchOutcome::Kind::kCancelled;
    if (wrote && !quiet && !options.dry_run) {
        std::fprintf(stderr, "%s\n", SummaryLine(outcome).c_str());
    }
    if (wrote && !quiet && options.dry_run && settings.Update == kOn) {
        std::fprintf(stderr, "%s\n", DryRunUpdateLine(outcome).c_str());
    }
    int status = ExitStatusOfBatch(outcome);
    const bool plan_fails = std::any_of(outcome.planned.begin(), outcome.planned.end(),
                                        [](const PlannedOutput& planned) { return planned.error.has_value(); });
    if (status == kExitAllWritten && (sources.missing > 0 || (options.dry_run && plan_fails))) {
        status = kExitSomeFailed;
    }
    return status;
}

}  // namespace pelimon
