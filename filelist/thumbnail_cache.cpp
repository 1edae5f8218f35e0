#include "filelist/thumbnail_cache.h"

#include <sys/stat.h>

#include <charconv>
#include <cstring>
#include <filesystem>
#include <map>

#include "common/atomic_file.h"
#include "common/md5.h"
#include "imagelib/imagelib.h"
#include "imagelib/png_chunks.h"

namespace pelimon {

namespace {

constexpr std::string_view kKeyUri = "Thumb::URI";
constexpr std::string_view kKeyMTime = "Thumb::MTime";
constexpr std::string_view kKeySize = "Thumb::Size";
constexpr std::string_view kKeyWidth = "Thumb::Image::Width";
constexpr std::string_view kKeyHeight = "Thumb::Image::Height";
constexpr std::string_view kKeySoftware = "Software";
constexpr std::string_view kKeyStoredSideways = "X-Pelimon::StoredSideways";
constexpr std::string_view kSoftware = "pelimon";
// Cached thumbnails are small; anything much larger is not one.
constexpr size_t kMaxThumbnailFileBytes = size_t{4} << 20;
constexpr size_t kMaxTextBytes = 4096;

bool KeptInUri(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           std::strchr("!$&'()*+,-./:=@_~", c) != nullptr;
}

std::optional<int64_t> ParseInteger(const std::string& text) {
    int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

// The PNG's IEND chunk is the last 12 bytes libpng writes; the text chunks go in before it.
Bytes WithTextChunks(Bytes png, const std::vector<std::pair<std::string_view, std::string>>& texts) {
    constexpr size_t kIendBytes = 12;
    Bytes iend(png.end() - kIendBytes, png.end());
    png.resize(png.size() - kIendBytes);
    for (const auto& [keyword, text] : texts) {
        Bytes data(keyword.begin(), keyword.end());
        data.push_back(0);
        data.insert(data.end(), text.begin(), text.end());
        AppendPngChunk(png, "tEXt", data);
    }
    png.insert(png.end(), iend.begin(), iend.end());
    return png;
}

}  // namespace

int ThumbnailPixels(ThumbnailSize size) {
    return size == ThumbnailSize::kLarge ? 256 : 128;
}

std::string FileUri(const std::string& absolute_path) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string uri = "file://";
    for (const char c : absolute_path) {
        const auto byte = static_cast<unsigned char>(c);
        if (KeptInUri(byte)) {
            uri += c;
        } else {
            uri += '%';
            uri += kDigits[byte >> 4];
            uri += kDigits[byte & 15];
        }
    }
    return uri;
}

std::string ThumbnailCacheRoot(const EnvLookup& environment) {
    if (const std::optional<std::string> cache = environment("XDG_CACHE_HOME"); cache && cache->starts_with('/')) {
        return *cache + "/thumbnails";
    }
    if (const std::optional<std::string> home = environment("HOME"); home && home->starts_with('/')) {
        return *home + "/.cache/thumbnails";
    }
    return {};
}

std::string CachedThumbnailPath(const std::string& root, const std::string& absolute_path, ThumbnailSize size) {
    if (root.empty()) {
        return {};
    }
    const char* folder = size == ThumbnailSize::kLarge ? "/large/" : "/normal/";
    return root + folder + Md5Hex(FileUri(absolute_path)) + ".png";
}

std::string FailedThumbnailPath(const std::string& root, const std::string& absolute_path) {
    if (root.empty()) {
        return {};
    }
    return root + "/fail/pelimon-" + std::to_string(ImgGetVersion()) + "/" + Md5Hex(FileUri(absolute_path)) + ".png";
}

Result<ThumbnailSource> ExamineThumbnailSource(const std::string& absolute_path) {
    struct stat info {};
    if (stat(absolute_path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return Error{"cannot examine the file", absolute_path};
    }
    return ThumbnailSource{FileUri(absolute_path), static_cast<int64_t>(info.st_mtime),
                           static_cast<uint64_t>(info.st_size)};
}

std::optional<CachedThumbnail> ReadCachedThumbnail(const std::string& cache_path, const ThumbnailSource& source) {
    std::vector<uint8_t> bytes;
    if (cache_path.empty() || ReadRegularFile(cache_path, kMaxThumbnailFileBytes, LongerFiles::kRefuse, bytes)) {
        return std::nullopt;
    }
    std::map<std::string, std::string, std::less<>> texts;
    for (const PngChunk& chunk : WalkPngChunks(bytes)) {
        if (std::optional<PngText> text = ReadPngText(chunk, kMaxTextBytes)) {
            texts[text->keyword] = std::string(text->text.begin(), text->text.end());
        }
    }
    const auto text_of = [&texts](std::string_view key) {
        const auto found = texts.find(key);
        return found == texts.end() ? std::string() : found->second;
    };
    if (text_of(kKeyUri) != source.uri || ParseInteger(text_of(kKeyMTime)) != source.mtime) {
        return std::nullopt;
    }
    const bool ours = text_of(kKeySoftware) == kSoftware;
    if (ours && !texts.contains(kKeyStoredSideways)) {
        return std::nullopt;
    }
    Result<Image> image = DecodeImage(bytes);
    if (!image || image.value().empty()) {
        return std::nullopt;
    }
    CachedThumbnail cached;
    cached.image = std::move(image).value();
    const std::optional<int64_t> width = ParseInteger(text_of(kKeyWidth));
    const std::optional<int64_t> height = ParseInteger(text_of(kKeyHeight));
    if (width && height && *width > 0 && *height > 0 && *width <= INT32_MAX && *height <= INT32_MAX) {
        cached.source_width = static_cast<int>(*width);
        cached.source_height = static_cast<int>(*height);
    }
    cached.stored_sideways = ours && text_of(kKeyStoredSideways) == "1";
    return cached;
}

Status WriteCachedThumbnail(const std::string& cache_path, const ThumbnailSource& source,
                            const CachedThumbnail& thumbnail) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::path(cache_path).parent_path();
    std::error_code error;
    // Every folder made here is private: the cache shows what the user's files hold.
    std::vector<fs::path> missing;
    for (fs::path level = folder; !fs::is_directory(level, error) && level != level.parent_path();
         level = level.parent_path()) {
        missing.push_back(level);
    }
    for (auto level = missing.rbegin(); level != missing.rend(); ++level) {
        if (fs::create_directory(*level, error)) {
            fs::permissions(*level, fs::perms::owner_all, error);
        }
    }
    Result<Bytes> png = EncodePng(thumbnail.image);
    if (!png) {
        return png.error();
    }
    std::vector<std::pair<std::string_view, std::string>> texts = {
        {kKeyUri, source.uri},
        {kKeyMTime, std::to_string(source.mtime)},
        {kKeySize, std::to_string(source.bytes)},
        {kKeySoftware, std::string(kSoftware)},
        {kKeyStoredSideways, thumbnail.stored_sideways ? "1" : "0"},
    };
    if (thumbnail.source_width > 0 && thumbnail.source_height > 0) {
        texts.emplace_back(kKeyWidth, std::to_string(thumbnail.source_width));
        texts.emplace_back(kKeyHeight, std::to_string(thumbnail.source_height));
    }
    const Bytes file = WithTextChunks(std::move(png).value(), texts);
    return WriteFileAtomically(cache_path, std::span<const unsigned char>(file.data(), file.size()),
                               NewFileAccess::kOwnerOnly);
}

}  // namespace pelimon
