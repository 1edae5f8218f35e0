// The option table of the POSIX command line: one row per option with its names, the name of its
// value, its line of the usage page, its entry of the man page, how the completion completes its
// value, and what it sets. The parser, `pelimon --help`, the man page and the bash completion
// (made at build time by res/make_lists.cpp) all read it; nothing else lists the options.
//
// The rows are in the order of the usage page and the man page. An option changes the settings a
// run starts from: its setter records the change (a SettingChange, or for the size and naming
// rules and the output folder a field of PosixOptions), and ApplyPosixOptions puts it on the
// settings; number values are read in the range the settings table gives their setting.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "app/posix_options.h"
#include "common/message.h"
#include "common/result.h"

namespace pelimon {

// One option as it is being parsed: its name as written (for messages) and its value.
struct OptionValue {
    std::string name;
    std::string value;
};

// The options given of each group whose members exclude each other (size rule, naming rule,
// metadata rule).
struct OptionGroups {
    std::string size;
    std::string naming;
    std::string metadata;
};

// A command-line error: one line naming the option and what is wrong with it.
template <typename... Args>
Error OptionError(const Message& format, const Args&... args) {
    return Error{Format(format, args...), {}};
}

// Where a page shows an option.
enum class OptionListing {
    kOwn,            // an entry (usage line, man page entry) of its own
    kWithOneBefore,  // named in the entry of the option before ("--sharpen, --grey")
    kInTextBefore,   // not named on its own: the text of the option before tells of it
};

// How the bash completion completes an option's value.
enum class ValueCompletion {
    kNoValue,  // the option takes no value
    kNone,     // any text or number: nothing to offer
    kFolder,
    kFile,
    kFormats,  // the output formats (FormatChoiceNames)
    kChoices,  // the row's choices
    kPresets,  // the user's presets, as pelimon --list-presets prints them when completing
};

struct PosixOptionRow {
    char short_name = 0;  // 0: none
    std::string_view long_name;
    std::optional<Message> value =
        std::nullopt;  // the name of its value in the usage page ("DIR"); none: takes no value
    // Its usage line's text, a printf format of one %s when help_values is set; none: the line
    // is help_values() alone.
    std::optional<Message> help = std::nullopt;
    std::string (*help_values)() = nullptr;  // the names the usage line lists
    OptionListing usage = OptionListing::kOwn;
    // Its man page entry's text (troff); @PELIMON_...@ places are the format table's lists.
    const char* manual = nullptr;
    OptionListing man = OptionListing::kOwn;
    ValueCompletion completion = ValueCompletion::kNoValue;
    std::span<const std::string_view> choices = {};  // kChoices: every value it takes
    Status (*set)(const OptionValue&, PosixOptions&, OptionGroups&) = nullptr;

    bool TakesValue() const { return value.has_value(); }
};

// Every option, in the order of the usage page.
std::span<const PosixOptionRow> PosixOptionTable();

}  // namespace pelimon
