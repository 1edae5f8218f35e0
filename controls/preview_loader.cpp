#include "controls/preview_loader.h"

#include <ctime>
#include <memory>
#include <span>

#include "common/atomic_file.h"
#include "controls/latest_only.h"
#include "controls/qimage_of.h"
#include "exif/source_metadata.h"
#include "imagelib/imagelib.h"
#include "imagelib/orientation.h"

namespace pelimon {

namespace {

// Preview files are read whole; anything larger is not a photo the pane can show.
constexpr size_t kMaxPreviewFileBytes = size_t{512} << 20;

PreviewResult Failure(const std::string& message) {
    PreviewResult result;
    result.error = QString::fromStdString(message);
    return result;
}

}  // namespace

PreviewLoader::PreviewLoader(QObject* parent) : QObject(parent) {
    load_pool_.setMaxThreadCount(1);
    colour_pool_.setMaxThreadCount(1);
}

PreviewLoader::~PreviewLoader() {
    Cancel();
}

void PreviewLoader::Cancel() {
    ++generation_;
    load_pool_.clear();
    colour_pool_.clear();
}

void PreviewLoader::Request(const PreviewRequest& request) {
    const uint64_t generation = ++generation_;
    load_pool_.clear();
    colour_pool_.clear();
    load_pool_.start([this, generation, request] { Load(generation, request); });
}

void PreviewLoader::Load(uint64_t generation, const PreviewRequest& request) {
    if (generation != generation_) {
        return;
    }
    auto deliver = [this, generation](PreviewResult result) {
        DeliverIfLatest(this, generation_, generation, [this, result = std::move(result)] { emit Loaded(result); });
    };

    auto bytes = std::make_shared<std::string>();
    {
        Result<std::string> read = ReadWholeFile(request.path.toStdString(), kMaxPreviewFileBytes);
        if (!read) {
            deliver(Failure(read.error().message));
            return;
        }
        *bytes = std::move(read).value();
    }
    const ByteView view(reinterpret_cast<const uint8_t*>(bytes->data()), bytes->size());
    Result<ImageHeader> header = ProbeImage(view);
    if (!header) {
        deliver(Failure(header.error().message));
        return;
    }
    const SourceMetadata metadata = ReadSourceMetadata(view, std::time(nullptr));
    const int orientation = request.auto_rotate ? metadata.Orientation : 1;

    Image shown;
    // A HEIF's embedded thumbnail serves when it is large enough for the preview.
    const DecodeOptions options{request.min_size.width(), request.min_size.height(), true};
    if (Status status = DecodeUpright(view, options, orientation, request.rotation, shown); !status) {
        deliver(Failure(status.error().message));
        return;
    }
    const bool sideways = TurnsQuarter(orientation, request.rotation);
    const QSize upright_size = sideways ? QSize(header.value().height, header.value().width)
                                        : QSize(header.value().width, header.value().height);
    // Decoded at full size when the upright picture has the file's size, turned as it is.
    const bool full_size = shown.width() == upright_size.width() && shown.height() == upright_size.height();
    PreviewResult result;
    result.image = QImageOf(shown);
    result.full_size = upright_size;
    result.has_exif = metadata.ExifLength != 0;
    deliver(std::move(result));

    // The colour count needs every pixel; a reduced decode would give too few colours.
    auto counted = [this, generation](uint32_t colours) {
        DeliverIfLatest(this, generation_, generation, [this, colours] { emit ColoursCounted(colours); });
    };
    if (full_size) {
        counted(CountColors(shown));  // turning keeps the set of colours
        return;
    }
    colour_pool_.start([this, generation, bytes, counted] {
        if (generation != generation_) {
            return;
        }
        const ByteView all(reinterpret_cast<const uint8_t*>(bytes->data()), bytes->size());
        Result<Image> full = DecodeImage(all);
        if (full && generation == generation_) {
            counted(CountColors(full.value()));
        }
    });
}

}  // namespace pelimon
