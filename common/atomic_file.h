// Writing files so that a reader never sees a half-written one: the bytes go to a temporary
// file in the destination's folder, are flushed, and the temporary file is renamed over the
// destination. On any failure the temporary file is removed and the destination is untouched.
// Where the file system allows it the temporary file is unnamed (O_TMPFILE) while it is written
// and gets its name only when complete, just before the rename, so that a process killed during
// the write (or a power cut) leaves nothing behind.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "common/result.h"

namespace pelimon {

// Temporary files made here are named ".<name>.pelimon-<pid>-XXXXXX" in the destination's folder,
// so that they are hidden, recognisable, on the same file system (rename is atomic there), and
// tell which process wrote them.
inline constexpr std::string_view kTempFileMarker = ".pelimon-";

// The mkostemp pattern of the temporary file for `path`, ending in "XXXXXX".
std::string TemporaryNameFor(const std::string& path);

// Removes the temporary files in `folder` whose writing process no longer runs: what a run killed
// in the middle of a named write (on a file system without O_TMPFILE) left behind. Files of
// processes that still run, this one included, are never touched. Returns how many were removed.
int RemoveTemporariesOfEndedRuns(const std::string& folder);

// Who may read a file written anew: everyone the umask allows, or its owner alone (0600, for
// files that show what someone else's photos hold).
enum class NewFileAccess { kUmask, kOwnerOnly };

// Replaces (or creates) `path` with `bytes`, the new file readable as `access` says.
Status WriteFileAtomically(const std::string& path, std::span<const unsigned char> bytes,
                           NewFileAccess access = NewFileAccess::kUmask);
Status WriteFileAtomically(const std::string& path, std::string_view bytes,
                           NewFileAccess access = NewFileAccess::kUmask);

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
