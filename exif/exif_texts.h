// Texts of the Exif value formatting, of the shooting-date step and of the metadata transfer, in
// Japanese and English, kept in one place; also the words of the enumerated tag values, a table
// per tag.
#pragma once

#include <cstdint>

#include "common/language.h"

namespace pelimon::exif_texts {

inline constexpr Phrase kUnknown{"不明", "Unknown"};  // a tag or value the catalogue does not know
inline constexpr Phrase kComponentsRgb{"RGB 形式", "RGB"};
inline constexpr Phrase kComponentsYcbcr{"YCbCr 形式", "YCbCr"};
inline constexpr Phrase kDigitalCamera{"デジタルカメラ", "Digital camera"};
inline constexpr Phrase kDirectlyPhotographed{"直接撮影", "Directly photographed"};
// Units put after a number ("1/125 (秒)", "1024 バイト").
inline constexpr Phrase kSecondsUnit{"(秒)", "s"};
inline constexpr Phrase kBytesUnit{"バイト", "bytes"};
// The GPS altitude's reference.
inline constexpr Phrase kAboveSeaLevel{"海抜", "Above sea level"};
inline constexpr Phrase kBelowSeaLevel{"海面下", "Below sea level"};
// The Exif list's group rows, and why a file shows none.
inline constexpr Phrase kMainGroup{"▼ メイン IFD 情報", "▼ Main IFD"};
inline constexpr Phrase kSubGroup{"▼ サブ IFD 情報", "▼ Sub IFD"};
inline constexpr Phrase kInteropGroup{"▼ Interoperability 情報", "▼ Interoperability"};
inline constexpr Phrase kGpsGroup{"▼ GPS 情報", "▼ GPS"};
inline constexpr Phrase kThumbnailGroup{"▼ サムネイル IFD 情報", "▼ Thumbnail IFD"};
inline constexpr Phrase kNoExif{"指定されたファイルには Exif 情報が有りません。", "The file has no Exif data."};
inline constexpr Phrase kNotJpeg{"指定されたファイルは JPG ファイルではありません。", "The file is not a JPEG file."};

inline constexpr Phrase kShotDateNotApplied{"ファイルの更新日を撮影日にできませんでした: ",
                                            "cannot set the file's modification time to the shooting date: "};

// Notes for the run's summary on metadata that could not be carried into an output (the picture
// itself is always written; these say what it lacks and why).
inline constexpr Phrase kExifDropped{"Exif 情報が壊れているため、出力に含めませんでした。",
                                     "The Exif data is corrupt, so the output does not include it."};
inline constexpr Phrase kGpsDropped{"GPS 情報が壊れているため、出力に含めませんでした。",
                                    "The GPS data is corrupt, so the output does not include it."};
inline constexpr Phrase kXmpDropped{"XMP 情報が壊れているため、出力に含めませんでした。",
                                    "The XMP data is corrupt, so the output does not include it."};
inline constexpr Phrase kExtendedXmpDropped{
    "拡張 XMP 情報が欠けているか壊れているため、出力に含めませんでした。",
    "The extended XMP data is incomplete or corrupt, so the output does not include it."};
inline constexpr Phrase kExtendedXmpLocation{
    "拡張 XMP 情報に位置情報が含まれるため、出力に含めませんでした。",
    "The extended XMP data holds a location, so the output does not include it."};
inline constexpr Phrase kExtendedXmpGainMap{
    "拡張 XMP 情報が出力に含まれないゲインマップを記述しているため、出力に含めませんでした。",
    "The extended XMP data describes a gain map that the output does not carry, so the output does not include it."};
inline constexpr Phrase kIptcDropped{"IPTC 情報が壊れているため、出力に含めませんでした。",
                                     "The IPTC data is corrupt, so the output does not include it."};
inline constexpr Phrase kExifTooLargeForJpeg{
    "Exif 情報が JPEG の 1 つのセグメント（64 KB）に収まらないため、出力に含めませんでした。",
    "The Exif data does not fit in one JPEG segment (64 KB), so the output does not include it."};
inline constexpr Phrase kXmpTooLargeForJpeg{
    "XMP 情報が JPEG の 1 つのセグメント（64 KB）に収まらないため、出力に含めませんでした。",
    "The XMP data does not fit in one JPEG segment (64 KB), so the output does not include it."};
inline constexpr Phrase kIptcTooLargeForJpeg{
    "IPTC 情報が JPEG の 1 つのセグメント（64 KB）に収まらないため、出力に含めませんでした。",
    "The IPTC data does not fit in one JPEG segment (64 KB), so the output does not include it."};

// The word of one value of an enumerated tag. Tags that share a table are listed once
// (format_enums.cpp maps them).
struct EnumWord {
    uint16_t tag;
    uint32_t value;
    Phrase word;
};

inline constexpr EnumWord kEnumWords[] = {
    {0x0103, 1, {"非圧縮", "Uncompressed"}},
    {0x0103, 6, {"JPEG 圧縮", "JPEG compression"}},
    {0x0106, 2, {"RGB 形式", "RGB"}},
    {0x0106, 6, {"YCbCr 形式", "YCbCr"}},
    // Orientation: where row 0 / column 0 of the stored image lie. 1 upright, 2 mirrored,
    // 3 turned 180°, 4 flipped, 5 transposed, 6 needs 90° clockwise, 7 transverse,
    // 8 needs 90° counter-clockwise. The words name the sides where the stored first row and
    // first column lie.
    {0x0112, 1, {"左上", "Top left"}},
    {0x0112, 2, {"右上", "Top right"}},
    {0x0112, 3, {"右下", "Bottom right"}},
    {0x0112, 4, {"左下", "Bottom left"}},
    {0x0112, 5, {"左上", "Left top"}},
    {0x0112, 6, {"右上", "Right top"}},
    {0x0112, 7, {"右下", "Right bottom"}},
    {0x0112, 8, {"左下", "Left bottom"}},
    {0x011C, 1, {"Chunky Format", "Chunky Format"}},
    {0x011C, 2, {"Planar Format", "Planar Format"}},
    {0x0128, 1, {"単位無し", "No unit"}},
    {0x0128, 2, {"インチ", "Inches"}},
    {0x0128, 3, {"センチ", "Centimetres"}},
    {0x0213, 1, {"点集合の中央", "Centred"}},
    {0x0213, 2, {"点集合の原点", "Co-sited"}},
    {0x8822, 1, {"マニュアル設定", "Manual"}},
    {0x8822, 2, {"プログラム AE", "Program AE"}},
    {0x8822, 3, {"絞り優先", "Aperture priority"}},
    {0x8822, 4, {"シャッター速度優先", "Shutter priority"}},
    {0x8822, 5, {"低速プログラム", "Slow program"}},
    {0x8822, 6, {"高速プログラム", "Fast program"}},
    {0x8822, 7, {"ポートレートモード", "Portrait mode"}},
    {0x8822, 8, {"風景モード", "Landscape mode"}},
    {0x9207, 0, kUnknown},
    {0x9207, 1, {"平均測光E", "Average"}},
    {0x9207, 2, {"中央重点", "Centre-weighted"}},
    {0x9207, 3, {"スポット", "Spot"}},
    {0x9207, 4, {"多点スポット", "Multi-spot"}},
    {0x9207, 5, {"マルチセグメント", "Multi-segment"}},
    {0x9207, 6, {"部分測光", "Partial"}},
    {0x9207, 255, {"その他", "Other"}},
    {0x9208, 0, kUnknown},
    {0x9208, 1, {"太陽光", "Daylight"}},
    {0x9208, 2, {"蛍光灯", "Fluorescent"}},
    {0x9208, 3, {"白熱電球", "Tungsten"}},
    {0x9208, 4, {"フラッシュ", "Flash"}},
    {0x9208, 9, {"晴天、太陽光", "Fine weather"}},
    {0x9208, 10, {"曇天、太陽光", "Cloudy weather"}},
    {0x9208, 11, {"日陰、太陽光", "Shade"}},
    {0x9208, 12, {"昼光色蛍光灯 D5700", "Daylight fluorescent D5700"}},
    {0x9208, 13, {"昼光白色蛍光灯 N4600", "Day white fluorescent N4600"}},
    {0x9208, 14, {"クールホワイト蛍光灯 W3900", "Cool white fluorescent W3900"}},
    {0x9208, 15, {"白色蛍光灯 WW3200", "White fluorescent WW3200"}},
    {0x9208, 17, {"標準ライトA", "Standard light A"}},
    {0x9208, 18, {"標準ライトB", "Standard light B"}},
    {0x9208, 19, {"標準ライトC", "Standard light C"}},
    {0x9208, 20, {"D55", "D55"}},
    {0x9208, 21, {"D65", "D65"}},
    {0x9208, 22, {"D75", "D75"}},
    {0x9208, 23, {"D70", "D70"}},
    {0x9208, 24, {"ISO 標準タングステンランプ", "ISO studio tungsten"}},
    {0x9208, 255, {"その他", "Other"}},
    {0x9209, 0, {"フラッシュ非発光", "Flash did not fire"}},
    {0x9209, 1, {"フラッシュ発光", "Flash fired"}},
    {0x9209, 5, {"フラッシュ発光（反射非光検出）", "Flash fired (return light not detected)"}},
    {0x9209, 7, {"フラッシュ発光（反射光検出）", "Flash fired (return light detected)"}},
    {0x9209, 9, {"フラッシュ強制発光", "Flash fired, forced"}},
    {0x9209, 13, {"フラッシュ強制発光（反射非光検出）", "Flash fired, forced (return light not detected)"}},
    {0x9209, 15, {"フラッシュ強制発光（反射光検出）", "Flash fired, forced (return light detected)"}},
    {0x9209, 16, {"フラッシュ強制オフ", "Flash off, forced"}},
    {0x9209, 24, {"フラッシュオフ（自動）", "Flash off (auto)"}},
    {0x9209, 25, {"フラッシュ自動発光", "Flash fired (auto)"}},
    {0x9209, 29, {"フラッシュ自動発光（反射非光検出）", "Flash fired, auto (return light not detected)"}},
    {0x9209, 31, {"フラッシュ自動発光（反射光検出）", "Flash fired, auto (return light detected)"}},
    {0x9209, 32, {"フラッシュ機能無し", "No flash function"}},
    {0xA001, 1, {"sRGB", "sRGB"}},
    {0xA001, 0xFFFF, {"Uncalibrated", "Uncalibrated"}},
    {0xA217, 1, {"未定義", "Not defined"}},
    {0xA217, 2, {"１チップカラーエリアセンサー", "One-chip colour area sensor"}},
    {0xA217, 3, {"２チップカラーエリアセンサー", "Two-chip colour area sensor"}},
    {0xA217, 4, {"３チップカラーエリアセンサー", "Three-chip colour area sensor"}},
    {0xA217, 5, {"カラーシーケンシャルエリアセンサー", "Colour sequential area sensor"}},
    {0xA217, 6, {"未定義", "Not defined"}},
    {0xA217, 7, {"トリリニアセンサー", "Trilinear sensor"}},
    {0xA217, 8, {"カラーシーケンシャルリニアセンサー", "Colour sequential linear sensor"}},
    {0xA401, 0, {"通常処理", "Normal process"}},
    {0xA401, 1, {"カスタム処理", "Custom process"}},
    {0xA402, 0, {"オート", "Auto"}},
    {0xA402, 1, {"マニュアル", "Manual"}},
    {0xA402, 2, {"Auto Bracket", "Auto Bracket"}},
    {0xA406, 0, {"標準", "Normal"}},
    {0xA406, 1, {"風景", "Landscape"}},
    {0xA406, 2, {"ポートレート", "Portrait"}},
    {0xA406, 3, {"夜景モード", "Night scene"}},
    {0xA407, 0, {"無し", "None"}},
    {0xA407, 1, {"ゲイン増加（小）", "Low gain up"}},
    {0xA407, 2, {"ゲイン増加（大）", "High gain up"}},
    {0xA407, 3, {"ゲイン減少（小）", "Low gain down"}},
    {0xA407, 4, {"ゲイン減少（大）", "High gain down"}},
    {0xA408, 0, {"標準", "Normal"}},
    {0xA408, 1, {"ソフト", "Soft"}},
    {0xA408, 2, {"ハード", "Hard"}},
    {0xA40C, 0, kUnknown},
    {0xA40C, 1, {"マクロ", "Macro"}},
    {0xA40C, 2, {"近景", "Close view"}},
    {0xA40C, 3, {"遠景", "Distant view"}},
};

}  // namespace pelimon::exif_texts
