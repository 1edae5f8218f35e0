#include "batch/up_to_date.h"

#include <sys/stat.h>

#include <unordered_map>

#include "batch/prepare_jobs.h"
#include "settings/output_shaping.h"

namespace pelimon {

std::string ManifestSourceName(const std::string& path, const std::string& source_folder) {
    return !source_folder.empty() && path.starts_with(source_folder) ? path.substr(source_folder.size()) : path;
}

UpToDateCheck CheckUpToDate(const AppSettings& settings, const FileList& list, const std::string& output_root,
                            const std::vector<ManifestEntry>& manifest) {
    std::unordered_map<std::string_view, const ManifestEntry*> entry_of_source;
    entry_of_source.reserve(manifest.size());
    for (const ManifestEntry& entry : manifest) {
        entry_of_source.emplace(entry.source, &entry);
    }
    const std::string source_folder = SourceFolderOf(settings);
    const uint64_t settings_hash = OutputSettingsHash(settings);

    const std::vector<FileRow>& rows = list.rows();
    UpToDateCheck check;
    check.stamps.resize(rows.size());
    check.up_to_date.resize(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        if (!rows[i].checked) {
            continue;
        }
        const std::string path = SourcePathOf(rows[i], source_folder);
        struct stat source {};
        if (stat(path.c_str(), &source) != 0 || !S_ISREG(source.st_mode)) {
            continue;
        }
        SourceStamp& stamp = check.stamps[i];
        stamp.known = true;
        stamp.size = static_cast<int64_t>(source.st_size);
        stamp.mtime_ns = int64_t{source.st_mtim.tv_sec} * 1'000'000'000 + source.st_mtim.tv_nsec;
        stamp.settings_hash =
            Fnv1a(settings_hash, "rotation=" + std::to_string(NormalRotation(rows[i].rotation)) + '\n');
        const auto found = entry_of_source.find(ManifestSourceName(path, source_folder));
        if (found != entry_of_source.end()) {
            const ManifestEntry& entry = *found->second;
            const std::string output = output_root + entry.output;
            struct stat kept {};
            if (entry.size == stamp.size && entry.mtime_ns == stamp.mtime_ns &&
                entry.settings_hash == stamp.settings_hash && stat(output.c_str(), &kept) == 0 &&
                S_ISREG(kept.st_mode)) {
                check.up_to_date[i] = true;
                check.kept.push_back(output);
                ++check.up_to_date_count;
            }
        }
    }
    return check;
}

}  // namespace pelimon
