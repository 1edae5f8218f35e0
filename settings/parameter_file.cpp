// Reading the parameter file: parameter lines and the LIST=<< ... >> name block.
#include "settings/parameter_file.h"

#include <filesystem>
#include <system_error>

#include "common/atomic_file.h"
#include "common/text.h"
#include "settings/parameter_syntax.h"
#include "settings/settings_texts.h"

namespace pelimon {
namespace {

// Name lists of a whole photo library fit easily; the limits only keep a wrong file (a disk
// image, a binary) from exhausting memory.
constexpr size_t kMaxFileBytes = size_t{256} << 20;
constexpr size_t kMaxLineBytes = size_t{64} << 10;

bool IsTooLarge(const std::string& path) {
    std::error_code error;
    const uintmax_t size = std::filesystem::file_size(path, error);
    return !error && size > kMaxFileBytes;
}

}  // namespace

std::string_view StripComment(std::string_view line) {
    return TrimBlanks(line.substr(0, line.find('#')));
}

KeyValue SplitKeyValue(std::string_view line) {
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
        return {TrimBlanks(line), std::nullopt};
    }
    // "WIDTH==320" is WIDTH 320: the whole run of "=" separates key and value. Later "=" signs
    // belong to the value ("ADDTEXT=a=b" is "a=b").
    const size_t value = line.find_first_not_of('=', equals);
    return {TrimBlanks(line.substr(0, equals)),
            TrimBlanks(value == std::string_view::npos ? std::string_view{} : line.substr(value))};
}

bool OpensNameBlock(std::string_view line) {
    const KeyValue parts = SplitKeyValue(line);
    return EqualsIgnoreCase(parts.key, "LIST") && parts.value.has_value() && parts.value->starts_with("<<");
}

Result<ParameterFile> ReadParameterFile(const std::string& path) {
    Result<std::string> bytes = ReadWholeFile(path, kMaxFileBytes);
    if (!bytes) {
        if (IsTooLarge(path)) {
            return Error{settings_texts::ParameterFileTooLarge(path), path};
        }
        return Error{settings_texts::kParameterFileNotFound.str(), path};
    }
    // Decode the whole file at once: a CP932 trail byte may look like an ASCII character.
    const std::string text = DecodeUserText(bytes.value());

    ParameterFile file;
    bool in_name_block = false;
    size_t line_number = 0;
    size_t start = 0;
    // The loop also takes a last line that has no line break.
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        const std::string_view raw = std::string_view(text).substr(start, end - start);
        start = end + 1;
        ++line_number;
        if (raw.size() > kMaxLineBytes) {
            return Error{settings_texts::ParameterLineTooLong(path, line_number), path};
        }

        const std::string_view line = StripComment(raw);
        if (in_name_block) {
            // The closing line ends the block; anything else written on it is not a name.
            if (line.find(">>") != std::string_view::npos) {
                in_name_block = false;
            } else if (!line.empty()) {
                file.names.emplace_back(line);
            }
            continue;
        }
        if (line.empty()) {
            continue;
        }
        file.lines.emplace_back(line);
        in_name_block = OpensNameBlock(line);
    }
    return file;
}

}  // namespace pelimon
