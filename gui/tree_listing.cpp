#include "gui/tree_listing.h"

#include <QMetaObject>
#include <QPointer>
#include <iterator>
#include <utility>

namespace pelimon {
namespace {

// Entries handed over at once: few enough that the window shows the first rows at once, many
// enough that a tree of small folders does not flood the event queue.
constexpr size_t kEntriesPerPart = 500;

}  // namespace

TreeListing::TreeListing(QObject* parent) : QObject(parent) {}

TreeListing::~TreeListing() {
    Stop();
}

void TreeListing::Stop() {
    ++generation_;
    if (stop_) {
        stop_->store(true);
    }
    if (worker_.joinable()) {
        worker_.join();
    }
    stop_.reset();
    running_ = false;
}

void TreeListing::Start(const std::string& folder, const std::string& skipped) {
    Stop();
    running_ = true;
    stop_ = std::make_shared<std::atomic<bool>>(false);
    const unsigned generation = generation_;
    QPointer<TreeListing> self(this);
    // Runs on the window's thread: drops what an earlier or stopped listing left queued.
    const auto deliver = [self, generation](FolderTree part, bool last) {
        if (self == nullptr || generation != self->generation_) {
            return;
        }
        if (!part.entries.empty() || !part.unreadable.empty()) {
            emit self->PartListed(part);
        }
        if (last) {
            self->running_ = false;
            emit self->Finished();
        }
    };
    worker_ = std::thread([this, folder, skipped, stop = stop_, deliver] {
        FolderTree pending;
        bool root = true;
        const auto hand_over = [&](bool last) {
            QMetaObject::invokeMethod(
                this, [deliver, part = std::move(pending), last]() mutable { deliver(std::move(part), last); },
                Qt::QueuedConnection);
            pending = FolderTree();
        };
        WalkFolderTree(folder, skipped, [&](FolderTree& part) {
            if (std::exchange(root, false)) {
                return !stop->load();
            }
            std::move(part.entries.begin(), part.entries.end(), std::back_inserter(pending.entries));
            std::move(part.unreadable.begin(), part.unreadable.end(), std::back_inserter(pending.unreadable));
            if (pending.entries.size() >= kEntriesPerPart) {
                hand_over(false);
            }
            return !stop->load();
        });
        if (!stop->load()) {
            hand_over(true);
        }
    });
}

}  // namespace pelimon
