// Which settings a run's outputs depend on, as one number: runs whose outputs would differ get
// different numbers, so a kept output can be recognised as made with the present settings.
#pragma once

#include <cstdint>
#include <string_view>

#include "settings/app_settings.h"

namespace pelimon {

// A 64-bit FNV-1a hash of the key and value, as the settings file writes them, of every row of
// the settings table that shapes an output (SettingRow::shapes_output). Stable across runs and
// machines; a setting that only says which files a run takes or where it writes leaves it alone.
uint64_t OutputSettingsHash(const AppSettings& settings);

// Continues an FNV-1a hash over `bytes`.
uint64_t Fnv1a(uint64_t hash, std::string_view bytes);
inline constexpr uint64_t kFnv1aStart = 14695981039346656037ull;

}  // namespace pelimon
