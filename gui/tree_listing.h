// Lists the subfolders of the source folder on a worker thread, so that a big tree never stops
// the window: the parts arrive on the window's thread as they are read.
#pragma once

#include <QObject>
#include <atomic>
#include <memory>
#include <string>
#include <thread>

#include "filelist/folder_listing.h"

namespace pelimon {

class TreeListing : public QObject {
    Q_OBJECT
  public:
    explicit TreeListing(QObject* parent = nullptr);
    // Stops a listing still running.
    ~TreeListing() override;
    TreeListing(const TreeListing&) = delete;
    TreeListing& operator=(const TreeListing&) = delete;

    // Lists the subfolders of `folder` (not its own files, which the window lists at once) as
    // WalkFolderTree does, leaving out `skipped`. A listing still running is stopped first; none
    // of its parts arrives after Start returns.
    void Start(const std::string& folder, const std::string& skipped);
    // Stops the listing; no part of it arrives afterwards.
    void Stop();
    bool running() const { return running_; }

  signals:
    // Some folders' entries, in listing order.
    void PartListed(const pelimon::FolderTree& part);
    void Finished();

  private:
    std::thread worker_;
    std::shared_ptr<std::atomic<bool>> stop_;
    bool running_ = false;
    unsigned generation_ = 0;  // parts of an earlier listing still queued are dropped
};

}  // namespace pelimon
