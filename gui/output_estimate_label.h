// Next to the run button: how large the checked files' outputs will be together, estimated in the
// background from a few of them rendered with the current settings (spread over the checked
// rows), and refreshed a moment after the selection or a setting changes.
#pragma once

#include <QLabel>
#include <QTimer>
#include <vector>

#include "filelist/file_list.h"
#include "settings/app_settings.h"

namespace pelimon {

class OutputPreviewService;
struct OutputEstimateResult;

class OutputEstimateLabel : public QLabel {
    Q_OBJECT
  public:
    // Files rendered for an estimate.
    static constexpr size_t kSampleFiles = 8;

    // Estimates under `settings` as they are when an estimate starts; they must outlive the label.
    OutputEstimateLabel(OutputPreviewService* service, const AppSettings& settings, QWidget* parent = nullptr);

    // The checked rows of `list` are to be estimated again: they or a setting may have changed.
    // `list` must outlive the label.
    void Refresh(const FileList& list);

    // "12.3 MB", "840 KB": a size in the window's language.
    static QString SizeText(qint64 bytes);

  private:
    static QString ByteUnitsText(qint64 bytes);
    void EstimateNow();
    void OnReady(const OutputEstimateResult& result);

    OutputPreviewService* service_;
    QTimer pause_;
    const AppSettings& settings_;
    const FileList* list_ = nullptr;
};

}  // namespace pelimon
