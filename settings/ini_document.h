// A generic INI document that edits a file the way users expect: lookups ignore letter case,
// and setting a key rewrites only that key's line, so unknown keys, sections, comments and
// their order survive a round trip.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pelimon {

class IniDocument {
  public:
    // Parses UTF-8 text. Never fails: lines that are neither "[section]" nor "key=value" are
    // kept verbatim. CR LF and LF both end a line.
    static IniDocument Parse(std::string_view text);

    // The value of the first key named `key` in the first section named `section` (both
    // compared ignoring ASCII case), blanks trimmed and one pair of enclosing double quotes
    // removed; nullopt when the section or the key is missing.
    std::optional<std::string> Get(std::string_view section, std::string_view key) const;

    // Replaces the value of an existing key (keeping the key's spelling) or appends the key
    // after the last non-blank line of its section; a missing section is appended at the end.
    // Values with outer blanks are quoted so that Get returns them unchanged; line breaks in
    // the value become blanks, since a value cannot span lines.
    void Set(std::string_view section, std::string_view key, std::string_view value);

    // The names of the document's sections, in file order, as written (duplicates included).
    std::vector<std::string> SectionNames() const;

    // Removes every section named `section` (ignoring ASCII case) with its lines; false when there
    // was none.
    bool RemoveSection(std::string_view section);

    // The document as text, one LF after every line.
    std::string Serialize() const;

  private:
    struct Line {
        std::string text;   // the line as written, without its line break
        std::string key;    // trimmed key of a "key=value" line; empty for any other line
        std::string value;  // trimmed value text, quotes included
    };
    struct Section {
        std::optional<std::string> header;  // the "[name]" line; none for text before any section
        std::string name;
        std::vector<Line> lines;
    };

    Section* FindSection(std::string_view name);
    const Section* FindSection(std::string_view name) const;
    static bool IsNamed(const Section& section, std::string_view name);

    // The first section holds the text before any header, so there is always one.
    std::vector<Section> sections_ = std::vector<Section>(1);
};

}  // namespace pelimon
