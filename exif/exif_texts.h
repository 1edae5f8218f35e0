// Texts of the Exif core, kept in one place for translation: the notes on metadata that could not
// be carried into an output, for the run's summary (the picture itself is always written; these
// say what it lacks and why). UTF-8.
#pragma once

namespace pelimon::exif_texts {

inline constexpr const char* kExifDropped = "Exif 情報が壊れているため、出力に含めませんでした。";
inline constexpr const char* kGpsDropped = "GPS 情報が壊れているため、出力に含めませんでした。";
inline constexpr const char* kXmpDropped = "XMP 情報が壊れているため、出力に含めませんでした。";
inline constexpr const char* kExtendedXmpDropped =
    "拡張 XMP 情報が欠けているか壊れているため、出力に含めませんでした。";
inline constexpr const char* kExtendedXmpLocation = "拡張 XMP 情報に位置情報が含まれるため、出力に含めませんでした。";
inline constexpr const char* kIptcDropped = "IPTC 情報が壊れているため、出力に含めませんでした。";

}  // namespace pelimon::exif_texts
