#include "exif/format_enums.h"

#include <string_view>

#include "exif/exif_texts.h"

namespace pelimon {
namespace {

struct EnumText {
    uint16_t tag;
    uint32_t value;
    std::string_view text;
};

// Tags that share another tag's table.
uint16_t TableTag(uint16_t tag) {
    switch (tag) {
        case 0xA210:
            return 0x0128;
        case 0xA403:
            return 0xA402;
        case 0xA409:
        case 0xA40A:
            return 0xA408;
        default:
            return tag;
    }
}

constexpr EnumText kTexts[] = {
    {0x0103, 1, "非圧縮"},
    {0x0103, 6, "JPEG 圧縮"},
    {0x0106, 2, "RGB 形式"},
    {0x0106, 6, "YCbCr 形式"},
    // Orientation: where row 0 / column 0 of the stored image lie. 1 upright, 2 mirrored,
    // 3 turned 180°, 4 flipped, 5 transposed, 6 needs 90° clockwise, 7 transverse,
    // 8 needs 90° counter-clockwise. The words name the sides where the stored first row and
    // first column lie.
    {0x0112, 1, "左上"},
    {0x0112, 2, "右上"},
    {0x0112, 3, "右下"},
    {0x0112, 4, "左下"},
    {0x0112, 5, "左上"},
    {0x0112, 6, "右上"},
    {0x0112, 7, "右下"},
    {0x0112, 8, "左下"},
    {0x011C, 1, "Chunky Format"},
    {0x011C, 2, "Planar Format"},
    {0x0128, 1, "単位無し"},
    {0x0128, 2, "インチ"},
    {0x0128, 3, "センチ"},
    {0x0213, 1, "点集合の中央"},
    {0x0213, 2, "点集合の原点"},
    {0x8822, 1, "マニュアル設定"},
    {0x8822, 2, "プログラム AE"},
    {0x8822, 3, "絞り優先"},
    {0x8822, 4, "シャッター速度優先"},
    {0x8822, 5, "低速プログラム"},
    {0x8822, 6, "高速プログラム"},
    {0x8822, 7, "ポートレートモード"},
    {0x8822, 8, "風景モード"},
    {0x9207, 0, exif_texts::kUnknown},
    {0x9207, 1, "平均測光E"},
    {0x9207, 2, "中央重点"},
    {0x9207, 3, "スポット"},
    {0x9207, 4, "多点スポット"},
    {0x9207, 5, "マルチセグメント"},
    {0x9207, 6, "部分測光"},
    {0x9207, 255, "その他"},
    {0x9208, 0, exif_texts::kUnknown},
    {0x9208, 1, "太陽光"},
    {0x9208, 2, "蛍光灯"},
    {0x9208, 3, "白熱電球"},
    {0x9208, 4, "フラッシュ"},
    {0x9208, 9, "晴天、太陽光"},
    {0x9208, 10, "曇天、太陽光"},
    {0x9208, 11, "日陰、太陽光"},
    {0x9208, 12, "昼光色蛍光灯 D5700"},
    {0x9208, 13, "昼光白色蛍光灯 N4600"},
    {0x9208, 14, "クールホワイト蛍光灯 W3900"},
    {0x9208, 15, "白色蛍光灯 WW3200"},
    {0x9208, 17, "標準ライトA"},
    {0x9208, 18, "標準ライトB"},
    {0x9208, 19, "標準ライトC"},
    {0x9208, 20, "D55"},
    {0x9208, 21, "D65"},
    {0x9208, 22, "D75"},
    {0x9208, 23, "D70"},
    {0x9208, 24, "ISO 標準タングステンランプ"},
    {0x9208, 255, "その他"},
    {0x9209, 0, "フラッシュ非発光"},
    {0x9209, 1, "フラッシュ発光"},
    {0x9209, 5, "フラッシュ発光（反射非光検出）"},
    {0x9209, 7, "フラッシュ発光（反射光検出）"},
    {0x9209, 9, "フラッシュ強制発光"},
    {0x9209, 13, "フラッシュ強制発光（反射非光検出）"},
    {0x9209, 15, "フラッシュ強制発光（反射光検出）"},
    {0x9209, 16, "フラッシュ強制オフ"},
    {0x9209, 24, "フラッシュオフ（自動）"},
    {0x9209, 25, "フラッシュ自動発光"},
    {0x9209, 29, "フラッシュ自動発光（反射非光検出）"},
    {0x9209, 31, "フラッシュ自動発光（反射光検出）"},
    {0x9209, 32, "フラッシュ機能無し"},
    {0xA001, 1, "sRGB"},
    {0xA001, 0xFFFF, "Uncalibrated"},
    {0xA217, 1, "未定義"},
    {0xA217, 2, "１チップカラーエリアセンサー"},
    {0xA217, 3, "２チップカラーエリアセンサー"},
    {0xA217, 4, "３チップカラーエリアセンサー"},
    {0xA217, 5, "カラーシーケンシャルエリアセンサー"},
    {0xA217, 6, "未定義"},
    {0xA217, 7, "トリリニアセンサー"},
    {0xA217, 8, "カラーシーケンシャルリニアセンサー"},
    {0xA401, 0, "通常処理"},
    {0xA401, 1, "カスタム処理"},
    {0xA402, 0, "オート"},
    {0xA402, 1, "マニュアル"},
    {0xA402, 2, "Auto Bracket"},
    {0xA406, 0, "標準"},
    {0xA406, 1, "風景"},
    {0xA406, 2, "ポートレート"},
    {0xA406, 3, "夜景モード"},
    {0xA407, 0, "無し"},
    {0xA407, 1, "ゲイン増加（小）"},
    {0xA407, 2, "ゲイン増加（大）"},
    {0xA407, 3, "ゲイン減少（小）"},
    {0xA407, 4, "ゲイン減少（大）"},
    {0xA408, 0, "標準"},
    {0xA408, 1, "ソフト"},
    {0xA408, 2, "ハード"},
    {0xA40C, 0, exif_texts::kUnknown},
    {0xA40C, 1, "マクロ"},
    {0xA40C, 2, "近景"},
    {0xA40C, 3, "遠景"},
};

}  // namespace

std::optional<std::string> EnumerationText(uint16_t tag, uint32_t value) {
    const uint16_t table_tag = TableTag(tag);
    bool known_tag = false;
    for (const EnumText& row : kTexts) {
        if (row.tag != table_tag) {
            continue;
        }
        known_tag = true;
        if (row.value == value) {
            return std::string(row.text);
        }
    }
    if (!known_tag) {
        return std::nullopt;
    }
    return table_tag == 0xA408 ? std::string() : std::string("不明");
}

}  // namespace pelimon
