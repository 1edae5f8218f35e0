// Read-only and small file systems for the tests of unwritable and full folders: mounted when
// the test runs as root (whom permissions do not bind), else by permissions where they suffice.
#pragma once

#include <optional>
#include <string>

namespace pelimon::test {

bool RunningAsRoot();

// A file system mounted on an existing folder for the life of the object (root only). The mount
// is detached on destruction, so a test that fails half-way leaves nothing mounted.
class ScopedMount {
  public:
    // A tmpfs with mount options such as "size=1m" or "ro,size=64k". nullopt and `why` set when
    // the mount fails (no privilege, no tmpfs).
    static std::optional<ScopedMount> Tmpfs(const std::string& folder, const std::string& options, std::string& why);
    // `folder` bound onto itself read-only: its files stay readable, nothing can be written.
    static std::optional<ScopedMount> ReadOnlyBind(const std::string& folder, std::string& why);

    ScopedMount(ScopedMount&& other) noexcept;
    ScopedMount& operator=(ScopedMount&&) = delete;
    ScopedMount(const ScopedMount&) = delete;
    ~ScopedMount();

  private:
    explicit ScopedMount(std::string folder) : folder_(std::move(folder)) {}
    std::string folder_;  // empty once moved from
};

// Makes `folder` refuse writes for the life of the object: a read-only bind mount as root (root
// ignores permissions), else mode 0555, given back on destruction. ok() is false, and why() says
// why, when neither is possible.
class ReadOnlyFolder {
  public:
    explicit ReadOnlyFolder(const std::string& folder);
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;
    ~ReadOnlyFolder();

    bool ok() const { return ok_; }
    const std::string& why() const { return why_; }

  private:
    std::string folder_;
    std::string why_;                   // before mount_, which fills it
    std::optional<ScopedMount> mount_;  // as root
    bool ok_ = false;
};

// Makes `folder` unreadable for the life of the object: mode 0000 and, as root, the calling
// thread's effective capabilities that override permissions (CAP_DAC_OVERRIDE,
// CAP_DAC_READ_SEARCH) dropped until destruction, so that this thread meets the permissions as any
// user would. ok() is false, and why() says why, when neither is possible.
class UnreadableFolder {
  public:
    explicit UnreadableFolder(const std::string& folder);
    UnreadableFolder(const UnreadableFolder&) = delete;
    UnreadableFolder& operator=(const UnreadableFolder&) = delete;
    ~UnreadableFolder();

    bool ok() const { return ok_; }
    const std::string& why() const { return why_; }

  private:
    std::string folder_;
    std::string why_;
    bool capabilities_dropped_ = false;
    bool ok_ = false;
};

}  // namespace pelimon::test
