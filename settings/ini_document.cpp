#include "settings/ini_document.h"

#include <algorithm>

#include "common/text.h"

namespace pelimon {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// Reads "key=value"; lines without "=" or with an empty key are not key lines.
bool ParseKeyLine(std::string_view text, std::string& key, std::string& value) {
    const size_t equals = text.find('=');
    if (equals == std::string_view::npos) {
        return false;
    }
    const std::string_view trimmed_key = TrimBlanks(text.substr(0, equals));
    if (trimmed_key.empty()) {
        return false;
    }
    key.assign(trimmed_key);
    value.assign(TrimBlanks(text.substr(equals + 1)));
    return true;
}

// Reads "[name]" with blanks allowed around the line and the name.
std::optional<std::string> ParseHeader(std::string_view text) {
    const std::string_view trimmed = TrimBlanks(text);
    if (trimmed.empty() || trimmed.front() != '[') {
        return std::nullopt;
    }
    const size_t close = trimmed.find(']');
    if (close == std::string_view::npos) {
        return std::nullopt;
    }
    return std::string(TrimBlanks(trimmed.substr(1, close - 1)));
}

std::string Unquote(std::string_view value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(value);
}

// The text to store for `value` so that Unquote(TrimBlanks(text)) gives it back.
std::string QuoteIfNeeded(std::string_view value) {
    std::string flat(value);
    std::replace_if(
        flat.begin(), flat.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    const bool needs_quotes = !flat.empty() && (IsBlank(flat.front()) || IsBlank(flat.back()) ||
                                                (flat.size() >= 2 && flat.front() == '"' && flat.back() == '"'));
    if (!needs_quotes) {
        return flat;
    }
    std::string quoted = "\"";
    quoted.append(flat).append("\"");
    return quoted;
}

bool IsBlankLine(std::string_view text) {
    return TrimBlanks(text).empty();
}

}  // namespace

IniDocument IniDocument::Parse(std::string_view text) {
    IniDocument document;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        const bool last = end == std::string_view::npos;
        if (last) {
            end = text.size();
        }
        std::string_view raw = text.substr(start, end - start);
        if (!raw.empty() && raw.back() == '\r') {
            raw.remove_suffix(1);
        }
        start = end + 1;

        if (std::optional<std::string> name = ParseHeader(raw)) {
            document.sections_.push_back(Section{std::string(raw), std::move(*name), {}});
            continue;
        }
        Line line{std::string(raw), {}, {}};
        const std::string_view trimmed = TrimBlanks(raw);
        const bool comment = !trimmed.empty() && (trimmed.front() == ';' || trimmed.front() == '#');
        if (!comment) {
            ParseKeyLine(raw, line.key, line.value);
        }
        document.sections_.back().lines.push_back(std::move(line));
    }
    return document;
}

IniDocument::Section* IniDocument::FindSection(std::string_view name) {
    auto found = std::find_if(sections_.begin(), sections_.end(),
                              [name](const Section& section) { return IsNamed(section, name); });
    return found == sections_.end() ? nullptr : &*found;
}

const IniDocument::Section* IniDocument::FindSection(std::string_view name) const {
    auto found = std::find_if(sections_.begin(), sections_.end(),
                              [name](const Section& section) { return IsNamed(section, name); });
    return found == sections_.end() ? nullptr : &*found;
}

bool IniDocument::IsNamed(const Section& section, std::string_view name) {
    return section.header.has_value() && EqualsIgnoreCase(section.name, name);
}

std::optional<std::string> IniDocument::Get(std::string_view section, std::string_view key) const {
    const Section* found = FindSection(section);
    if (found == nullptr) {
        return std::nullopt;
    }
    for (const Line& line : found->lines) {
        if (!line.key.empty() && EqualsIgnoreCase(line.key, key)) {
            return Unquote(line.value);
        }
    }
    return std::nullopt;
}

void IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
    const std::string stored = QuoteIfNeeded(value);
    Section* target = FindSection(section);
    if (target == nullptr) {
        // Separate the new section from earlier text by one blank line, for people reading it.
        Section& last = sections_.back();
        const bool has_text = last.header.has_value() || !last.lines.empty();
        const bool ends_blank = !last.lines.empty() && IsBlankLine(last.lines.back().text);
        if (has_text && !ends_blank) {
            last.lines.push_back(Line{});
        }
        std::string header = "[";
        header.append(section).append("]");
        sections_.push_back(Section{std::move(header), std::string(section), {}});
        target = &sections_.back();
    }
    for (Line& line : target->lines) {
        if (!line.key.empty() && EqualsIgnoreCase(line.key, key)) {
            line.text = line.key + "=" + stored;
            line.value = stored;
            return;
        }
    }
    // Insert after the last non-blank line, so that blank lines separating this section from
    // the next one stay where they are.
    auto position = target->lines.end();
    while (position != target->lines.begin() && IsBlankLine(std::prev(position)->text)) {
        --position;
    }
    target->lines.insert(position, Line{std::string(key) + "=" + stored, std::string(key), stored});
}

std::vector<std::string> IniDocument::SectionNames() const {
    std::vector<std::string> names;
    for (const Section& section : sections_) {
        if (section.header.has_value()) {
            names.push_back(section.name);
        }
    }
    return names;
}

bool IniDocument::RemoveSection(std::string_view section) {
    const auto removed = std::remove_if(sections_.begin() + 1, sections_.end(),
                                        [section](const Section& own) { return IsNamed(own, section); });
    const bool any = removed != sections_.end();
    sections_.erase(removed, sections_.end());
    return any;
}

std::string IniDocument::Serialize() const {
    std::string text;
    for (const Section& section : sections_) {
        if (section.header.has_value()) {
            text += *section.header;
            text += '\n';
        }
        for (const Line& line : section.lines) {
            text += line.text;
            text += '\n';
        }
    }
    return text;
}

}  // namespace pelimon
