// Loads preview images off the GUI thread. Each request supersedes the ones before it: results of
// older requests are dropped, and older requests that have not started yet never start.
// A request is answered in two steps: Loaded (a reduced decode, at once even for a 50-megapixel
// JPEG) and, for a good image, ColoursCounted (needs the full image, so it may come much later).
#pragma once

#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>
#include <QThreadPool>
#include <atomic>
#include <cstdint>

namespace pelimon {

struct PreviewRequest {
    QString path;
    int rotation = 0;          // clockwise degrees applied after the Exif orientation
    bool auto_rotate = false;  // apply the Exif Orientation (JPEG, PNG, WebP), as the batch does
    QSize min_size;            // the decoded image is at least this large (when the file is)
};

struct PreviewResult {
    QImage image;     // rotated, possibly reduced; null on failure
    QSize full_size;  // the image's size in pixels after rotation
    bool has_exif = false;
    QString error;  // why nothing could be shown; empty on success
};

class PreviewLoader : public QObject {
    Q_OBJECT
  public:
    explicit PreviewLoader(QObject* parent = nullptr);
    ~PreviewLoader() override;

    void Request(const PreviewRequest& request);
    // Drops every pending request and result.
    void Cancel();

  signals:
    void Loaded(const pelimon::PreviewResult& result);
    void ColoursCounted(quint32 colours);

  private:
    void Load(uint64_t generation, const PreviewRequest& request);

    std::atomic<uint64_t> generation_{0};
    // Declared last: destroyed (and waited for) before the members the tasks touch.
    QThreadPool colour_pool_;
    QThreadPool load_pool_;
};

}  // namespace pelimon
