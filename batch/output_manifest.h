// The manifest of an output folder: which source, in which state and with which settings, made
// each output of the folder's tree, so that a later run can leave up-to-date outputs alone. It is
// a small text file in the output folder's root, replaced atomically, and changed only under a
// lock so that several processes writing into one tree keep each other's entries.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/result.h"

namespace pelimon {

inline constexpr std::string_view kManifestName = ".pelimon-manifest";
inline constexpr std::string_view kManifestLockName = ".pelimon-manifest.lock";

struct ManifestEntry {
    std::string source;          // the source's path from the source folder (absolute when outside it)
    int64_t size = 0;            // the source's size in bytes when the output was made
    int64_t mtime_ns = 0;        // the source's modification time then, nanoseconds since the epoch
    uint64_t settings_hash = 0;  // the settings that shaped the output (OutputSettingsHash + rotation)
    std::string output;          // the output's path from the output folder

    bool operator==(const ManifestEntry&) const = default;
};

// The text of a manifest: a header line, one line per entry (tab-separated fields; a tab, line
// break or backslash in a path is written \t, \n, \\), sorted by source, and a last line with the
// count of entries, so that a file cut short is recognised.
std::string SerializeManifest(std::span<const ManifestEntry> entries);
// The entries of a manifest's text; nullopt when the text is not a whole, well-formed manifest.
std::optional<std::vector<ManifestEntry>> ParseManifest(std::string_view text);

struct ManifestRead {
    std::vector<ManifestEntry> entries;  // empty when there is no manifest or it is damaged
    bool exists = false;                 // a manifest file is there
    bool damaged = false;                // it is there but could not be read or parsed: not trusted
};

// True when `output_root` has a manifest, whole or damaged.
bool ManifestExists(const std::string& output_root);

// Reads the manifest of the output folder `output_root` (ends with '/'). Needs no lock: the file is
// only ever replaced whole.
ManifestRead ReadManifest(const std::string& output_root);

// Puts `entries` into the manifest of `output_root`: under the lock, reads the manifest as it is
// now (another process may have added to it), replaces every entry of the same source or the same
// output by the new one, and writes the result atomically. A damaged manifest on disk is dropped
// and rebuilt from `entries`; `damaged` is set then. Fails with a message naming the file when the
// lock or the write fails; the manifest on disk is then as it was.
Status MergeIntoManifest(const std::string& output_root, std::span<const ManifestEntry> entries, bool& damaged);

}  // namespace pelimon
