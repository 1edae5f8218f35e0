// Texts of the image library's errors, kept in one place for translation. The codecs give a
// detail; codec_support.h frames it ("画像データが壊れています（detail）。").
#pragma once

#include <cstdint>
#include <string>

namespace pelimon::imagelib_texts {

inline constexpr const char* kBmpNoBitMasks = "BMP のビットマスクがありません";
inline constexpr const char* kBmpBadPixelOffset = "BMP の画素データの位置が不正です";
inline constexpr const char* kBmpHeaderShort = "BMP ヘッダーが短すぎます";
inline constexpr const char* kGifNoImage = "GIF に画像がありません";
inline constexpr const char* kGifBadBlock = "GIF のブロックが不正です";
inline constexpr const char* kGifBadDescriptor = "GIF の画像記述子が不正です";
inline constexpr const char* kGifDescriptorShort = "GIF の画像記述子が短すぎます";
inline constexpr const char* kGifHeaderShort = "GIF ヘッダーが短すぎます";
inline constexpr const char* kGifOutOfMemory = "GIF: メモリが足りません";
inline constexpr const char* kGifQuantizeFailed = "GIF: 減色に失敗しました";
inline constexpr const char* kGifQuantizeSetupFailed = "GIF: 減色の準備ができません";
inline constexpr const char* kJpegFrameHeaderShort = "JPEG のフレームヘッダーが短すぎます";
inline constexpr const char* kJpegNoFrameHeader = "JPEG のフレームヘッダーが見つかりません";
inline constexpr const char* kJpegBadMarker = "JPEG のマーカーが不正です";
inline constexpr const char* kPngNoIhdr = "PNG の IHDR がありません";
inline constexpr const char* kPngCannotConvert = "PNG の画素形式を変換できません";
inline constexpr const char* kPngReadSetupFailed = "PNG を読む準備ができません";
inline constexpr const char* kPngWriteSetupFailed = "PNG: 準備ができません";
inline constexpr const char* kPngEmptyImage = "PNG: 画像が空です";
inline constexpr const char* kRleTruncated = "RLE データが途中で切れています";
inline constexpr const char* kFileTruncated = "ファイルが途中で切れています";
inline constexpr const char* kFileNotFound = "ファイルが見つかりません。";
inline constexpr const char* kNotAFile = "ファイルではありません。";
inline constexpr const char* kNoReadPermission = "ファイルを読む権限がありません。";
inline constexpr const char* kUnsupported = "対応していない画像形式です。";

inline std::string BmpUnsupportedBits(int bits, uint32_t compression) {
    return "BMP " + std::to_string(bits) + " ビット、圧縮 " + std::to_string(compression);
}
inline std::string BmpUnsupportedHeader(uint32_t info_size) {
    return "BMP ヘッダー " + std::to_string(info_size) + " バイト";
}
// "GIF にできない大きさです（w x h）" and the same for JPEG; `format` is "GIF" or "JPEG".
inline std::string CannotEncodeSize(const char* format, int width, int height) {
    return std::string(format) + " にできない大きさです（" + std::to_string(width) + " x " + std::to_string(height) +
           "）";
}
inline std::string NotReadable(const char* why) {
    return std::string("ファイルを読み込めません（") + why + "）。";
}
inline std::string Unsupported(const std::string& detail) {
    return "対応していない画像形式です（" + detail + "）。";
}
inline std::string Corrupt(const std::string& detail) {
    return "画像データが壊れています（" + detail + "）。";
}
inline std::string TooLarge(const std::string& size) {
    return "画像が大きすぎます（" + size + "）。";
}
inline std::string BadSize(const std::string& size) {
    return "画像の大きさが不正です（" + size + "）。";
}
inline std::string EncodeFailed(const std::string& detail) {
    return "画像の書き出しに失敗しました（" + detail + "）。";
}

}  // namespace pelimon::imagelib_texts
