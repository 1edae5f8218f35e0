#include "exif/tag_table.h"

#include <algorithm>
#include <charconv>

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

}  // namespace

TagTable ParseTagTable(std::string_view text) {
    constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
    if (text.starts_with(kUtf8Bom)) {
        text.remove_prefix(kUtf8Bom.size());
    }
    const std::vector<std::string_view> tokens = SplitTokens(text);
    TagTable table;
    if (tokens.empty()) {
        return table;
    }
    const int32_t declared = LeadingInt(tokens[0]);
    const size_t rows = std::min(declared > 0 ? static_cast<size_t>(declared) : 0, (tokens.size() - 1) / 2);
    table.numbers.reserve(rows);
    table.names.reserve(rows);
    for (size_t row = 0; row < rows; ++row) {
        const std::string_view tag_text = TrimBlanks(tokens[1 + 2 * row]);
        unsigned value = 0;
        std::from_chars(tag_text.data(), tag_text.data() + tag_text.size(), value, 16);
        table.numbers.push_back(static_cast<uint16_t>(value));
        table.names.emplace_back(tokens[2 + 2 * row]);
    }
    return table;
}

const TagTable& BuiltinTagTable() {
    return BuiltinTagTable(CurrentLanguage());
}

const TagTable& BuiltinTagTable(Language language) {
    static const TagTable japanese = ParseTagTable(kExifTagsText);
    static const TagTable english = ParseTagTable(kExifTagsTextEnglish);
    return language == Language::kEnglish ? english : japanese;
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

}  // namespace pelimon
