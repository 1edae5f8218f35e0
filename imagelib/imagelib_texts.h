// Texts of the image library's errors, in Japanese and English, kept in one place. The codecs give
// a detail; codec_support.h frames it ("画像データが壊れています（detail）。").
#pragma once

#include <cstdint>
#include <string>

#include "common/language.h"

namespace pelimon::imagelib_texts {

inline constexpr Phrase kBmpNoBitMasks{"BMP のビットマスクがありません", "no BMP bit masks"};
inline constexpr Phrase kBmpBadPixelOffset{"BMP の画素データの位置が不正です", "invalid BMP pixel data offset"};
inline constexpr Phrase kBmpHeaderShort{"BMP ヘッダーが短すぎます", "BMP header too short"};
inline constexpr Phrase kGifNoImage{"GIF に画像がありません", "no image in the GIF"};
inline constexpr Phrase kGifBadBlock{"GIF のブロックが不正です", "invalid GIF block"};
inline constexpr Phrase kGifBadDescriptor{"GIF の画像記述子が不正です", "invalid GIF image descriptor"};
inline constexpr Phrase kGifDescriptorShort{"GIF の画像記述子が短すぎます", "GIF image descriptor too short"};
inline constexpr Phrase kGifHeaderShort{"GIF ヘッダーが短すぎます", "GIF header too short"};
inline constexpr Phrase kGifOutOfMemory{"GIF: メモリが足りません", "GIF: out of memory"};
inline constexpr Phrase kGifQuantizeFailed{"GIF: 減色に失敗しました", "GIF: colour reduction failed"};
inline constexpr Phrase kGifQuantizeSetupFailed{"GIF: 減色の準備ができません", "GIF: cannot prepare colour reduction"};
inline constexpr Phrase kJpegFrameHeaderShort{"JPEG のフレームヘッダーが短すぎます", "JPEG frame header too short"};
inline constexpr Phrase kJpegNoFrameHeader{"JPEG のフレームヘッダーが見つかりません", "no JPEG frame header"};
inline constexpr Phrase kJpegBadMarker{"JPEG のマーカーが不正です", "invalid JPEG marker"};
inline constexpr Phrase kPngNoIhdr{"PNG の IHDR がありません", "no PNG IHDR"};
inline constexpr Phrase kPngIhdrDamaged{"PNG の IHDR が壊れています（CRC が違います）", "damaged PNG IHDR (wrong CRC)"};
inline constexpr Phrase kPngCannotConvert{"PNG の画素形式を変換できません", "cannot convert the PNG pixel format"};
inline constexpr Phrase kPngReadSetupFailed{"PNG を読む準備ができません", "cannot prepare to read the PNG"};
inline constexpr Phrase kPngWriteSetupFailed{"PNG: 準備ができません", "PNG: cannot prepare"};
inline constexpr Phrase kPngEmptyImage{"PNG: 画像が空です", "PNG: empty image"};
inline constexpr Phrase kRleTruncated{"RLE データが途中で切れています", "RLE data cut short"};
inline constexpr Phrase kFileTruncated{"ファイルが途中で切れています", "file cut short"};
inline constexpr Phrase kFileNotFound{"ファイルが見つかりません。", "File not found."};
inline constexpr Phrase kNotAFile{"ファイルではありません。", "Not a file."};
inline constexpr Phrase kNoReadPermission{"ファイルを読む権限がありません。", "No permission to read the file."};
inline constexpr Phrase kUnsupported{"対応していない画像形式です。", "Unsupported image format."};
inline constexpr Phrase kRleBmpWholeOnly{"RLE 圧縮の BMP は一度に読み込む必要があります",
                                         "an RLE-compressed BMP must be read whole"};
inline constexpr Phrase kInterlacedPngWholeOnly{"インターレース PNG は一度に読み込む必要があります",
                                                "an interlaced PNG must be read whole"};
inline constexpr Phrase kCannotReread{"ファイルを読み直せません", "cannot read the file again"};
inline constexpr Phrase kJpegReadSetupFailed{"JPEG を読む準備ができません", "cannot prepare to read the JPEG"};
inline constexpr Phrase kJpegBadData{"JPEG のデータが不正です", "invalid JPEG data"};
inline constexpr Phrase kJpegNoSoi{"JPEG の SOI がありません", "no JPEG SOI"};
inline constexpr Phrase kJpegNotProgressiveHuffman{"プログレッシブ ハフマン符号化以外の JPEG",
                                                   "JPEG coding other than progressive Huffman"};
inline constexpr Phrase kJpegComponents{"JPEG の成分構成", "JPEG component layout"};
inline constexpr Phrase kJpegSampling{"JPEG のサンプリング比", "JPEG sampling factors"};
inline constexpr Phrase kJpegNoHuffmanTable{"JPEG のハフマン表がありません", "no JPEG Huffman table"};
// Details of the HEIF/AVIF, WebP and colour-profile codecs.
inline constexpr Phrase kJpegBadCompressedData{"JPEG の圧縮データに誤りがあります",
                                               "error in the JPEG compressed data"};
inline constexpr Phrase kWebpMetadata{"WebP のメタデータ", "WebP metadata"};
inline constexpr Phrase kWebpTooLarge{"WebP の大きさの上限を超えています", "beyond the WebP size limit"};
inline constexpr Phrase kWebpOutOfMemory{"WebP のメモリが足りません", "WebP: out of memory"};
inline constexpr Phrase kWebpReadSetupFailed{"WebP を読む準備ができません", "cannot prepare to read the WebP"};
inline constexpr Phrase kWebpAnimationUnreadable{"WebP のアニメーションを読めません", "cannot read the WebP animation"};
inline constexpr Phrase kWebpFirstFrameUnreadable{"WebP の最初のフレームを読めません",
                                                  "cannot read the first WebP frame"};
inline constexpr Phrase kHeifNoPixels{"HEIF の画素を取り出せません", "cannot get the HEIF pixels"};
inline constexpr Phrase kHeifUnreadable{"HEIF を読めません", "cannot read the HEIF"};
inline constexpr Phrase kHeifReadSetupFailed{"HEIF を読む準備ができません", "cannot prepare to read the HEIF"};
inline constexpr Phrase kHeifCannotConvert{"HEIF の画素形式を変換できません", "cannot convert the HEIF pixel format"};
inline constexpr Phrase kHeifSizeMismatch{"HEIF の画像の大きさが宣言と異なります",
                                          "HEIF image size differs from the declared size"};
inline constexpr Phrase kHeifBadCrop{"HEIF の切り抜き範囲（clap）が不正です", "invalid HEIF crop (clap)"};
inline constexpr Phrase kHeifItemOutside{"HEIF: 項目の位置がファイルの外を指しています",
                                         "HEIF: an item lies outside the file"};
inline constexpr Phrase kAvifOutOfMemory{"AVIF のメモリが足りません", "AVIF: out of memory"};
inline constexpr Phrase kAvifEmptyImage{"AVIF: 空の画像", "AVIF: empty image"};
inline constexpr Phrase kIccProfile{"ICC プロファイル", "ICC profile"};

inline std::string BmpUnsupportedBits(int bits, uint32_t compression) {
    if (InEnglish()) {
        return "BMP of " + std::to_string(bits) + " bits, compression " + std::to_string(compression);
    }
    return "BMP " + std::to_string(bits) + " ビット、圧縮 " + std::to_string(compression);
}
inline std::string BmpUnsupportedHeader(uint32_t info_size) {
    if (InEnglish()) {
        return "BMP header of " + std::to_string(info_size) + " bytes";
    }
    return "BMP ヘッダー " + std::to_string(info_size) + " バイト";
}
// "GIF にできない大きさです（w x h）" and the same for JPEG; `format` is "GIF" or "JPEG".
inline std::string CannotEncodeSize(const char* format, int width, int height) {
    const std::string size = std::to_string(width) + " x " + std::to_string(height);
    if (InEnglish()) {
        return "size too large for " + std::string(format) + " (" + size + ")";
    }
    return std::string(format) + " にできない大きさです（" + size + "）";
}
inline std::string NotReadable(const char* why) {
    if (InEnglish()) {
        return std::string("Cannot read the file (") + why + ").";
    }
    return std::string("ファイルを読み込めません（") + why + "）。";
}
inline std::string Unsupported(const std::string& detail) {
    if (InEnglish()) {
        return "Unsupported image format (" + detail + ").";
    }
    return "対応していない画像形式です（" + detail + "）。";
}
inline std::string Corrupt(const std::string& detail) {
    if (InEnglish()) {
        return "The image data is corrupt (" + detail + ").";
    }
    return "画像データが壊れています（" + detail + "）。";
}
inline std::string TooLarge(const std::string& size) {
    if (InEnglish()) {
        return "The image is too large (" + size + ").";
    }
    return "画像が大きすぎます（" + size + "）。";
}
// A progressive JPEG whose coefficients would not fit the memory budget.
inline std::string TooLargeForMemory(const std::string& size, int64_t megabytes) {
    if (InEnglish()) {
        return "The image is too large (" + size + "; decoding the progressive JPEG needs " +
               std::to_string(megabytes) + " MB of memory).";
    }
    return "画像が大きすぎます（" + size + "、プログレッシブ JPEG の展開に " + std::to_string(megabytes) +
           " MB のメモリが必要です）。";
}
inline std::string BadSize(const std::string& size) {
    if (InEnglish()) {
        return "Invalid image size (" + size + ").";
    }
    return "画像の大きさが不正です（" + size + "）。";
}
inline std::string EncodeFailed(const std::string& detail) {
    if (InEnglish()) {
        return "Cannot write the image (" + detail + ").";
    }
    return "画像の書き出しに失敗しました（" + detail + "）。";
}

}  // namespace pelimon::imagelib_texts
