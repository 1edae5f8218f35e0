#include "settings/output_shaping.h"

#include <string>

#include "settings/settings_table.h"

namespace pelimon {

uint64_t Fnv1a(uint64_t hash, std::string_view bytes) {
    for (const char byte : bytes) {
        hash ^= static_cast<unsigned char>(byte);
        hash *= 1099511628211ull;
    }
    return hash;
}

uint64_t OutputSettingsHash(const AppSettings& settings) {
    uint64_t hash = kFnv1aStart;
    for (const SettingRow& row : SettingsTable()) {
        if (row.shapes_output) {
            // The separators keep "A=1" + "B=23" apart from "A=12" + "B=3".
            hash = Fnv1a(hash, std::string(row.key) + '=' + row.Text(settings) + '\n');
        }
    }
    return hash;
}

}  // namespace pelimon
