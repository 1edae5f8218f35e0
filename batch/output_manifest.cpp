#include "batch/output_manifest.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <unordered_map>
#include <unordered_set>

#include "common/atomic_file.h"
#include "common/file_lock.h"

namespace pelimon {
namespace {

constexpr std::string_view kHeader = "pelimon manifest 1\n";
constexpr std::string_view kEndMark = "end ";
constexpr size_t kMaxManifestBytes = size_t{1} << 30;

void AppendEscaped(std::string& out, std::string_view text) {
    for (const char c : text) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\n':
                out += "\\n";
                break;
            default:
                out += c;
        }
    }
}

std::optional<std::string> Unescaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (++i == text.size()) {
            return std::nullopt;
        }
        switch (text[i]) {
            case '\\':
                out += '\\';
                break;
            case 't':
                out += '\t';
                break;
            case 'n':
                out += '\n';
                break;
            default:
                return std::nullopt;
        }
    }
    return out;
}

template <typename Number>
bool ParseNumber(std::string_view text, Number& number, int base = 10) {
    const char* end = text.data() + text.size();
    const auto [ptr, error] = std::from_chars(text.data(), end, number, base);
    return !text.empty() && error == std::errc() && ptr == end;
}

std::optional<ManifestEntry> ParseLine(std::string_view line) {
    std::vector<std::string_view> fields;
    size_t start = 0;
    while (true) {
        const size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
        if (tab == std::string_view::npos) {
            break;
        }
        start = tab + 1;
    }
    if (fields.size() != 5 || fields[0].empty() || fields[4].empty()) {
        return std::nullopt;
    }
    ManifestEntry entry;
    std::optional<std::string> source = Unescaped(fields[0]);
    std::optional<std::string> output = Unescaped(fields[4]);
    if (!source || !output || !ParseNumber(fields[1], entry.size) || !ParseNumber(fields[2], entry.mtime_ns) ||
        fields[3].size() != 16 || !ParseNumber(fields[3], entry.settings_hash, 16) || entry.size < 0) {
        return std::nullopt;
    }
    entry.source = std::move(*source);
    entry.output = std::move(*output);
    return entry;
}

}  // namespace

std::string SerializeManifest(std::span<const ManifestEntry> entries) {
    std::vector<const ManifestEntry*> sorted;
    sorted.reserve(entries.size());
    for (const ManifestEntry& entry : entries) {
        sorted.push_back(&entry);
    }
    std::sort(sorted.begin(), sorted.end(),
              [](const ManifestEntry* a, const ManifestEntry* b) { return a->source < b->source; });
    std::string text(kHeader);
    text.reserve(entries.size() * 64);
    char hash[17];
    for (const ManifestEntry* entry : sorted) {
        AppendEscaped(text, entry->source);
        text += '\t' + std::to_string(entry->size) + '\t' + std::to_string(entry->mtime_ns) + '\t';
        std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(entry->settings_hash));
        text += hash;
        text += '\t';
        AppendEscaped(text, entry->output);
        text += '\n';
    }
    text += std::string(kEndMark) + std::to_string(sorted.size()) + '\n';
    return text;
}

std::optional<std::vector<ManifestEntry>> ParseManifest(std::string_view text) {
    if (!text.starts_with(kHeader) || !text.ends_with('\n')) {
        return std::nullopt;
    }
    text.remove_prefix(kHeader.size());
    std::vector<ManifestEntry> entries;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end + 1);
        if (line.starts_with(kEndMark)) {
            size_t count = 0;
            if (!text.empty() || !ParseNumber(line.substr(kEndMark.size()), count) || count != entries.size()) {
                return std::nullopt;
            }
            return entries;
        }
        std::optional<ManifestEntry> entry = ParseLine(line);
        if (!entry) {
            return std::nullopt;
        }
        entries.push_back(std::move(*entry));
    }
    return std::nullopt;  // no end line: cut short
}

bool ManifestExists(const std::string& output_root) {
    std::error_code error;
    return std::filesystem::exists(std::filesystem::symlink_status(output_root + std::string(kManifestName), error));
}

ManifestRead ReadManifest(const std::string& output_root) {
    ManifestRead read;
    const std::string path = output_root + std::string(kManifestName);
    if (!ManifestExists(output_root)) {
        return read;
    }
    read.exists = true;
    std::string text;
    if (ReadRegularFile(path, kMaxManifestBytes, LongerFiles::kRefuse, text)) {
        read.damaged = true;
        return read;
    }
    std::optional<std::vector<ManifestEntry>> entries = ParseManifest(text);
    if (!entries) {
        read.damaged = true;
        return read;
    }
    read.entries = std::move(*entries);
    return read;
}

Status MergeIntoManifest(const std::string& output_root, std::span<const ManifestEntry> entries, bool& damaged) {
    Result<FileLock> lock = FileLock::Acquire(output_root + std::string(kManifestLockName));
    if (!lock) {
        return lock.error();
    }
    ManifestRead on_disk = ReadManifest(output_root);
    damaged = on_disk.damaged;
    std::unordered_set<std::string> new_sources;
    std::unordered_set<std::string> new_outputs;
    for (const ManifestEntry& entry : entries) {
        new_sources.insert(entry.source);
        new_outputs.insert(entry.output);
    }
    std::vector<ManifestEntry> merged;
    merged.reserve(on_disk.entries.size() + entries.size());
    for (ManifestEntry& entry : on_disk.entries) {
        if (!new_sources.contains(entry.source) && !new_outputs.contains(entry.output)) {
            merged.push_back(std::move(entry));
        }
    }
    // The last of several new entries of one source wins.
    std::unordered_map<std::string, size_t> position_of_source;
    for (const ManifestEntry& entry : entries) {
        const auto [where, added] = position_of_source.try_emplace(entry.source, merged.size());
        if (added) {
            merged.push_back(entry);
        } else {
            merged[where->second] = entry;
        }
    }
    return WriteFileAtomically(output_root + std::string(kManifestName), SerializeManifest(merged));
}

}  // namespace pelimon
