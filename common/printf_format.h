// Whether a translated printf format may be used with the arguments of its original. A catalogue
// is input like any file: a translation that asked for another argument type, or for more
// arguments than the original passes, would make printf read what is not there.
#pragma once

#include <string_view>

namespace pelimon {

// True when `translation` converts the original's arguments 1..k (k up to all of them, in any
// order with "%2$s" numbering, each as often as it likes) with the types `original` gives them:
// "%s" a string, "%d" "%i" an int, "%zu" a size_t, ... (flags, width and precision may differ).
// False for a malformed directive, for "%n", for '*' widths, and for numbered and unnumbered
// directives mixed in one format.
bool TranslationFitsFormat(std::string_view original, std::string_view translation);

}  // namespace pelimon
