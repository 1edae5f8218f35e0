// The tag numbers of TIFF structures (Exif blocks, TIFF and camera raw files) that the program
// reads or writes by name, and the values of some of them.
#pragma once

#include <cstdint>

namespace pelimon {

// IFD0: the image and how it is stored.
inline constexpr uint16_t kTiffTagNewSubfileType = 0x00FE;
inline constexpr uint16_t kTiffTagImageWidth = 0x0100;
inline constexpr uint16_t kTiffTagImageLength = 0x0101;
inline constexpr uint16_t kTiffTagCompression = 0x0103;
inline constexpr uint16_t kTiffTagPhotometric = 0x0106;
inline constexpr uint16_t kTiffTagMake = 0x010F;
inline constexpr uint16_t kTiffTagOrientation = 0x0112;
inline constexpr uint16_t kTiffTagSubIfds = 0x014A;
inline constexpr uint16_t kTiffTagJpegOffset = 0x0201;  // JPEGInterchangeFormat: a thumbnail's start
inline constexpr uint16_t kTiffTagJpegLength = 0x0202;  // JPEGInterchangeFormatLength
inline constexpr uint16_t kTiffTagXmp = 0x02BC;
inline constexpr uint16_t kTiffTagIptc = 0x83BB;
inline constexpr uint16_t kTiffTagPhotoshop = 0x8649;
inline constexpr uint16_t kTiffTagExifIfd = 0x8769;
inline constexpr uint16_t kTiffTagIcc = 0x8773;
inline constexpr uint16_t kTiffTagGpsIfd = 0x8825;
inline constexpr uint16_t kTiffTagDngVersion = 0xC612;

// The Exif IFD.
inline constexpr uint16_t kExifTagDateTimeOriginal = 0x9003;
inline constexpr uint16_t kExifTagMakerNote = 0x927C;
inline constexpr uint16_t kExifTagPixelXDimension = 0xA002;
inline constexpr uint16_t kExifTagPixelYDimension = 0xA003;
inline constexpr uint16_t kExifTagInteropIfd = 0xA005;

// PhotometricInterpretation values of raw sensor data.
inline constexpr uint32_t kPhotometricCfa = 32803;
inline constexpr uint32_t kPhotometricLinearRaw = 34892;

}  // namespace pelimon
