// The man page's option entries and list of parameter-file keys, and the bash completion's lists of
// options, made from the option table (app/posix_option_table.h) and the settings table
// (settings/settings_table.h) for res/make_lists.cpp.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace pelimon {

// Every option's entry of the man page (".TP", its heading, its text), one after the other.
std::string ManOptionEntries();

// The parameter file's keys in bold, each with the settings file's key it sets when that is spelt
// otherwise (".BR RISEZFOLDER " (Resize), " ASPECT ..."), ending with a full stop.
std::string ManParameterKeys();

// The completion's lists, as pairs of a template variable and its value: the options whose value
// is a folder, a file, or anything (none offered), the case arms of those with a fixed set of
// values, and every option name.
std::vector<std::pair<const char*, std::string>> CompletionLists();

}  // namespace pelimon
