#include "controls/preview_loader.h"

#include <ctime>
#include <memory>
#include <span>

#include "common/atomic_file.h"
#include "exif/source_metadata.h"
#include "imagelib/imagelib.h"

namespace pelimon {

namespace {

// Preview files are read whole; anything larger is not a photo the pane can show.
constexpr size_t kMaxPreviewFileBytes = size_t{512} << 20;

PreviewResult Failure(const std::string& message) {
    PreviewResult result;
    result.error = QString::fromStdString(message);
    return result;
}

bool TurnsSideways(int degrees) {
    return ((degrees / 90) % 2) != 0;
}

QImage ToQImage(const Image& image) {
    return QImage(image.data(), image.width(), image.height(), static_cast<qsizetype>(image.stride()),
                  QImage::Format_RGB888)
        .copy();
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
        QMetaObject::invokeMethod(
            this,
            [this, generation, result = std::move(result)] {
                if (generation == generation_) {
                    emit Loaded(result);
                }
            },
            Qt::QueuedConnection);
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

    Image decoded;
    Status status = DecodeImage(view, DecodeOptions{request.min_size.width(), request.min_size.height()}, decoded);
    if (!status) {
        deliver(Failure(status.error().message));
        return;
    }
    const bool full_size = decoded.width() == header.value().width && decoded.height() == header.value().height;
    ApplyExifOrientation(decoded, orientation);
    const Image shown = Rotate(decoded, request.rotation);

    // Orientations 5 to 8 turn the picture by a quarter, as do 90 and 270 degrees.
    const bool sideways = (orientation >= 5 && orientation <= 8) != TurnsSideways(request.rotation);
    PreviewResult result;
    result.image = ToQImage(shown);
    result.full_size = sideways ? QSize(header.value().height, header.value().width)
                                : QSize(header.value().width, header.value().height);
    result.has_exif = metadata.ExifLength != 0;
    deliver(std::move(result));

    // The colour count needs every pixel; a reduced decode would give too few colours.
    auto counted = [this, generation](uint32_t colours) {
        QMetaObject::invokeMethod(
            this,
            [this, generation, colours] {
                if (generation == generation_) {
                    emit ColoursCounted(colours);
                }
            },
            Qt::QueuedConnection);
    };
    if (full_size) {
        counted(CountColors(decoded));
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
