#include "exif/tag_table.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "common/text.h"

namespace pelimon {

// Texts of res/exif-tags.txt and res/exif-tags-en.txt, generated into the build tree by CMake.
extern const char kExifTagsText[];
extern const char kExifTagsTextEnglish[];

namespace {

// Splits at TAB and LF; a token's trailing CR (the line end of a Windows text) is dropped.
std::vector<std::string_view> SplitTokens(std::string_view text) {
    std::vector<std::string_view> tokens;
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == '\t' || text[i] == '\n') {
            std::string_view token = text.substr(start, i - start);
            if (!token.empty() && token.back() == '\r') {
                token.remove_suffix(1);
            }
            if (i < text.size() || !token.empty()) {
                tokens.push_back(token);
            }
            start = i + 1;
        }
    }
    return tokens;
}

// Removes a "main:" or "gps:" scope from the front of a tag token; std::nullopt for another prefix.
std::optional<TagScope> TakeScope(std::string_view& tag_text) {
    const size_t colon = tag_text.find(':');
    if (colon == std::string_view::npos) {
        return TagScope::kCommon;
    }
    const std::string_view prefix = tag_text.substr(0, colon);
    tag_text.remove_prefix(colon + 1);
    if (prefix == "main") {
        return TagScope::kMain;
    }
    if (prefix == "gps") {
        return TagScope::kGps;
    }
    return std::nullopt;
}

}  // namespace

TagTable ParseTagTable(std::string_view text) {
    constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
    if (text.starts_with(kUtf8Bom)) {
        text.remove_prefix(kUtf8Bom.size());
    }
    const std::vector<std::string_view> tokens = SplitTokens(text);
    if (tokens.empty()) {
        return {};
    }
    const int32_t declared = LeadingInt(tokens[0]);
    const size_t rows = std::min(declared > 0 ? static_cast<size_t>(declared) : 0, (tokens.size() - 1) / 2);
    struct Row {
        TagScope scope;
        uint16_t number;
        std::string_view name;
    };
    std::vector<Row> parsed;
    parsed.reserve(rows);
    for (size_t row = 0; row < rows; ++row) {
        std::string_view tag_text = TrimBlanks(tokens[1 + 2 * row]);
        const std::optional<TagScope> scope = TakeScope(tag_text);
        if (!scope) {
            continue;
        }
        unsigned value = 0;
        std::from_chars(tag_text.data(), tag_text.data() + tag_text.size(), value, 16);
        parsed.push_back({*scope, static_cast<uint16_t>(value), tokens[2 + 2 * row]});
    }
    // Each scope's rows together, in the order the text lists them.
    std::stable_sort(parsed.begin(), parsed.end(), [](const Row& a, const Row& b) { return a.scope < b.scope; });
    TagTable table;
    table.numbers.reserve(parsed.size());
    table.names.reserve(parsed.size());
    table.scopes.reserve(parsed.size());
    for (const Row& row : parsed) {
        table.numbers.push_back(row.number);
        table.names.emplace_back(row.name);
        table.scopes.push_back(row.scope);
    }
    return table;
}

std::pair<int, int> TagTable::Rows(TagScope scope) const {
    const auto [first, last] = std::equal_range(scopes.begin(), scopes.end(), scope);
    return {static_cast<int>(first - scopes.begin()), static_cast<int>(last - scopes.begin())};
}

const TagTable& BuiltinTagTable() {
    return BuiltinTagTable(CurrentLanguage());
}

const TagTable& BuiltinTagTable(std::string_view language) {
    static const TagTable japanese = ParseTagTable(kExifTagsText);
    static const TagTable english = ParseTagTable(kExifTagsTextEnglish);
    return language == kJapanese ? japanese : english;
}

int FindTag(uint16_t tag, std::span<const uint16_t> numbers, int low, int high) {
    const int size = static_cast<int>(numbers.size());
    low = std::clamp(low, 0, size);
    high = std::clamp(high, low, size);
    const int end = high;
    while (low < high) {
        const int mid = (low + high) / 2;
        if (numbers[static_cast<size_t>(mid)] < tag) {
            low = mid + 1;
        } else {
            high = mid;
        }
    }
    return (low < end && numbers[static_cast<size_t>(low)] == tag) ? low : -1;
}

int FindTagIn(const TagTable& table, ExifDirectory directory, uint16_t tag) {
    const auto find = [&](TagScope scope) {
        const auto [low, high] = table.Rows(scope);
        return FindTag(tag, table.numbers, low, high);
    };
    if (directory == ExifDirectory::kGps) {
        return find(TagScope::kGps);
    }
    if (directory == ExifDirectory::kMain) {
        if (const int own = find(TagScope::kMain); own >= 0) {
            return own;
        }
    }
    return find(TagScope::kCommon);
}

}  // namespace pelimon
