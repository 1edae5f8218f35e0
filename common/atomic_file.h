// Writing files so that a reader never sees a half-written one: the bytes go to a temporary
// file in the destination's folder, are flushed, and the temporary file is renamed over the
// destination. On any failure the temporary file is removed and the destination is untouched.
#pragma once

#include <span>
#include <string>

#include "common/result.h"

namespace pelimon {

// Temporary files made here are named ".<name>.pelimon-XXXXXX" in the destination's folder, so
// that they are hidden, recognisable and on the same file system (rename is atomic there).
inline constexpr std::string_view kTempFileMarker = ".pelimon-";

// Replaces (or creates) `path` with `bytes`. Permissions of a new file follow the umask.
Status WriteFileAtomically(const std::string& path, std::span<const unsigned char> bytes);
Status WriteFileAtomically(const std::string& path, std::string_view bytes);

// Reads a whole file. Fails with a message naming the file when it cannot be opened or read,
// or when it is larger than max_bytes.
Result<std::string> ReadWholeFile(const std::string& path, size_t max_bytes = size_t{1} << 31);

}  // namespace pelimon
