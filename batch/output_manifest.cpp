#include "batch/output_manifest.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
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

// An entry as its line says it, with its two paths as they stand in the line.
struct EntryLine {
    std::string source;  // escaped
    std::string output;  // escaped
    std::string line;    // with its line break
};

EntryLine LineOf(const ManifestEntry& entry) {
    EntryLine line;
    AppendEscaped(line.source, entry.source);
    AppendEscaped(line.output, entry.output);
    char hash[17];
    std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(entry.settings_hash));
    line.line = line.source + '\t' + std::to_string(entry.size) + '\t' + std::to_string(entry.mtime_ns) + '\t' + hash +
                '\t' + line.output + '\n';
    return line;
}

// The lines of `entries` sorted by their source field, the last entry of a source only.
std::vector<EntryLine> SortedLines(std::span<const ManifestEntry> entries) {
    std::vector<EntryLine> lines;
    lines.reserve(entries.size());
    for (const ManifestEntry& entry : entries) {
        lines.push_back(LineOf(entry));
    }
    std::stable_sort(lines.begin(), lines.end(),
                     [](const EntryLine& a, const EntryLine& b) { return a.source < b.source; });
    std::vector<EntryLine> unique;
    unique.reserve(lines.size());
    for (EntryLine& line : lines) {
        if (!unique.empty() && unique.back().source == line.source) {
            unique.back() = std::move(line);
        } else {
            unique.push_back(std::move(line));
        }
    }
    return unique;
}

// The first and the last field of a line (the source and the output, escaped).
std::pair<std::string_view, std::string_view> PathFields(std::string_view line) {
    return {line.substr(0, line.find('\t')), line.substr(line.rfind('\t') + 1)};
}

}  // namespace

std::string SerializeManifest(std::span<const ManifestEntry> entries) {
    const std::vector<EntryLine> lines = SortedLines(entries);
    std::string text(kHeader);
    for (const EntryLine& line : lines) {
        text += line.line;
    }
    text += std::string(kEndMark) + std::to_string(lines.size()) + '\n';
    return text;
}

namespace {

// Calls `on_entry(line, entry)` for every entry line of the manifest `text`, in order. False when
// the text is not a whole, well-formed manifest (then some lines may have been handed over).
template <typename OnEntry>
bool ForEachEntryLine(std::string_view text, OnEntry on_entry) {
    if (!text.starts_with(kHeader) || !text.ends_with('\n')) {
        return false;
    }
    text.remove_prefix(kHeader.size());
    size_t count = 0;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end + 1);
        if (line.starts_with(kEndMark)) {
            size_t claimed = 0;
            return text.empty() && ParseNumber(line.substr(kEndMark.size()), claimed) && claimed == count;
        }
        std::optional<ManifestEntry> entry = ParseLine(line);
        if (!entry) {
            return false;
        }
        ++count;
        on_entry(line, std::move(*entry));
    }
    return false;  // no end line: cut short
}

// The manifest `old_text` with `entries` put in: a line of the same source or the same output as a
// new entry is dropped, the others are kept as they are, and the new lines go in source order.
// nullopt when `old_text` is no whole manifest.
std::optional<std::string> MergedText(std::string_view old_text, std::span<const ManifestEntry> entries) {
    const std::vector<EntryLine> added = SortedLines(entries);
    std::unordered_set<std::string_view> added_sources;
    std::unordered_set<std::string_view> added_outputs;
    for (const EntryLine& line : added) {
        added_sources.insert(line.source);
        added_outputs.insert(line.output);
    }
    std::string text(kHeader);
    text.reserve(old_text.size() + added.size() * 64);
    size_t next = 0;
    size_t count = 0;
    const bool whole = ForEachEntryLine(old_text, [&](std::string_view line, const ManifestEntry&) {
        const auto [source, output] = PathFields(line);
        for (; next < added.size() && added[next].source < source; ++next, ++count) {
            text += added[next].line;
        }
        if (!added_sources.contains(source) && !added_outputs.contains(output)) {
            text.append(line.data(), line.size() + 1);  // with its line break
            ++count;
        }
    });
    if (!whole) {
        return std::nullopt;
    }
    for (; next < added.size(); ++next, ++count) {
        text += added[next].line;
    }
    return text + std::string(kEndMark) + std::to_string(count) + '\n';
}

}  // namespace

std::optional<std::vector<ManifestEntry>> ParseManifest(std::string_view text) {
    std::vector<ManifestEntry> entries;
    if (!ForEachEntryLine(
            text, [&entries](std::string_view, ManifestEntry&& entry) { entries.push_back(std::move(entry)); })) {
        return std::nullopt;
    }
    return entries;
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
    const std::string path = output_root + std::string(kManifestName);
    damaged = false;
    std::optional<std::string> merged;
    if (ManifestExists(output_root)) {
        std::string old_text;
        if (!ReadRegularFile(path, kMaxManifestBytes, LongerFiles::kRefuse, old_text)) {
            merged = MergedText(old_text, entries);
        }
        damaged = !merged.has_value();
    }
    return WriteFileAtomically(path, merged ? *merged : SerializeManifest(entries));
}

}  // namespace pelimon
