#include "app/posix_presets.h"

#include <cstdio>
#include <filesystem>
#include <set>

#include "app/app_texts.h"
#include "app/unattended_run.h"
#include "common/environment.h"
#include "common/text.h"
#include "settings/presets.h"
#include "settings/settings_file.h"

namespace pelimon {
namespace {

namespace fs = std::filesystem;

constexpr const char* kProgram = "pelimon";

void PrintError(const std::string& message) {
    std::fprintf(stderr, "%s: %s\n", kProgram, message.c_str());
}

void PrintNotes(const PresetList& list) {
    for (const std::string& note : list.notes) {
        PrintError(note);
    }
}

// The presets of `path` with their notes printed, or the error printed.
std::optional<PresetList> LoadPrinted(const std::string& path) {
    Result<PresetList> loaded = LoadPresets(path);
    if (!loaded) {
        PrintError(Format(app_texts::kSettingsNotRead, path, loaded.error().message));
        return std::nullopt;
    }
    PrintNotes(loaded.value());
    return std::move(loaded).value();
}

int ListPresets(const std::string& preset_file) {
    const std::optional<PresetList> list = LoadPrinted(preset_file);
    if (!list) {
        return kExitCommandLineError;
    }
    for (const Preset& preset : list->presets) {
        std::printf("%s\n", preset.name.c_str());
    }
    return kExitAllWritten;
}

int ExportPreset(const std::string& name, const std::string& preset_file) {
    const std::optional<PresetList> list = LoadPrinted(preset_file);
    if (!list) {
        return kExitCommandLineError;
    }
    const Preset* preset = list->Find(name);
    if (preset == nullptr) {
        PrintError(Format(app_texts::kUnknownPreset, name, preset_file));
        return kExitCommandLineError;
    }
    IniDocument document = IniDocument::Parse(app_texts::kPresetExportHead.str() + "\n");
    WritePreset(*preset, document);
    std::fputs(document.Serialize().c_str(), stdout);
    return kExitAllWritten;
}

// Every preset of `file` goes in, or, when one of them would replace a different preset of the
// same name, none.
int ImportPresets(const std::string& file, const std::string& preset_file, bool quiet) {
    std::error_code error;
    if (!fs::is_regular_file(file, error)) {
        PrintError(Format(app_texts::kSettingsNotRead, file, std::string(app_texts::kSourceMissing)));
        return kExitCommandLineError;
    }
    const std::optional<PresetList> imported = LoadPrinted(file);
    const std::optional<PresetList> present = imported ? LoadPrinted(preset_file) : std::nullopt;
    if (!imported || !present) {
        return kExitCommandLineError;
    }
    if (imported->presets.empty()) {
        PrintError(Format(app_texts::kNoPresetsIn, file));
        return kExitCommandLineError;
    }
    for (const Preset& preset : imported->presets) {
        const Preset* same_name = present->Find(preset.name);
        if (same_name != nullptr && !SameValues(*same_name, preset)) {
            PrintError(Format(app_texts::kPresetClash, preset.name, file, preset_file, preset.name, file));
            return kExitCommandLineError;
        }
    }
    const Status stored = EditSettingsFile(preset_file, [&imported, &present](IniDocument& document) {
        for (const Preset& preset : imported->presets) {
            if (present->Find(preset.name) == nullptr) {
                WritePreset(preset, document);
            }
        }
    });
    if (!stored) {
        PrintError(stored.error().message);
        return kExitSettingsNotSaved;
    }
    for (const Preset& preset : imported->presets) {
        if (!quiet) {
            PrintError(Format(app_texts::kPresetImported, preset.name, preset_file));
        }
    }
    return kExitAllWritten;
}

int DeleteNamedPreset(const std::string& name, const std::string& preset_file, bool quiet) {
    if (const Status deleted = DeletePreset(preset_file, name); !deleted) {
        PrintError(deleted.error().message);
        return kExitCommandLineError;
    }
    if (!quiet) {
        PrintError(Format(app_texts::kPresetDeleted, name, preset_file));
    }
    return kExitAllWritten;
}

// The subfolder of each preset, distinct whatever letter case the file system minds.
std::vector<std::string> DistinctFolders(const std::vector<const Preset*>& presets) {
    std::vector<std::string> folders;
    std::set<std::string> taken;
    for (const Preset* preset : presets) {
        const std::string base = PresetFolderName(preset->name);
        std::string folder = base;
        for (int number = 2; !taken.insert(ToLowerAscii(folder)).second; ++number) {
            folder = base + " (" + std::to_string(number) + ")";
        }
        folders.push_back(folder);
    }
    return folders;
}

}  // namespace

std::string PresetFilePath(const PosixOptions& options, const std::string& current_directory) {
    if (options.settings_file) {
        return (fs::path(current_directory) / *options.settings_file).lexically_normal().string();
    }
    return ResolveProfilePath(CurrentModulePath());
}

std::optional<int> RunPresetCommand(const PosixOptions& options, const std::string& preset_file) {
    const bool quiet = options.verbosity == Verbosity::kQuiet;
    if (options.list_presets) {
        return ListPresets(preset_file);
    }
    if (options.export_preset) {
        return ExportPreset(*options.export_preset, preset_file);
    }
    if (options.import_preset) {
        return ImportPresets(*options.import_preset, preset_file, quiet);
    }
    if (options.delete_preset) {
        return DeleteNamedPreset(*options.delete_preset, preset_file, quiet);
    }
    return std::nullopt;
}

Result<std::vector<OutputSet>> PosixOutputSets(const PosixOptions& options, const AppSettings& started,
                                               const std::string& preset_file, const std::string& current_directory) {
    std::vector<OutputSet> sets;
    if (options.presets.empty()) {
        sets.push_back({started, {}});
        ApplyPosixOptions(options, current_directory, sets.back().settings);
        return sets;
    }
    Result<PresetList> loaded = LoadPresets(preset_file);
    if (!loaded) {
        return Error{Format(app_texts::kSettingsNotRead, preset_file, loaded.error().message), preset_file};
    }
    const PresetList& list = loaded.value();
    PrintNotes(list);
    std::vector<const Preset*> presets;
    for (const std::string& name : options.presets) {
        const Preset* preset = list.Find(name);
        if (preset == nullptr) {
            return Error{Format(app_texts::kUnknownPreset, name, preset_file), preset_file};
        }
        presets.push_back(preset);
    }
    const std::vector<std::string> folders = DistinctFolders(presets);
    for (size_t i = 0; i < presets.size(); ++i) {
        sets.push_back({started, presets.size() > 1 ? folders[i] : std::string()});
        ApplyPreset(*presets[i], sets.back().settings);
        ApplyPosixOptions(options, current_directory, sets.back().settings);
    }
    return sets;
}

std::optional<int> SaveCommandLinePreset(const PosixOptions& options, const AppSettings& settings,
                                         const std::string& preset_file) {
    if (!options.save_preset) {
        return std::nullopt;
    }
    if (const Status stored = StorePreset(preset_file, PresetOf(*options.save_preset, settings)); !stored) {
        PrintError(stored.error().message);
        return kExitSettingsNotSaved;
    }
    if (options.verbosity != Verbosity::kQuiet) {
        PrintError(Format(app_texts::kPresetSaved, *options.save_preset, preset_file));
    }
    return std::nullopt;
}

}  // namespace pelimon
