#include "exif/exif_text.h"

#include <algorithm>
#include <string_view>

#include "common/text.h"

namespace pelimon {
namespace {

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

void AppendHexEscape(std::string& out, uint8_t byte) {
    constexpr char kDigits[] = "0123456789abcdef";
    out += "\\x";
    out += kDigits[byte >> 4];
    out += kDigits[byte & 0x0F];
}

// Replaces control characters (below 0x20, and DEL) by visible escapes; other bytes pass.
std::string EscapeControls(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<uint8_t>(c);
        if (byte == '\t') {
            out += "\\t";
        } else if (byte == '\r') {
            out += "\\r";
        } else if (byte == '\n') {
            out += "\\n";
        } else if (byte < 0x20 || byte == 0x7F) {
            AppendHexEscape(out, byte);
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace

std::string DecodeExifText(std::span<const uint8_t> bytes) {
    const std::string_view raw(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    const bool ascii = std::all_of(bytes.begin(), bytes.end(), [](uint8_t b) { return b < 0x80; });
    if (ascii || IsValidUtf8(raw)) {
        return EscapeControls(raw);
    }
    const std::string decoded = DecodeUserText(raw);
    if (decoded.find(kReplacementCharacter) == std::string::npos) {
        return EscapeControls(decoded);
    }
    std::string out;
    for (const uint8_t byte : bytes) {
        if (byte >= 0x20 && byte < 0x7F) {
            out += static_cast<char>(byte);
        } else {
            AppendHexEscape(out, byte);
        }
    }
    return out;
}

std::span<const uint8_t> UpToZero(std::span<const uint8_t> bytes, size_t limit) {
    bytes = bytes.first(std::min(limit, bytes.size()));
    const auto zero = std::find(bytes.begin(), bytes.end(), uint8_t{0});
    return bytes.first(static_cast<size_t>(zero - bytes.begin()));
}

}  // namespace pelimon
