#include "option_lists.h"

#include <span>
#include <string_view>

#include "app/posix_option_table.h"
#include "common/text.h"
#include "settings/settings_table.h"

namespace pelimon {
namespace {

using Rows = std::span<const PosixOptionRow>;

// The rows named in the entry of rows[index]: itself and those listed with it after it.
std::vector<const PosixOptionRow*> EntryRows(Rows rows, size_t index, OptionListing PosixOptionRow::*listing) {
    std::vector<const PosixOptionRow*> entry = {&rows[index]};
    for (size_t next = index + 1; next < rows.size() && rows[next].*listing == OptionListing::kWithOneBefore; ++next) {
        entry.push_back(&rows[next]);
    }
    return entry;
}

// Text for troff: a minus sign is "\-", so that it is not printed as a hyphen.
std::string TroffText(std::string_view text) {
    std::string troff;
    for (const char c : text) {
        troff += c == '-' ? std::string("\\-") : std::string(1, c);
    }
    return troff;
}

// "=\fIFILE\fR", "=\fIW\fBx\fIH\fR", "=\fB90\fR|\fB180\fR|\fB270\fR": the name of a value in
// italics, the letters and digits to be typed as they are in bold.
std::string ManValue(std::string_view value) {
    std::string text = "=";
    char font = 'R';
    for (const char c : value) {
        const char wanted = (c >= 'A' && c <= 'Z')                               ? 'I'
                            : ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) ? 'B'
                                                                                 : 'R';
        if (wanted != font) {
            text += std::string("\\f") + wanted;
            font = wanted;
        }
        text += c;
    }
    return font == 'R' ? text : text + "\\fR";
}

// One piece of a heading, in bold or in roman.
struct Piece {
    bool bold;
    std::string text;
};

void Add(std::vector<Piece>& pieces, bool bold, const std::string& text) {
    if (!pieces.empty() && pieces.back().bold == bold) {
        pieces.back().text += text;
    } else {
        pieces.push_back({bold, text});
    }
}

// ".BR \-o ", " \-\-output =\fIDIR\fR": the options of an entry, the names in bold.
std::string ManHeading(const std::vector<const PosixOptionRow*>& entry) {
    std::vector<Piece> pieces;
    for (const PosixOptionRow* row : entry) {
        if (!pieces.empty()) {
            Add(pieces, false, ", ");
        }
        if (row->short_name != 0) {
            Add(pieces, true, TroffText(std::string("-") + row->short_name));
            Add(pieces, false, ", ");
        }
        Add(pieces, true, TroffText("--" + std::string(row->long_name)));
        if (row->value) {
            Add(pieces, false, ManValue(row->value->id()));
        }
    }
    std::string heading = pieces.size() == 1 ? ".B" : ".BR";
    for (const Piece& piece : pieces) {
        const bool quoted = piece.text.find(' ') != std::string::npos;
        heading += " " + (quoted ? "\"" + piece.text + "\"" : piece.text);
    }
    return heading;
}

// "-o | --output" and so on, broken into lines of at most kCompletionWidth columns after `indent`
// blanks (the first line starts `first_column` columns in).
constexpr size_t kCompletionWidth = 100;

std::string Wrapped(const std::vector<std::string>& words, std::string_view separator, std::string_view line_end,
                    size_t first_column, size_t indent) {
    std::string text;
    size_t column = first_column;
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string_view glue = i == 0 ? std::string_view{} : separator;
        if (i > 0 && column + glue.size() + words[i].size() + line_end.size() > kCompletionWidth) {
            text += std::string(line_end) + "\n" + std::string(indent, ' ');
            column = indent;
            text += words[i];
        } else {
            text += std::string(glue) + words[i];
            column += glue.size();
        }
        column += words[i].size();
    }
    return text;
}

std::vector<std::string> NamesOf(const PosixOptionRow& row) {
    std::vector<std::string> names;
    if (row.short_name != 0) {
        names.push_back(std::string("-") + row.short_name);
    }
    names.push_back("--" + std::string(row.long_name));
    return names;
}

std::vector<std::string> NamesCompleting(ValueCompletion completion) {
    std::vector<std::string> names;
    for (const PosixOptionRow& row : PosixOptionTable()) {
        if (row.completion == completion) {
            for (std::string& name : NamesOf(row)) {
                names.push_back(std::move(name));
            }
        }
    }
    return names;
}

std::string JoinNames(const std::vector<std::string>& names, std::string_view separator) {
    const std::vector<std::string_view> views(names.begin(), names.end());
    return JoinTexts(views, separator);
}

// The case arms that offer an option's values.
std::string ChoiceCases() {
    std::string cases;
    for (const PosixOptionRow& row : PosixOptionTable()) {
        std::string values;
        if (row.completion == ValueCompletion::kFormats) {
            values = JoinTexts(FormatChoiceNames(), " ");
        } else if (row.completion == ValueCompletion::kChoices) {
            values = JoinTexts(row.choices, " ");
        } else {
            continue;
        }
        cases += std::string(cases.empty() ? "" : "\n") + "        " + JoinNames(NamesOf(row), " | ") + ")\n" +
                 "            COMPREPLY=($(compgen -W '" + values + "' -- \"$cur\"))\n" + "            return\n" +
                 "            ;;";
    }
    return cases;
}

}  // namespace

std::string ManOptionEntries() {
    const Rows rows = PosixOptionTable();
    std::string entries;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].man == OptionListing::kOwn) {
            entries += std::string(entries.empty() ? "" : "\n") + ".TP\n" +
                       ManHeading(EntryRows(rows, i, &PosixOptionRow::man)) + "\n" + rows[i].manual;
        }
    }
    return entries;
}

std::string ManParameterKeys() {
    constexpr size_t kKeysPerLine = 6;
    std::vector<const SettingRow*> rows;
    for (const SettingRow& row : SettingsTable()) {
        if (!row.parameter_key.empty()) {
            rows.push_back(&row);
        }
    }
    std::string text;
    for (size_t i = 0; i < rows.size(); ++i) {
        const SettingRow& row = *rows[i];
        std::string after = EqualsIgnoreCase(row.parameter_key, row.key) ? "" : " (" + std::string(row.key) + ")";
        after += i + 1 == rows.size() ? "." : ", ";
        text += std::string(i % kKeysPerLine == 0 ? (i == 0 ? ".BR " : "\n.BR ") : " ") + TroffText(row.parameter_key) +
                " " + (after.find(' ') != std::string::npos ? "\"" + after + "\"" : after);
    }
    return text;
}

std::vector<std::pair<const char*, std::string>> CompletionLists() {
    std::vector<std::string> every_name;
    for (const PosixOptionRow& row : PosixOptionTable()) {
        for (std::string& name : NamesOf(row)) {
            every_name.push_back(std::move(name));
        }
    }
    every_name.push_back("--");
    constexpr std::string_view kWordsStart = "        COMPREPLY=($(compgen -W '";
    constexpr size_t kCaseIndent = 8;
    constexpr size_t kContinuationIndent = 12;
    return {
        {"PELIMON_COMPLETION_FOLDER_OPTIONS", JoinNames(NamesCompleting(ValueCompletion::kFolder), " | ")},
        {"PELIMON_COMPLETION_FILE_OPTIONS", JoinNames(NamesCompleting(ValueCompletion::kFile), " | ")},
        {"PELIMON_COMPLETION_PRESET_OPTIONS", JoinNames(NamesCompleting(ValueCompletion::kPresets), " | ")},
        {"PELIMON_COMPLETION_VALUE_OPTIONS",
         Wrapped(NamesCompleting(ValueCompletion::kNone), " | ", " | \\", kCaseIndent, kContinuationIndent)},
        {"PELIMON_COMPLETION_CHOICE_CASES", ChoiceCases()},
        {"PELIMON_COMPLETION_OPTIONS", Wrapped(every_name, " ", "", kWordsStart.size(), kContinuationIndent)},
    };
}

}  // namespace pelimon
