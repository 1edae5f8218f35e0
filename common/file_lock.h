// An exclusive advisory lock (flock) on a lock file, held for the lifetime of the object, so that
// processes that read, change and rewrite one shared file take turns.
#pragma once

#include <string>

#include "common/result.h"

namespace pelimon {

class FileLock {
  public:
    // Opens (creating it when missing, never truncating it) `path` and waits until this process
    // holds its exclusive lock. Fails with a message naming the file when it cannot be opened or
    // locked. The lock file stays in place afterwards: removing it would let a waiting process and
    // a new one lock two different files.
    static Result<FileLock> Acquire(const std::string& path);

    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&& other) noexcept;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    ~FileLock();  // releases the lock

  private:
    explicit FileLock(int fd) : fd_(fd) {}
    int fd_ = -1;
};

}  // namespace pelimon
