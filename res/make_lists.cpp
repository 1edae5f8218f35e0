// Writes the lists of the installed files that name formats or options (the desktop file's and the
// AppStream file's MIME types, the bash completion's format names, file extensions and options, the
// man page's format list and option entries, the help pages' lists) from the format table and the option table, as a
// CMake script of set() commands that configure_lists.cmake reads before it fills the
// @PELIMON_...@ places of each template. Run by the build:
//   pelimon_make_lists <output.cmake>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "app/posix_options.h"
#include "common/text.h"
#include "imagelib/format_table.h"
#include "option_lists.h"

namespace pelimon {
namespace {

// "a, b and c".
std::string ProseList(const std::vector<std::string_view>& items) {
    std::string text;
    for (size_t i = 0; i < items.size(); ++i) {
        text += i == 0 ? "" : i + 1 == items.size() ? " and " : ", ";
        text += items[i];
    }
    return text;
}

// A glob that matches `extension` (without its dot) in any case: "[jJ][pP][gG]".
std::string AnyCaseGlob(std::string_view extension) {
    std::string glob;
    for (const char c : extension) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalpha(byte) != 0) {
            glob += {'[', static_cast<char>(std::tolower(byte)), static_cast<char>(std::toupper(byte)), ']'};
        } else {
            glob += c;
        }
    }
    return glob;
}

// The value as a CMake quoted argument.
std::string Quoted(std::string_view value) {
    std::string quoted = "\"";
    for (const char c : value) {
        if (c == '\\' || c == '"' || c == '$') {
            quoted += '\\';
        }
        quoted += c;
    }
    return quoted + "\"";
}

// The man page's values of --format: "same" with what it writes, then the formats' names.
std::string ManFormatChoices() {
    std::vector<std::string> notes = {"the format of each source"};
    for (const FormatRow& format : FormatTable()) {
        if (format.same_as_source != format.format) {
            notes.push_back(std::string(FormatRowOf(format.same_as_source).display_name) + " for " +
                            std::string(format.display_name));
        }
    }
    const std::vector<std::string_view> names = FormatChoiceNames();
    std::string text = ".BR " + std::string(names.front()) + " \" (";
    for (size_t i = 0; i < notes.size(); ++i) {
        text += (i == 0 ? "" : "; ") + notes[i];
    }
    text += ")";
    for (size_t i = 1; i < names.size(); ++i) {
        text += std::string(i + 1 == names.size() ? " or " : ", ") + "\" " + std::string(names[i]);
        text += i + 1 == names.size() ? " ." : " \"";
    }
    return text;
}

std::string ReplacedAll(std::string text, std::string_view place, std::string_view value) {
    for (size_t at = text.find(place); at != std::string::npos; at = text.find(place, at + value.size())) {
        text.replace(at, place.size(), value);
    }
    return text;
}

}  // namespace
}  // namespace pelimon

int main(int argc, char** argv) {
    using namespace pelimon;
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.cmake\n", argv[0]);
        return 2;
    }
    std::vector<std::string_view> names;
    std::vector<std::string_view> display_names;
    std::string desktop_mime_types;
    std::string metainfo_mediatypes;
    std::vector<std::string> extension_globs;
    for (const FormatRow& format : FormatTable()) {
        names.push_back(format.name);
        display_names.push_back(format.display_name);
        for (const std::string_view mime_type : format.mime_types) {
            desktop_mime_types += std::string(mime_type) + ";";
            metainfo_mediatypes += std::string(metainfo_mediatypes.empty() ? "" : "\n    ") + "<mediatype>" +
                                   std::string(mime_type) + "</mediatype>";
        }
        for (const std::string_view extension : format.extensions) {
            extension_globs.push_back(AnyCaseGlob(extension.substr(1)));
        }
    }
    std::string globs;
    for (const std::string& glob : extension_globs) {
        globs += (globs.empty() ? "" : "|") + glob;
    }
    // The help pages' lists, as CMake lists that configure_lists.cmake joins in the page's language.
    std::vector<std::string_view> read_names;
    std::vector<std::string_view> exif_names;
    std::vector<std::string_view> type_boxes;
    for (const FormatRow* format : FormatsInCodeOrder(&FormatCodes::image_type)) {
        read_names.push_back(format->display_name);
        if (format->carries.exif && format->source_metadata != MetadataPlace::kNone) {
            exif_names.push_back(format->display_name);
        }
        if (!format->type_box_caption.empty()) {
            type_boxes.push_back(format->type_box_caption);
        }
    }
    std::vector<std::string_view> output_names;
    for (const FormatRow* format : FormatsInCodeOrder(&FormatCodes::file_type)) {
        if (format->Written()) {
            output_names.push_back(format->display_name);
        }
    }
    const std::string read_formats = ProseList(display_names);
    const std::string quality_formats = ProseList(QualityFormatNames());
    const std::string man_format_choices = ManFormatChoices();
    std::vector<std::pair<const char*, std::string>> variables = {
        {"PELIMON_FORMAT_NAMES", JoinTexts(names, ";")},
        {"PELIMON_READ_FORMATS", read_formats},
        {"PELIMON_QUALITY_FORMATS", quality_formats},
        {"PELIMON_DESKTOP_MIME_TYPES", desktop_mime_types},
        {"PELIMON_METAINFO_MEDIATYPES", metainfo_mediatypes},
        {"PELIMON_COMPLETION_EXTENSIONS", globs},
        {"PELIMON_MAN_FORMAT_CHOICES", man_format_choices},
        {"PELIMON_MAN_OPTIONS", ManOptionEntries()},
        {"PELIMON_MAN_PARAMETER_KEYS", ManParameterKeys()},
        {"PELIMON_HELP_READ_FORMATS", JoinTexts(read_names, ";")},
        {"PELIMON_HELP_EXIF_FORMATS", JoinTexts(exif_names, ";")},
        {"PELIMON_HELP_TYPE_BOXES", JoinTexts(type_boxes, ";")},
        {"PELIMON_HELP_OUTPUT_FORMATS", JoinTexts(output_names, ";")},
        {"PELIMON_HELP_QUALITY_FORMATS", JoinTexts(QualityFormatNames(), ";")},
    };
    // The option entries name format lists themselves; a template's places are filled only once.
    for (auto& [name, value] : variables) {
        value = ReplacedAll(ReplacedAll(value, "@PELIMON_MAN_FORMAT_CHOICES@", man_format_choices),
                            "@PELIMON_QUALITY_FORMATS@", quality_formats);
    }
    for (auto& list : CompletionLists()) {
        variables.push_back(std::move(list));
    }
    std::ofstream out(argv[1], std::ios::trunc);
    out << "# Written by pelimon_make_lists from the format table and the option table; do not edit.\n";
    for (const auto& [name, value] : variables) {
        out << "set(" << name << " " << Quoted(value) << ")\n";
    }
    out.close();
    if (!out) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
