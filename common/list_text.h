// Lists of names in a sentence of the current language: "JPEG, WebP, AVIF" or "JPEG, WebP and
// AVIF" in English, "JPEG・WebP・AVIF" in Japanese. The separators are catalogue messages, so
// a language says its lists its own way.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace pelimon {

// The names with the language's list separator between each two ("JPEG, WebP, AVIF").
std::string ListText(std::span<const std::string_view> names);

// The same with the language's last separator before the last name ("JPEG, WebP and AVIF").
std::string ProseListText(std::span<const std::string_view> names);

}  // namespace pelimon
