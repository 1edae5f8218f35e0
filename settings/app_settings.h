// Every user setting of pelimon, one field per key of the settings file.
// Fields carry the names of their INI keys (`0-Padding` is ZeroPadding). Defaults are those of a
// first start; the two folder defaults depend on where the program runs and are filled in by
// LoadSettings.
#pragma once

#include <cstdint>
#include <string>

#include "imagelib/format_table.h"
#include "settings/setting_values.h"

namespace pelimon {

struct AppSettings {
    // Not persisted: the running executable, and the settings file in use.
    std::string ModulePath;
    std::string ProfilePath;

    // [General]
    int32_t Confirm = kAskAgain;
    int32_t Complete = kAskAgain;
    int32_t DefConfirm = kAskAgain;
    int32_t ImageType = AllImageTypes();
    std::string ImagePath;   // source folder, ends with '/'
    std::string OutputPath;  // as typed: absolute, relative to ImagePath, or empty
    int32_t Select = kSelectChecked;

    // [ImageSize]
    int32_t Base = kBase640x480;
    int32_t Width = 640;
    int32_t Height = 480;
    int32_t WidthRatio = 70;
    int32_t HeightRatio = 70;
    int32_t Method = kMethodPixels;
    int32_t Aspect = kAspectKeep;
    int32_t Rect = kRectByWidth;
    std::string SizeString = "幅・高さ固定：640 x 480 pxel";
    int32_t SetSize = kOff;
    int32_t DataSize = 50;
    int32_t LimitQuality = 20;
    int32_t EvenMenu = kOff;  // read, never written
    int32_t PixEven = kOff;   // read, never written

    // [Option]
    int32_t FileType = kFileTypeSame;
    int32_t JpegComp = 90;
    int32_t DragDrop = kOff;
    int32_t BigSize = kBigSizeEnlarge;
    int32_t Equal = kEqualIsLarger;
    int32_t Exif = kOff;
    int32_t ExifDate = kOff;
    int32_t Resize = kResizeUserFolder;
    int32_t NameRule = kNameSerial;
    std::string AddText = "s";
    int32_t StartNum = 1;
    int32_t ZeroPadding = kOn;  // key "0-Padding"
    int32_t Digit = 4;
    std::string BaseName = "resize";
    int32_t SaveNum = kOn;
    int32_t ImageNum = 0;
    int32_t Reduction = kReductionAreaAverage;
    int32_t Effect = 0;  // EffectBits
    int32_t Contrast = 0;
    int32_t Gain = 15;
    int32_t AutoRotate = kOn;   // apply the Exif Orientation of JPEG and WebP sources to their pixels
    int32_t ToSRGB = kOn;       // convert sources whose colours are not sRGB (Display P3, Adobe RGB, ...) to sRGB
    int32_t NoLocation = kOff;  // with Exif kept: no GPS block and no XMP/IPTC location in any output
};

}  // namespace pelimon
