// Renders the output of one file and estimates the size of a run's outputs off the GUI thread,
// with the batch's own renderer. Each request supersedes the ones before it: a generation counter
// drops the results of older requests, and older requests that have not started never start.
#pragma once

#include <QImage>
#include <QObject>
#include <QString>
#include <QThreadPool>
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "batch/output_preview.h"
#include "filelist/file_list.h"
#include "settings/app_settings.h"

namespace pelimon {

struct OutputPreviewResult {
    QImage source;  // the source at the output's size, before colours and effects
    QImage output;  // the output file, decoded
    qint64 bytes = 0;
    int width = 0;
    int height = 0;
    int quality = 0;       // 0: the format takes none
    bool skipped = false;  // a run writes no file for it
    QString error;         // why there is nothing to show; empty on success
};

struct OutputEstimateResult {
    bool known = false;  // false: nothing checked could be rendered
    OutputSizeEstimate estimate;
};

class OutputPreviewService : public QObject {
    Q_OBJECT
  public:
    explicit OutputPreviewService(QObject* parent = nullptr);
    ~OutputPreviewService() override;

    void RequestPreview(const AppSettings& settings, const FileRow& row);
    // Renders `sample` (rows standing for `checked_files` checked files).
    void RequestEstimate(const AppSettings& settings, std::vector<FileRow> sample, int checked_files);
    // Drops pending requests and results; forgets the kept source.
    void CancelPreview();
    void CancelEstimate();

  signals:
    void PreviewRendered(const pelimon::OutputPreviewResult& result);
    void EstimateReady(const pelimon::OutputEstimateResult& result);

  private:
    OutputPreviewResult Render(const AppSettings& settings, const FileRow& row, uint64_t generation);

    std::atomic<uint64_t> preview_generation_{0};
    std::atomic<uint64_t> estimate_generation_{0};
    // Used on the preview pool's one thread only.
    std::unique_ptr<OutputPreviewRenderer> renderer_;
    // Declared last: destroyed (and waited for) before the members the tasks touch.
    QThreadPool estimate_pool_;
    QThreadPool preview_pool_;
};

}  // namespace pelimon
