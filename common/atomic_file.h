// Writing files so that a reader never sees a half-written one: the bytes go to a temporary
// file in the destination's folder, are flushed, and the temporary file is renamed over the
// destination. On any failure the temporary file is removed and the destination is untouched.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "common/result.h"

namespace pelimon {

// Temporary files made here are named ".<name>.pelimon-XXXXXX" in the destination's folder, so
// that they are hidden, recognisable and on the same file system (rename is atomic there).
inline constexpr std::string_view kTempFileMarker = ".pelimon-";

// Replaces (or creates) `path` with `bytes`. Permissions of a new file follow the umask.
Status WriteFileAtomically(const std::string& path, std::span<const unsigned char> bytes);
Status WriteFileAtomically(const std::string& path, std::string_view bytes);

// Why ReadRegularFile failed. `error_number` is the errno of kOpen and kRead, 0 otherwise.
struct FileReadFailure {
    enum class Kind {
        kOpen,            // the file could not be opened
        kNotRegularFile,  // a folder, a named pipe, a device… is in its place
        kTooLarge,        // longer than the caller accepts (LongerFiles::kRefuse)
        kRead,            // the file could not be examined or read
    };
    Kind kind;
    int error_number = 0;
};

// What ReadRegularFile does with a file longer than its limit.
enum class LongerFiles { kReadPrefix, kRefuse };

// Reads at most `max_bytes` from the start of the regular file at `path` into `bytes`, replacing
// its contents and keeping its allocation. The open never blocks: a named pipe put in the file's
// place is refused instead of waiting for a writer for ever, and so is anything else that is not a
// regular file. A longer file gives its first `max_bytes` bytes, or with LongerFiles::kRefuse fails
// before anything is read. A file that shrinks while it is read gives what was there. Returns the
// failure, if any; `bytes` is then empty. Callers word the message.
std::optional<FileReadFailure> ReadRegularFile(const std::string& path, size_t max_bytes, LongerFiles longer,
                                               std::string& bytes);
std::optional<FileReadFailure> ReadRegularFile(const std::string& path, size_t max_bytes, LongerFiles longer,
                                               std::vector<uint8_t>& bytes);

// Reads a whole regular file. Fails with a message naming the file when it cannot be opened or
// read, when it is no regular file, or when it is larger than max_bytes.
Result<std::string> ReadWholeFile(const std::string& path, size_t max_bytes = size_t{1} << 31);

}  // namespace pelimon
