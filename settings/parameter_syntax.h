// Line syntax of the parameter file, shared by its reader and its apply step.
#pragma once

#include <optional>
#include <string_view>

namespace pelimon {

// The line without its "#" comment, blanks trimmed at both ends.
std::string_view StripComment(std::string_view line);

// "key = value": the key is the text before the first "=", the value the text after the first
// run of "=" signs (so "WIDTH==320" gives "320", "ADDTEXT=a=b" gives "a=b"), both trimmed. A line
// without "=" is all key and has no value.
struct KeyValue {
    std::string_view key;
    std::optional<std::string_view> value;
};
KeyValue SplitKeyValue(std::string_view line);

// True for the line "LIST=<<" (any letter case, blanks allowed around "=") that opens the
// name block.
bool OpensNameBlock(std::string_view line);

}  // namespace pelimon
