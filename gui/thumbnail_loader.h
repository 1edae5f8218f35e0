// Makes the file list's thumbnails on a small pool of worker threads (at most two, so that a batch
// or the preview still finds a core), through the desktop's thumbnail cache. The list tells it
// which rows are on screen; each free worker takes the waiting file nearest to them, so the
// visible thumbnails come first and the others fill in from there outward. Results arrive on the
// window's thread; nothing a worker does waits for the window.
#pragma once

#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "filelist/thumbnail_cache.h"

namespace pelimon {

class ThumbnailLoader : public QObject {
    Q_OBJECT
  public:
    // One file to make a thumbnail of: its path, the key its result is given under, and the row
    // of the list it is shown in (for the order of work).
    struct Job {
        std::string path;
        QString key;
        int row = 0;
    };

    // `cache_root` as ThumbnailCacheRoot gives it; empty makes thumbnails without caching them.
    ThumbnailLoader(ThumbnailSize size, std::string cache_root, QObject* parent = nullptr);
    // Stops the workers; results not delivered yet are dropped.
    ~ThumbnailLoader() override;
    ThumbnailLoader(const ThumbnailLoader&) = delete;
    ThumbnailLoader& operator=(const ThumbnailLoader&) = delete;

    // The waiting files become `jobs` (the files already being made still arrive, unless Cancel
    // came first). For a new listing, after Cancel; for a sorted one, with the rows renumbered.
    void SetJobs(std::vector<Job> jobs);
    // Adds files to those waiting.
    void AddJobs(std::vector<Job> jobs);
    // Rows first to last (inclusive) are on screen.
    void SetVisibleRows(int first, int last);
    // Drops every waiting file and every result not delivered yet.
    void Cancel();
    // Files waiting or being made.
    int pending() const;

  signals:
    // The thumbnail of `key` (null when the file could not be shown), the picture's upright size
    // (invalid when unknown), whether the file stores it a quarter turn from upright, and the row
    // the job named.
    void Made(const QString& key, const QImage& image, const QSize& source_size, bool stored_sideways, int row);

  private:
    void Work();
    // The index in jobs_ of the waiting file nearest to the visible rows; call with the lock held.
    size_t NearestJob() const;

    const ThumbnailSize size_;
    const std::string cache_root_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::vector<Job> jobs_;
    int first_visible_ = 0;
    int last_visible_ = 0;
    int in_progress_ = 0;
    unsigned generation_ = 0;
    bool stopping_ = false;
    std::vector<std::thread> workers_;  // last: they use everything above
};

}  // namespace pelimon
