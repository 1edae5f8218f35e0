#include "gui/thumbnail_loader.h"

#include <sys/resource.h>

#include <QMetaObject>
#include <QPainter>
#include <algorithm>
#include <iterator>
#include <limits>

#include "filelist/thumbnail_maker.h"

namespace pelimon {

namespace {

constexpr unsigned kMaxWorkers = 2;
constexpr int kWorkerNiceness = 5;

// The thumbnail centred on a transparent square, so that the views line up their names and
// check boxes whatever each picture's shape.
QImage SquareImage(const Image& image) {
    if (image.empty()) {
        return {};
    }
    const QImage pixels(image.data(), image.width(), image.height(), static_cast<qsizetype>(image.stride()),
                        QImage::Format_RGB888);
    const int side = std::max(image.width(), image.height());
    QImage square(side, side, QImage::Format_ARGB32_Premultiplied);
    square.fill(Qt::transparent);
    QPainter painter(&square);
    painter.drawImage((side - image.width()) / 2, (side - image.height()) / 2, pixels);
    return square;
}

}  // namespace

ThumbnailLoader::ThumbnailLoader(ThumbnailSize size, std::string cache_root, QObject* parent)
    : QObject(parent), size_(size), cache_root_(std::move(cache_root)) {
    const unsigned count = std::clamp(std::thread::hardware_concurrency(), 1u, kMaxWorkers);
    for (unsigned i = 0; i < count; ++i) {
        workers_.emplace_back([this] { Work(); });
    }
}

ThumbnailLoader::~ThumbnailLoader() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
        ++generation_;
        jobs_.clear();
    }
    wake_.notify_all();
    for (std::thread& worker : workers_) {
        worker.join();
    }
}

void ThumbnailLoader::SetJobs(std::vector<Job> jobs) {
    {
        const std::lock_guard lock(mutex_);
        jobs_ = std::move(jobs);
    }
    wake_.notify_all();
}

void ThumbnailLoader::AddJobs(std::vector<Job> jobs) {
    {
        const std::lock_guard lock(mutex_);
        std::move(jobs.begin(), jobs.end(), std::back_inserter(jobs_));
    }
    wake_.notify_all();
}

void ThumbnailLoader::SetVisibleRows(int first, int last) {
    const std::lock_guard lock(mutex_);
    first_visible_ = std::min(first, last);
    last_visible_ = std::max(first, last);
}

void ThumbnailLoader::Cancel() {
    const std::lock_guard lock(mutex_);
    ++generation_;
    jobs_.clear();
}

int ThumbnailLoader::pending() const {
    const std::lock_guard lock(mutex_);
    return static_cast<int>(jobs_.size()) + in_progress_;
}

size_t ThumbnailLoader::NearestJob() const {
    size_t nearest = 0;
    int best = std::numeric_limits<int>::max();
    for (size_t i = 0; i < jobs_.size(); ++i) {
        const int row = jobs_[i].row;
        const int distance = row < first_visible_ ? first_visible_ - row : std::max(0, row - last_visible_);
        // Below the screen a little before above it: people scroll down more than up.
        const int weighted = row < first_visible_ ? 2 * distance : distance;
        if (weighted < best) {
            best = weighted;
            nearest = i;
            if (best == 0) {
                break;
            }
        }
    }
    return nearest;
}

void ThumbnailLoader::Work() {
    // Below the window's thread, so that input and painting come first on a busy machine (on
    // Linux a thread's niceness is its own).
    setpriority(PRIO_PROCESS, 0, getpriority(PRIO_PROCESS, 0) + kWorkerNiceness);
    for (;;) {
        Job job;
        unsigned generation = 0;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
            if (stopping_) {
                return;
            }
            const size_t index = NearestJob();
            job = std::move(jobs_[index]);
            if (index + 1 != jobs_.size()) {
                jobs_[index] = std::move(jobs_.back());
            }
            jobs_.pop_back();
            generation = generation_;
            ++in_progress_;
        }
        const Result<CachedThumbnail> made = LoadThumbnail(job.path, size_, cache_root_);
        QImage image = made ? SquareImage(made.value().image) : QImage();
        const QSize source_size = made && made.value().source_width > 0
                                      ? QSize(made.value().source_width, made.value().source_height)
                                      : QSize();
        const bool stored_sideways = made && made.value().stored_sideways;
        const std::lock_guard lock(mutex_);
        --in_progress_;
        if (generation == generation_ && !stopping_) {
            QMetaObject::invokeMethod(
                this,
                [this, generation, key = job.key, image = std::move(image), source_size, stored_sideways,
                 row = job.row] {
                    if (generation == generation_) {
                        emit Made(key, image, source_size, stored_sideways, row);
                    }
                },
                Qt::QueuedConnection);
        }
    }
}

}  // namespace pelimon
