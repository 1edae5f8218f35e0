#include "tests/support/read_only_folder.h"

#include <linux/capability.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace pelimon::test {

bool RunningAsRoot() {
    return geteuid() == 0;
}

std::optional<ScopedMount> ScopedMount::Tmpfs(const std::string& folder, const std::string& options, std::string& why) {
    const bool read_only = options.starts_with("ro");
    const std::string data = read_only ? options.substr(options.find(',') + 1) : options;
    const unsigned long flags = read_only ? MS_RDONLY : 0;
    if (mount("tmpfs", folder.c_str(), "tmpfs", flags, data.c_str()) != 0) {
        why = "cannot mount a tmpfs on " + folder + ": " + std::strerror(errno);
        return std::nullopt;
    }
    return ScopedMount(folder);
}

std::optional<ScopedMount> ScopedMount::ReadOnlyBind(const std::string& folder, std::string& why) {
    if (mount(folder.c_str(), folder.c_str(), nullptr, MS_BIND, nullptr) != 0) {
        why = "cannot bind-mount " + folder + ": " + std::strerror(errno);
        return std::nullopt;
    }
    ScopedMount bound(folder);
    if (mount(nullptr, folder.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0) {
        why = "cannot make the bind mount of " + folder + " read-only: " + std::strerror(errno);
        return std::nullopt;
    }
    return bound;
}

ScopedMount::ScopedMount(ScopedMount&& other) noexcept : folder_(std::move(other.folder_)) {
    other.folder_.clear();
}

ScopedMount::~ScopedMount() {
    if (!folder_.empty()) {
        umount2(folder_.c_str(), MNT_DETACH);
    }
}

ReadOnlyFolder::ReadOnlyFolder(const std::string& folder)
    : folder_(folder), mount_(RunningAsRoot() ? ScopedMount::ReadOnlyBind(folder, why_) : std::nullopt) {
    if (RunningAsRoot()) {
        ok_ = mount_.has_value();
        return;
    }
    ok_ = chmod(folder.c_str(), 0555) == 0;
    if (!ok_) {
        why_ = "cannot make " + folder + " read-only: " + std::strerror(errno);
    }
}

ReadOnlyFolder::~ReadOnlyFolder() {
    if (ok_ && !mount_) {
        chmod(folder_.c_str(), 0755);
    }
}

namespace {

// Raises or lowers the permission-overriding capabilities in this thread's effective set (they
// stay permitted, so they can be raised again).
bool SetPermissionOverride(bool raised) {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3] = {};
    if (syscall(SYS_capget, &header, data) != 0) {
        return false;
    }
    const unsigned int bits = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);
    data[0].effective = raised ? (data[0].effective | (bits & data[0].permitted)) : (data[0].effective & ~bits);
    return syscall(SYS_capset, &header, data) == 0;
}

}  // namespace

UnreadableFolder::UnreadableFolder(const std::string& folder) : folder_(folder) {
    if (chmod(folder.c_str(), 0) != 0) {
        why_ = "cannot take the permissions of " + folder + ": " + std::strerror(errno);
        return;
    }
    if (RunningAsRoot()) {
        capabilities_dropped_ = SetPermissionOverride(false);
        if (!capabilities_dropped_) {
            why_ = std::string("cannot drop the capabilities that override permissions: ") + std::strerror(errno);
            chmod(folder.c_str(), 0755);
            return;
        }
    }
    ok_ = true;
}

UnreadableFolder::~UnreadableFolder() {
    if (capabilities_dropped_) {
        SetPermissionOverride(true);
    }
    if (ok_) {
        chmod(folder_.c_str(), 0755);
    }
}

}  // namespace pelimon::test
