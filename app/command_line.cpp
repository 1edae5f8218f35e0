#include "app/command_line.h"

#include <climits>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <utility>

#include "app/app_texts.h"
#include "settings/parameter_file.h"

namespace pelimon {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kSwitchQuiet = "/Q";
constexpr std::string_view kSwitchParameterFile = "/F";
constexpr std::string_view kSwitchWindow = "/G";

using app_texts::kCommandLineErrorCaption;
using app_texts::kErrorCaption;
using app_texts::kMissingParameterFileText;
using app_texts::kNoteMissing;
using app_texts::kNoteOutsideFolder;
using app_texts::kNoteTooLong;

bool Exists(const std::string& path) {
    std::error_code error;
    return fs::exists(path, error);
}

bool IsFile(const std::string& path) {
    std::error_code error;
    return fs::exists(path, error) && !fs::is_directory(path, error);
}

// The folder of a named file as AddSourcePath makes it the source folder.
std::string FolderOfFile(const std::string& path) {
    std::error_code error;
    fs::path absolute = fs::absolute(path, error);
    return absolute.lexically_normal().parent_path().string() + "/";
}

// The batch finds a row as <source folder>/<name>, so a file named from another folder than the
// one that ends up as the source folder is not processed; say so instead of staying silent.
void NoteFilesOutsideFolder(const std::vector<std::string>& files, const SourceList& sources,
                            std::vector<Error>& notes) {
    for (const std::string& file : files) {
        if (FolderOfFile(file) != sources.folder_text()) {
            notes.push_back({std::string(kNoteOutsideFolder), file});
        }
    }
}

// Parameter-file mode: the file sets settings and names the files, relative to ImagePath as
// the file left it. (Every entry is joined to that one folder; an entry naming a sub-folder's file
// does not move the base of the entries after it.) The names pass the type filter in force before
// the file was read; the file's IMAGETYPE is the filter from then on, as the type boxes show it.
void ListParameterFile(const ParameterFile& file, SourceList& sources, AppSettings& settings,
                       CommandLineOutcome& outcome) {
    const int32_t types_of_the_file = [&] {
        const int32_t types_before = settings.ImageType;
        ApplyParameterLines(file.lines, settings);
        return std::exchange(settings.ImageType, types_before);
    }();
    sources.Clear();
    std::string base = settings.ImagePath;
    if (!base.empty() && base.back() != '/') {
        base += '/';  // a hand-edited ImagePath without its '/' still names the folder
    }
    std::vector<std::string> files;
    for (const std::string& line : file.names) {
        const NameEntry entry = SplitNameEntry(line);
        std::string path = base + entry.name;
        if (path.size() >= PATH_MAX) {
            outcome.path_notes.push_back({std::string(kNoteTooLong), std::move(path)});
            continue;
        }
        if (!Exists(path)) {
            outcome.path_notes.push_back({std::string(kNoteMissing), path});
        } else if (IsFile(path)) {
            files.push_back(path);
        }
        sources.AddSourcePath(path, entry.rotation, settings);
    }
    NoteFilesOutsideFolder(files, sources, outcome.path_notes);
    settings.ImageType = types_of_the_file;
}

void ListPaths(const std::vector<std::string>& paths, SourceList& sources, AppSettings& settings,
               CommandLineOutcome& outcome) {
    std::vector<std::string> files;
    for (const std::string& path : paths) {
        if (!Exists(path)) {
            outcome.path_notes.push_back({std::string(kNoteMissing), path});
        } else if (IsFile(path)) {
            files.push_back(path);
        }
    }
    sources.ReplaceWithPaths(paths, settings);
    // Rows of several places carry their own folders, which the batch finds.
    if (!sources.several_places()) {
        NoteFilesOutsideFolder(files, sources, outcome.path_notes);
    }
}

}  // namespace

CommandLine ParseCommandLine(std::span<const std::string> args) {
    CommandLine command_line;
    command_line.empty = args.empty();
    std::optional<size_t> first_quiet;
    std::optional<size_t> last_parameter_switch;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == kSwitchQuiet) {
            command_line.quiet_run = true;
            if (!first_quiet) {
                first_quiet = i;
            }
        } else if (arg == kSwitchParameterFile) {
            command_line.parameter_mode = true;
            command_line.quiet_run = true;
            last_parameter_switch = i;
        } else if (arg == kSwitchWindow) {
            command_line.quiet_run = false;
        } else {
            command_line.paths.push_back(arg);
        }
    }
    if (last_parameter_switch) {
        const size_t next = *last_parameter_switch + 1;
        if (next < args.size() && next != first_quiet) {
            command_line.parameter_file = args[next];
        }
    }
    return command_line;
}

BatchRunner MakeBatchRunner(std::string today, int workers) {
    return [today = std::move(today), workers](const AppSettings& settings, const FileList& list, Interaction& ui,
                                               bool quiet_run) {
        BatchOptions options;
        options.quiet_run = quiet_run;
        options.workers = workers;
        return RunBatch(settings, list, ui, options, today);
    };
}

CommandLineOutcome HandleCommandLine(const CommandLine& command_line, SourceList& sources, AppSettings& settings,
                                     Interaction& ui, const BatchRunner& run_batch) {
    CommandLineOutcome outcome;
    outcome.end_program = settings.DragDrop == kOn || command_line.quiet_run;

    if (command_line.parameter_mode) {
        if (!command_line.parameter_file) {
            ui.ShowError(
                {kCommandLineErrorCaption.str(), kMissingParameterFileText.str(), kMissingParameterFileText.str()});
            outcome.problem = CommandLineOutcome::Problem::kMissingParameterFile;
            return outcome;
        }
        Result<ParameterFile> file = ReadParameterFile(*command_line.parameter_file);
        if (!file) {
            ui.ShowError({kErrorCaption.str(), file.error().message, file.error().message});
            outcome.problem = CommandLineOutcome::Problem::kParameterFileError;
            return outcome;
        }
        if (file.value().lines.empty()) {
            outcome.problem = CommandLineOutcome::Problem::kNoParameterLines;
            return outcome;
        }
        ListParameterFile(file.value(), sources, settings, outcome);
    } else {
        ListPaths(command_line.paths, sources, settings, outcome);
    }

    if (settings.DragDrop == kOn || command_line.quiet_run) {
        if (settings.Select == kSelectUnchecked) {
            sources.ToggleSelectAll(settings);
        }
        outcome.batch = run_batch(settings, sources.list(), ui, command_line.quiet_run);
        outcome.batch_ran = true;
    }
    return outcome;
}

}  // namespace pelimon
