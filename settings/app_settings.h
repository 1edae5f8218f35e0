// Every user setting of pelimon, one field per key of the settings file.
// Fields carry the names of their INI keys (`0-Padding` is ZeroPadding). Each persisted field is
// one row of the settings table (settings/settings_table.cpp), which gives its default, that of a
// first start; the two folder defaults depend on where the program runs and are filled in by
// LoadSettings.
#pragma once

#include <cstdint>
#include <string>

#include "settings/setting_values.h"

namespace pelimon {

struct AppSettings {
    AppSettings();  // every persisted field at its default

    // Not persisted: the running executable, and the settings file in use.
    std::string ModulePath;
    std::string ProfilePath;

    // [General]
    int32_t Confirm;
    int32_t Complete;
    int32_t DefConfirm;
    int32_t ImageType;
    std::string ImagePath;   // source folder, ends with '/'
    std::string OutputPath;  // as typed: absolute, relative to ImagePath, or empty
    int32_t Select;
    int32_t Recurse;        // the source folder's subfolders are listed too, at any depth
    int32_t ThumbnailGrid;  // the window's file list shows a grid of thumbnails instead of rows
    int32_t ShowOutput;     // the window's preview shows the current file as a run will write it
    int32_t OutputLayout;   // that output beside its source (0) or split with it (1)
    int32_t OutputZoom;     // fitted to the frame (0) or at actual pixels (1)

    // [ImageSize]
    int32_t Base;
    int32_t Width;
    int32_t Height;
    int32_t WidthRatio;
    int32_t HeightRatio;
    int32_t Method;
    int32_t Aspect;
    int32_t Rect;
    std::string SizeString;
    int32_t SetSize;
    int32_t DataSize;
    int32_t LimitQuality;
    int32_t EvenMenu;  // read, never written
    int32_t PixEven;   // read, never written

    // [Option]
    int32_t FileType;
    int32_t JpegComp;
    int32_t DragDrop;
    int32_t BigSize;
    int32_t Equal;
    int32_t Exif;
    int32_t ExifDate;
    int32_t Resize;
    int32_t NameRule;
    std::string AddText;
    int32_t StartNum;
    int32_t ZeroPadding;  // key "0-Padding"
    int32_t Digit;
    std::string BaseName;
    int32_t SaveNum;
    int32_t ImageNum;
    int32_t Reduction;
    int32_t Effect;  // EffectBits
    int32_t Contrast;
    int32_t Gain;
    int32_t AutoRotate;  // apply the Exif Orientation of JPEG and WebP sources to their pixels
    int32_t ToSRGB;      // convert sources whose colours are not sRGB (Display P3, Adobe RGB, ...) to sRGB
    int32_t NoLocation;  // with Exif kept: no GPS block and no XMP/IPTC location in any output
    int32_t Flat;        // every output straight into the output folder, not in the source's subfolders
    int32_t Update;      // skip sources whose output is in place and was made from them with these settings
    int32_t FastJpeg;    // JPEG outputs from libjpeg's baseline encoder instead of the smaller optimised ones
};

}  // namespace pelimon
