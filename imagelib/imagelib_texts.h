// Texts of the image library's errors, kept in one place (their translations are in po/). The codecs
// give a detail; codec_support.h frames it ("The image data is corrupt (detail).").
#pragma once

#include <cstdint>
#include <string>

#include "common/message.h"

namespace pelimon::imagelib_texts {

inline constexpr Message kBmpNoBitMasks = Message("no BMP bit masks");
inline constexpr Message kBmpBadPixelOffset = Message("invalid BMP pixel data offset");
inline constexpr Message kBmpHeaderShort = Message("BMP header too short");
inline constexpr Message kGifNoImage = Message("no image in the GIF");
inline constexpr Message kGifBadBlock = Message("invalid GIF block");
inline constexpr Message kGifBadDescriptor = Message("invalid GIF image descriptor");
inline constexpr Message kGifDescriptorShort = Message("GIF image descriptor too short");
inline constexpr Message kGifHeaderShort = Message("GIF header too short");
inline constexpr Message kGifOutOfMemory = Message("GIF: out of memory");
inline constexpr Message kGifQuantizeFailed = Message("GIF: colour reduction failed");
inline constexpr Message kGifQuantizeSetupFailed = Message("GIF: cannot prepare colour reduction");
inline constexpr Message kJpegFrameHeaderShort = Message("JPEG frame header too short");
inline constexpr Message kJpegNoFrameHeader = Message("no JPEG frame header");
inline constexpr Message kJpegBadMarker = Message("invalid JPEG marker");
inline constexpr Message kPngNoIhdr = Message("no PNG IHDR");
inline constexpr Message kPngIhdrDamaged = Message("damaged PNG IHDR (wrong CRC)");
inline constexpr Message kPngCannotConvert = Message("cannot convert the PNG pixel format");
inline constexpr Message kPngReadSetupFailed = Message("cannot prepare to read the PNG");
inline constexpr Message kPngWriteSetupFailed = Message("PNG: cannot prepare");
inline constexpr Message kPngEmptyImage = Message("PNG: empty image");
inline constexpr Message kRleTruncated = Message("RLE data cut short");
inline constexpr Message kFileTruncated = Message("file cut short");
inline constexpr Message kFileNotFound = Message("File not found.");
inline constexpr Message kNotAFile = Message("Not a file.");
inline constexpr Message kNoReadPermission = Message("No permission to read the file.");
inline constexpr Message kUnsupported = Message("Unsupported image format.");
inline constexpr Message kRleBmpWholeOnly = Message("an RLE-compressed BMP must be read whole");
inline constexpr Message kInterlacedPngWholeOnly = Message("an interlaced PNG must be read whole");
inline constexpr Message kCannotReread = Message("cannot read the file again");
inline constexpr Message kJpegReadSetupFailed = Message("cannot prepare to read the JPEG");
inline constexpr Message kJpegBadData = Message("invalid JPEG data");
inline constexpr Message kJpegNoSoi = Message("no JPEG SOI");
inline constexpr Message kJpegNotProgressiveHuffman = Message("JPEG coding other than progressive Huffman");
inline constexpr Message kJpegComponents = Message("JPEG component layout");
inline constexpr Message kJpegSampling = Message("JPEG sampling factors");
inline constexpr Message kJpegNoHuffmanTable = Message("no JPEG Huffman table");
// Details of the HEIF/AVIF, WebP and colour-profile codecs.
inline constexpr Message kJpegBadCompressedData = Message("error in the JPEG compressed data");
inline constexpr Message kWebpMetadata = Message("WebP metadata");
inline constexpr Message kWebpTooLarge = Message("beyond the WebP size limit");
inline constexpr Message kWebpOutOfMemory = Message("WebP: out of memory");
inline constexpr Message kWebpReadSetupFailed = Message("cannot prepare to read the WebP");
inline constexpr Message kWebpAnimationUnreadable = Message("cannot read the WebP animation");
inline constexpr Message kWebpFirstFrameUnreadable = Message("cannot read the first WebP frame");
inline constexpr Message kHeifNoPixels = Message("cannot get the HEIF pixels");
inline constexpr Message kHeifUnreadable = Message("cannot read the HEIF");
inline constexpr Message kHeifReadSetupFailed = Message("cannot prepare to read the HEIF");
inline constexpr Message kHeifCannotConvert = Message("cannot convert the HEIF pixel format");
inline constexpr Message kHeifSizeMismatch = Message("HEIF image size differs from the declared size");
inline constexpr Message kHeifBadCrop = Message("invalid HEIF crop (clap)");
inline constexpr Message kHeifItemOutside = Message("HEIF: an item lies outside the file");
inline constexpr Message kAvifOutOfMemory = Message("AVIF: out of memory");
inline constexpr Message kAvifEmptyImage = Message("AVIF: empty image");
inline constexpr Message kIccProfile = Message("ICC profile");
inline constexpr Message kTiffReadSetupFailed = Message("cannot prepare to read the TIFF");
inline constexpr Message kTiffWriteSetupFailed = Message("TIFF: cannot prepare");
inline constexpr Message kTiffEmptyImage = Message("TIFF: empty image");
inline constexpr Message kTiffNoDirectory = Message("no TIFF directory");
inline constexpr Message kTiffBadTiles = Message("invalid TIFF tile size");
// Details of the camera raw codec.
inline constexpr Message kRawNotRead = Message("a camera raw file libraw cannot read");
inline constexpr Message kRawTooBig = Message("the raw data needs more memory than allowed");
inline constexpr Message kRawTooSlow = Message("decoding the raw data takes too long");
inline constexpr Message kRawDataMissing = Message("the raw data is missing or cut short");
inline constexpr Message kRawDamaged = Message("damaged camera raw data");
inline constexpr Message kJxlUnreadable = Message("cannot read the JPEG XL");
inline constexpr Message kJxlReadSetupFailed = Message("cannot prepare to read the JPEG XL");
inline constexpr Message kJxlColourSpace = Message("JPEG XL colour space");
inline constexpr Message kJxlEmptyImage = Message("JPEG XL: empty image");
inline constexpr Message kJxlMetadata = Message("JPEG XL metadata");
inline constexpr Message kJxlCannotRecompress = Message("JPEG XL: cannot recompress the JPEG");

inline std::string BmpUnsupportedBits(int bits, uint32_t compression) {
    return Format(Message("BMP of %d bits, compression %u"), bits, compression);
}
inline std::string BmpUnsupportedHeader(uint32_t info_size) {
    return Format(Message("BMP header of %u bytes"), info_size);
}
// "size too large for GIF (w x h)" and the same for JPEG; `format` is "GIF" or "JPEG".
inline std::string CannotEncodeSize(const char* format, int width, int height) {
    return Format(Message("size too large for %s (%d x %d)"), format, width, height);
}
inline std::string JxlTooSlow(int seconds) {
    return Format(Message("The JPEG XL image was given up after %d seconds of decoding."), seconds);
}
inline std::string NotReadable(const char* why) {
    return Format(Message("Cannot read the file (%s)."), why);
}
inline std::string Unsupported(const std::string& detail) {
    return Format(Message("Unsupported image format (%s)."), detail);
}
inline std::string Corrupt(const std::string& detail) {
    return Format(Message("The image data is corrupt (%s)."), detail);
}
inline std::string TooLarge(const std::string& size) {
    return Format(Message("The image is too large (%s)."), size);
}
// A progressive JPEG whose coefficients would not fit the memory budget.
inline std::string TooLargeForMemory(const std::string& size, int64_t megabytes) {
    return Format(Message("The image is too large (%s; decoding the progressive JPEG needs %lld MB of memory)."), size,
                  static_cast<long long>(megabytes));
}
inline std::string BadSize(const std::string& size) {
    return Format(Message("Invalid image size (%s)."), size);
}
inline std::string EncodeFailed(const std::string& detail) {
    return Format(Message("Cannot write the image (%s)."), detail);
}

}  // namespace pelimon::imagelib_texts
