#include "common/printf_format.h"

#include <map>
#include <optional>
#include <string>

namespace pelimon {
namespace {

// The type of the argument each numbered position takes: "d" int, "zu" size_t, "s" string...
using ArgumentTypes = std::map<int, std::string>;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The directives of `format`; nullopt when one is malformed, unsafe or inconsistent.
std::optional<ArgumentTypes> Arguments(std::string_view format) {
    ArgumentTypes types;
    int next = 1;
    std::optional<bool> numbered;
    for (size_t at = 0; at < format.size(); ++at) {
        if (format[at] != '%') {
            continue;
        }
        if (++at < format.size() && format[at] == '%') {
            continue;
        }
        // "%2$s": the argument's number.
        size_t digits = at;
        while (digits < format.size() && IsDigit(format[digits])) {
            ++digits;
        }
        int position = 0;
        const bool has_number = digits > at && digits < format.size() && format[digits] == '$';
        if (has_number) {
            if (digits - at > 2 || format[at] == '0') {
                return std::nullopt;
            }
            position = std::stoi(std::string(format.substr(at, digits - at)));
            at = digits + 1;
        }
        if (numbered.has_value() && *numbered != has_number) {
            return std::nullopt;
        }
        numbered = has_number;
        if (!has_number) {
            position = next++;
        }
        // Flags, width and precision do not change the argument's type; '*' would take one more.
        while (at < format.size() && std::string_view("-+ #0'123456789.").find(format[at]) != std::string_view::npos) {
            ++at;
        }
        std::string type;
        while (at < format.size() && std::string_view("hlLqjzZt").find(format[at]) != std::string_view::npos) {
            type += format[at++];
        }
        if (at >= format.size() || type.size() > 2) {
            return std::nullopt;
        }
        switch (format[at]) {
            case 'd':
            case 'i':
                type += 'd';
                break;
            case 'o':
            case 'u':
            case 'x':
            case 'X':
                type += 'u';
                break;
            case 'e':
            case 'E':
            case 'f':
            case 'F':
            case 'g':
            case 'G':
            case 'a':
            case 'A':
                type += 'f';
                break;
            case 'c':
            case 's':
            case 'p':
                type += format[at];
                break;
            default:  // 'n', '*' and anything unknown
                return std::nullopt;
        }
        const auto [it, inserted] = types.emplace(position, type);
        if (!inserted && it->second != type) {
            return std::nullopt;
        }
    }
    return types;
}

}  // namespace

bool TranslationFitsFormat(std::string_view original, std::string_view translation) {
    const std::optional<ArgumentTypes> given = Arguments(original);
    const std::optional<ArgumentTypes> taken = Arguments(translation);
    if (!given || !taken) {
        return false;
    }
    int expected = 1;
    for (const auto& [position, type] : *taken) {
        // The map is ordered: positions must run 1, 2, ... without a gap.
        if (position != expected++) {
            return false;
        }
        const auto it = given->find(position);
        if (it == given->end() || it->second != type) {
            return false;
        }
    }
    return true;
}

}  // namespace pelimon
