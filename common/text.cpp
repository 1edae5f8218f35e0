#include "common/text.h"

#include <iconv.h>

#include <cerrno>
#include <climits>
#include <memory>

namespace pelimon {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

char UpperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Decodes one UTF-8 sequence at text[pos]; returns its length, 0 when it is malformed.
size_t DecodeUtf8(std::string_view text, size_t pos, char32_t& out) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    size_t length = 0;
    char32_t code = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        out = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, code = lead & 0x1Fu, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, code = lead & 0x0Fu, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, code = lead & 0x07u, minimum = 0x10000;
    } else {
        return 0;
    }
    if (pos + length > text.size()) {
        return 0;
    }
    for (size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + i]);
        if ((next & 0xC0) != 0x80) {
            return 0;
        }
        code = (code << 6) | (next & 0x3Fu);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        return 0;
    }
    out = code;
    return length;
}

bool IsWide(char32_t c) {
    // East Asian Wide and Fullwidth ranges (Unicode EastAsianWidth W/F), the blocks that matter
    // for Japanese text and the common symbol blocks.
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0x303E) || (c >= 0x3041 && c <= 0x33FF) ||
           (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xA000 && c <= 0xA4CF) ||
           (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) ||
           (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x1F300 && c <= 0x1F64F) ||
           (c >= 0x1F900 && c <= 0x1F9FF) || (c >= 0x20000 && c <= 0x3FFFD);
}

struct IconvCloser {
    void operator()(void* handle) const { iconv_close(static_cast<iconv_t>(handle)); }
};

}  // namespace

std::string_view TrimBlanks(std::string_view text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && IsBlank(text[begin])) {
        ++begin;
    }
    while (end > begin && IsBlank(text[end - 1])) {
        --end;
    }
    return text.substr(begin, end - begin);
}

std::string JoinTexts(std::span<const std::string_view> texts, std::string_view separator) {
    std::string joined;
    for (size_t i = 0; i < texts.size(); ++i) {
        joined += i == 0 ? std::string_view() : separator;
        joined += texts[i];
    }
    return joined;
}

std::string ToUpperAscii(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        c = UpperAscii(c);
    }
    return result;
}

std::string ToLowerAscii(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        c = LowerAscii(c);
    }
    return result;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (UpperAscii(a[i]) != UpperAscii(b[i])) {
            return false;
        }
    }
    return true;
}

int32_t LeadingInt(std::string_view text) {
    size_t pos = 0;
    while (pos < text.size() && IsBlank(text[pos])) {
        ++pos;
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    int64_t value = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
        value = value * 10 + (text[pos] - '0');
        if (value > static_cast<int64_t>(INT32_MAX) + 1) {
            value = static_cast<int64_t>(INT32_MAX) + 1;
        }
    }
    if (negative) {
        value = -value;
    }
    if (value > INT32_MAX) {
        value = INT32_MAX;
    }
    return static_cast<int32_t>(value);
}

bool IsValidUtf8(std::string_view bytes) {
    char32_t code = 0;
    for (size_t pos = 0; pos < bytes.size();) {
        const size_t length = DecodeUtf8(bytes, pos, code);
        if (length == 0) {
            return false;
        }
        pos += length;
    }
    return true;
}

std::string DecodeUserText(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
    }
    if (IsValidUtf8(bytes)) {
        return std::string(bytes);
    }
    std::unique_ptr<void, IconvCloser> converter(iconv_open("UTF-8", "CP932"));
    if (converter.get() == reinterpret_cast<void*>(-1)) {
        converter.release();
        return std::string(bytes);  // no CP932 tables installed: keep the bytes rather than lose them
    }
    auto* handle = static_cast<iconv_t>(converter.get());
    std::string result;
    result.reserve(bytes.size() * 3 / 2 + 4);
    std::string input(bytes);
    char* in = input.data();
    size_t in_left = input.size();
    char buffer[4096];
    while (in_left > 0) {
        char* out = buffer;
        size_t out_left = sizeof buffer;
        const size_t converted = iconv(handle, &in, &in_left, &out, &out_left);
        result.append(buffer, static_cast<size_t>(out - buffer));
        if (converted == static_cast<size_t>(-1)) {
            if (errno == E2BIG) {
                continue;
            }
            // An invalid or truncated sequence: replace one byte and go on.
            result.append("\xEF\xBF\xBD");
            ++in;
            --in_left;
            iconv(handle, nullptr, nullptr, nullptr, nullptr);
        }
    }
    return result;
}

int DisplayWidth(std::string_view utf8) {
    int width = 0;
    char32_t code = 0;
    for (size_t pos = 0; pos < utf8.size();) {
        const size_t length = DecodeUtf8(utf8, pos, code);
        if (length == 0) {
            ++width;
            ++pos;
            continue;
        }
        width += IsWide(code) ? 2 : 1;
        pos += length;
    }
    return width;
}

}  // namespace pelimon
