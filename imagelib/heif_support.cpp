#include "imagelib/heif_support.h"

#include <algorithm>
#include <mutex>
#include <string>
#include <utility>

#include "imagelib/codec_support.h"

namespace pelimon::imagelib_detail {

void EnsureHeifInitialised() {
    static std::once_flag once;
    // The matching heif_deinit never runs: the plugins stay loaded for the life of the process.
    std::call_once(once, [] { heif_init(nullptr); });
}

Error HeifError(const heif_error& error) {
    std::string message = error.message != nullptr ? error.message : "";
    // libheif ends some messages with a line break; the message goes into one line.
    std::replace(message.begin(), message.end(), '\n', ' ');
    while (!message.empty() && message.back() == ' ') {
        message.pop_back();
    }
    return CorruptError("HEIF: " + (message.empty() ? std::to_string(static_cast<int>(error.code)) : message));
}

Result<OpenedHeif> OpenHeif(ByteView bytes) {
    if (!HeifItemLocationsFit(bytes)) {
        return CorruptError(imagelib_texts::kHeifItemOutside);
    }
    EnsureHeifInitialised();
    OpenedHeif opened{HeifContextPtr(heif_context_alloc()), nullptr, {}};
    if (!opened.context) {
        return CorruptError(imagelib_texts::kHeifReadSetupFailed);
    }
    heif_context_set_maximum_image_size_limit(opened.context.get(), kMaxHeifSide);
    const heif_error read =
        heif_context_read_from_memory_without_copy(opened.context.get(), bytes.data(), bytes.size(), nullptr);
    if (read.code != heif_error_Ok) {
        return HeifError(read);
    }
    heif_image_handle* primary = nullptr;
    const heif_error found = heif_context_get_primary_image_handle(opened.context.get(), &primary);
    if (found.code != heif_error_Ok) {
        return HeifError(found);
    }
    opened.primary.reset(primary);
    Result<HeifGeometry> geometry = PrimaryGeometry(opened.context.get(), bytes);
    if (!geometry) {
        return geometry.error();
    }
    opened.geometry = std::move(geometry).value();
    return opened;
}

Result<HeifGeometry> PrimaryGeometry(heif_context* context, ByteView boxes) {
    heif_item_id id = 0;
    if (const heif_error found = heif_context_get_primary_image_ID(context, &id); found.code != heif_error_Ok) {
        return HeifError(found);
    }
    Result<HeifGeometry> geometry = ReadHeifGeometry(boxes, id);
    if (!geometry) {
        return geometry;
    }
    const HeifSize shown = DisplayedSize(geometry.value());
    for (const HeifSize size : {HeifSize{geometry.value().coded_width, geometry.value().coded_height}, shown}) {
        if (Status checked = CheckDimensions(size.width, size.height, kMaxHeifSide); !checked) {
            return checked.error();
        }
    }
    return geometry;
}

}  // namespace pelimon::imagelib_detail
