// Every field of AppSettings as one tuple, so that tests compare whole settings and a failure
// prints each value.
#pragma once

#include <tuple>

#include "settings/app_settings.h"

namespace pelimon::test {

// References to every field of `s`, in declaration order. The structured binding names each
// field, so this stops compiling when AppSettings gains or loses one.
inline auto AllFields(const AppSettings& s) {
    const auto& [ModulePath, ProfilePath, Confirm, Complete, DefConfirm, ImageType, ImagePath, OutputPath, Select,
                 Recurse, ThumbnailGrid, ShowOutput, OutputLayout, OutputZoom, Base, Width, Height, WidthRatio,
                 HeightRatio, Method, Aspect, Rect, SizeString, SetSize, DataSize, LimitQuality, EvenMenu, PixEven,
                 FileType, JpegComp, DragDrop, BigSize, Equal, Exif, ExifDate, Resize, NameRule, AddText, StartNum,
                 ZeroPadding, Digit, BaseName, SaveNum, ImageNum, Reduction, Effect, Contrast, Gain, AutoRotate, ToSRGB,
                 NoLocation, Flat, Update, FastJpeg] = s;
    return std::tie(ModulePath, ProfilePath, Confirm, Complete, DefConfirm, ImageType, ImagePath, OutputPath, Select,
                    Recurse, ThumbnailGrid, ShowOutput, OutputLayout, OutputZoom, Base, Width, Height, WidthRatio,
                    HeightRatio, Method, Aspect, Rect, SizeString, SetSize, DataSize, LimitQuality, EvenMenu, PixEven,
                    FileType, JpegComp, DragDrop, BigSize, Equal, Exif, ExifDate, Resize, NameRule, AddText, StartNum,
                    ZeroPadding, Digit, BaseName, SaveNum, ImageNum, Reduction, Effect, Contrast, Gain, AutoRotate,
                    ToSRGB, NoLocation, Flat, Update, FastJpeg);
}

}  // namespace pelimon::test
