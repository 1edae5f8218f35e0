// The man page's option entries and the bash completion's lists of options, made from the option
// table (app/posix_option_table.h) for res/make_lists.cpp.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace pelimon {

// Every option's entry of the man page (".TP", its heading, its text), one after the other.
std::string ManOptionEntries();

// The completion's lists, as pairs of a template variable and its value: the options whose value
// is a folder, a file, or anything (none offered), the case arms of those with a fixed set of
// values, and every option name.
std::vector<std::pair<const char*, std::string>> CompletionLists();

}  // namespace pelimon
