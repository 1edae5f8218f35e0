// Texts of the Exif value formatting, of the shooting-date step and of the metadata transfer, kept
// in one place (their translations are in po/); also the words of the enumerated tag values, a
// table per tag.
#pragma once

#include <cstdint>

#include "common/message.h"

namespace pelimon::exif_texts {

inline constexpr Message kUnknown = Message("Unknown");  // a tag or value the catalogue does not know
inline constexpr Message kComponentsRgb = Message("RGB");
inline constexpr Message kComponentsYcbcr = Message("YCbCr");
inline constexpr Message kDigitalCamera = Message("Digital camera");
inline constexpr Message kDirectlyPhotographed = Message("Directly photographed");
// Units put after a number ("1/125 s", "1024 bytes").
// TRANSLATORS: the unit after an exposure time, "1/125 s".
inline constexpr Message kSecondsUnit = Message("s");
inline constexpr Message kBytesUnit = Message("bytes");
// The GPS altitude's reference.
inline constexpr Message kAboveSeaLevel = Message("Above sea level");
inline constexpr Message kBelowSeaLevel = Message("Below sea level");
// The Exif list's group rows, and why a file shows none.
inline constexpr Message kMainGroup = Message("▼ Main IFD");
inline constexpr Message kSubGroup = Message("▼ Sub IFD");
inline constexpr Message kInteropGroup = Message("▼ Interoperability");
inline constexpr Message kGpsGroup = Message("▼ GPS");
inline constexpr Message kThumbnailGroup = Message("▼ Thumbnail IFD");
inline constexpr Message kNoExif = Message("The file has no Exif data.");
inline constexpr Message kNotJpeg = Message("The file is not a JPEG file.");

inline constexpr Message kShotDateNotApplied =
    Message("cannot set the file's modification time to the shooting date: ");

// Notes for the run's summary on metadata that could not be carried into an output (the picture
// itself is always written; these say what it lacks and why).
inline constexpr Message kExifDropped = Message("The Exif data is corrupt, so the output does not include it.");
inline constexpr Message kGpsDropped = Message("The GPS data is corrupt, so the output does not include it.");
inline constexpr Message kXmpDropped = Message("The XMP data is corrupt, so the output does not include it.");
inline constexpr Message kExtendedXmpDropped =
    Message("The extended XMP data is incomplete or corrupt, so the output does not include it.");
inline constexpr Message kExtendedXmpLocation =
    Message("The extended XMP data holds a location, so the output does not include it.");
inline constexpr Message kExtendedXmpGainMap = Message(
    "The extended XMP data describes a gain map that the output does not carry, so the output does not include it.");
inline constexpr Message kIptcDropped = Message("The IPTC data is corrupt, so the output does not include it.");
inline constexpr Message kExifTooLargeForJpeg =
    Message("The Exif data does not fit in one JPEG segment (64 KB), so the output does not include it.");
inline constexpr Message kXmpTooLargeForJpeg =
    Message("The XMP data does not fit in one JPEG segment (64 KB), so the output does not include it.");
inline constexpr Message kIptcTooLargeForJpeg =
    Message("The IPTC data does not fit in one JPEG segment (64 KB), so the output does not include it.");

// The word of one value of an enumerated tag. Tags that share a table are listed once
// (format_enums.cpp maps them).
struct EnumWord {
    uint16_t tag;
    uint32_t value;
    Message word;
};

inline constexpr EnumWord kEnumWords[] = {
    {0x0103, 1, Message("Uncompressed")},
    {0x0103, 6, Message("JPEG compression")},
    {0x0106, 2, Message("RGB")},
    {0x0106, 6, Message("YCbCr")},
    // Orientation: where row 0 / column 0 of the stored image lie. 1 upright, 2 mirrored,
    // 3 turned 180°, 4 flipped, 5 transposed, 6 needs 90° clockwise, 7 transverse,
    // 8 needs 90° counter-clockwise. The words name the sides where the stored first row and
    // first column lie.
    {0x0112, 1, Message("Top left")},
    {0x0112, 2, Message("Top right")},
    {0x0112, 3, Message("Bottom right")},
    {0x0112, 4, Message("Bottom left")},
    {0x0112, 5, Message("Left top")},
    {0x0112, 6, Message("Right top")},
    {0x0112, 7, Message("Right bottom")},
    {0x0112, 8, Message("Left bottom")},
    {0x011C, 1, Message("Chunky Format")},
    {0x011C, 2, Message("Planar Format")},
    {0x0128, 1, Message("No unit")},
    {0x0128, 2, Message("Inches")},
    {0x0128, 3, Message("Centimetres")},
    {0x0213, 1, Message("Centred")},
    {0x0213, 2, Message("Co-sited")},
    {0x8822, 1, Message("Manual", "exposure program")},
    {0x8822, 2, Message("Program AE")},
    {0x8822, 3, Message("Aperture priority")},
    {0x8822, 4, Message("Shutter priority")},
    {0x8822, 5, Message("Slow program")},
    {0x8822, 6, Message("Fast program")},
    {0x8822, 7, Message("Portrait mode")},
    {0x8822, 8, Message("Landscape mode")},
    {0x9207, 0, kUnknown},
    {0x9207, 1, Message("Average")},
    {0x9207, 2, Message("Centre-weighted")},
    {0x9207, 3, Message("Spot")},
    {0x9207, 4, Message("Multi-spot")},
    {0x9207, 5, Message("Multi-segment")},
    {0x9207, 6, Message("Partial")},
    {0x9207, 255, Message("Other")},
    {0x9208, 0, kUnknown},
    {0x9208, 1, Message("Daylight")},
    {0x9208, 2, Message("Fluorescent")},
    {0x9208, 3, Message("Tungsten")},
    {0x9208, 4, Message("Flash")},
    {0x9208, 9, Message("Fine weather")},
    {0x9208, 10, Message("Cloudy weather")},
    {0x9208, 11, Message("Shade")},
    {0x9208, 12, Message("Daylight fluorescent D5700")},
    {0x9208, 13, Message("Day white fluorescent N4600")},
    {0x9208, 14, Message("Cool white fluorescent W3900")},
    {0x9208, 15, Message("White fluorescent WW3200")},
    {0x9208, 17, Message("Standard light A")},
    {0x9208, 18, Message("Standard light B")},
    {0x9208, 19, Message("Standard light C")},
    {0x9208, 20, Message("D55")},
    {0x9208, 21, Message("D65")},
    {0x9208, 22, Message("D75")},
    {0x9208, 23, Message("D70")},
    {0x9208, 24, Message("ISO studio tungsten")},
    {0x9208, 255, Message("Other")},
    {0x9209, 0, Message("Flash did not fire")},
    {0x9209, 1, Message("Flash fired")},
    {0x9209, 5, Message("Flash fired (return light not detected)")},
    {0x9209, 7, Message("Flash fired (return light detected)")},
    {0x9209, 9, Message("Flash fired, forced")},
    {0x9209, 13, Message("Flash fired, forced (return light not detected)")},
    {0x9209, 15, Message("Flash fired, forced (return light detected)")},
    {0x9209, 16, Message("Flash off, forced")},
    {0x9209, 24, Message("Flash off (auto)")},
    {0x9209, 25, Message("Flash fired (auto)")},
    {0x9209, 29, Message("Flash fired, auto (return light not detected)")},
    {0x9209, 31, Message("Flash fired, auto (return light detected)")},
    {0x9209, 32, Message("No flash function")},
    {0xA001, 1, Message("sRGB")},
    {0xA001, 0xFFFF, Message("Uncalibrated")},
    {0xA217, 1, Message("Not defined")},
    {0xA217, 2, Message("One-chip colour area sensor")},
    {0xA217, 3, Message("Two-chip colour area sensor")},
    {0xA217, 4, Message("Three-chip colour area sensor")},
    {0xA217, 5, Message("Colour sequential area sensor")},
    {0xA217, 6, Message("Not defined")},
    {0xA217, 7, Message("Trilinear sensor")},
    {0xA217, 8, Message("Colour sequential linear sensor")},
    {0xA401, 0, Message("Normal process")},
    {0xA401, 1, Message("Custom process")},
    {0xA402, 0, Message("Auto")},
    {0xA402, 1, Message("Manual", "exposure mode")},
    {0xA402, 2, Message("Auto Bracket")},
    {0xA406, 0, Message("Normal")},
    {0xA406, 1, Message("Landscape")},
    {0xA406, 2, Message("Portrait")},
    {0xA406, 3, Message("Night scene")},
    {0xA407, 0, Message("None")},
    {0xA407, 1, Message("Low gain up")},
    {0xA407, 2, Message("High gain up")},
    {0xA407, 3, Message("Low gain down")},
    {0xA407, 4, Message("High gain down")},
    {0xA408, 0, Message("Normal")},
    {0xA408, 1, Message("Soft")},
    {0xA408, 2, Message("Hard")},
    {0xA40C, 0, kUnknown},
    {0xA40C, 1, Message("Macro")},
    {0xA40C, 2, Message("Close view")},
    {0xA40C, 3, Message("Distant view")},
};

}  // namespace pelimon::exif_texts
