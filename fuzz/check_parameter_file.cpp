// Fuzz check: the parameter file of unattended runs. The input is written to a scratch file,
// read with ReadParameterFile and applied to default settings; every name entry is split.
#include <cstdint>
#include <span>

#include "fuzz/fuzz_checks.h"
#include "fuzz/fuzz_support.h"
#include "settings/app_settings.h"
#include "settings/parameter_file.h"

namespace pelimon::fuzz {

void CheckParameterFileInput(std::span<const uint8_t> bytes) {
    static const ScratchFolder folder;
    const std::string path = folder.Write("job.txt", bytes);

    Result<ParameterFile> file = ReadParameterFile(path);
    if (!file) {
        Expect(!file.error().message.empty(), "a failed read says why");
        return;
    }
    AppSettings settings;
    settings.Select = 0;
    ApplyParameterLines(file.value().lines, settings);
    if (!file.value().lines.empty()) {
        Expect(settings.Select == 1, "applying parameter lines selects the listed files");
    }
    for (const std::string& entry : file.value().names) {
        const NameEntry name = SplitNameEntry(entry);
        Expect(name.name.size() <= entry.size(), "a name entry's name is part of the entry");
    }
}

}  // namespace pelimon::fuzz
