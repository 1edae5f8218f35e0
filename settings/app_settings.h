// Every user setting of pelimon, one field per key of the settings file.
// Fields carry the names of their INI keys (`0-Padding` is ZeroPadding). Defaults are those of a
// first start; the two folder defaults depend on where the program runs and are filled in by
// LoadSettings.
#pragma once

#include <cstdint>
#include <string>

namespace pelimon {

// File type bits used by ImageType (as a set) and OutputType (as a value).
enum FileTypeBits : int32_t { kTypeBmp = 1, kTypeJpeg = 2, kTypePng = 4, kTypeGif = 8 };

struct AppSettings {
    // Not persisted: the running executable, and the settings file in use.
    std::string ModulePath;
    std::string ProfilePath;

    // [General]
    int32_t Confirm = 0;
    int32_t Complete = 0;
    int32_t DefConfirm = 0;
    int32_t ImageType = 7;
    std::string ImagePath;   // source folder, ends with '/'
    std::string OutputPath;  // as typed: absolute, relative to ImagePath, or empty
    int32_t Select = 1;

    // [ImageSize]
    int32_t Base = 1;
    int32_t Width = 640;
    int32_t Height = 480;
    int32_t WidthRatio = 70;
    int32_t HeightRatio = 70;
    int32_t Method = 1;
    int32_t Aspect = 1;
    int32_t Rect = 1;
    std::string SizeString = "幅・高さ固定：640 x 480 pxel";
    int32_t SetSize = 0;
    int32_t DataSize = 50;
    int32_t LimitQuality = 20;
    int32_t EvenMenu = 0;  // read, never written
    int32_t PixEven = 0;   // read, never written

    // [Option]
    int32_t FileType = 1;
    int32_t JpegComp = 90;
    int32_t DragDrop = 0;
    int32_t BigSize = 1;
    int32_t Equal = 1;
    int32_t Exif = 0;
    int32_t ExifDate = 0;
    int32_t Resize = 0;
    int32_t NameRule = 2;
    std::string AddText = "s";
    int32_t StartNum = 1;
    int32_t ZeroPadding = 1;  // key "0-Padding"
    int32_t Digit = 4;
    std::string BaseName = "resize";
    int32_t SaveNum = 1;
    int32_t ImageNum = 0;
    int32_t Reduction = 0;
    int32_t Effect = 0;
    int32_t Contrast = 0;
    int32_t Gain = 15;
    int32_t AutoRotate = 1;  // apply the Exif Orientation of JPEG sources to their pixels
    int32_t NoLocation = 0;  // with Exif kept: no GPS block and no XMP/IPTC location in any output
};

}  // namespace pelimon
