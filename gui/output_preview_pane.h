// The preview frame's picture: the source preview, or, with "Show the output" ticked, the current
// file as a run will write it beside its source or split with it, at fit or 1:1, with the
// output's size in bytes and pixels (and the quality a target size chose) under it. Renders in
// the background a moment after the last change, so that a run of changes renders once.
#pragma once

#include <QTimer>
#include <QWidget>
#include <optional>

#include "filelist/file_list.h"
#include "settings/app_settings.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QStackedWidget;

namespace pelimon {

class COutputCompare;
class CPreview;
class OutputPreviewService;
struct OutputPreviewResult;

class OutputPreviewPane : public QWidget {
    Q_OBJECT
  public:
    // Takes `source_preview` into the pane, where it shows while the output is not shown. Renders
    // under `settings` as they are when a render starts; they must outlive the pane. Whether the
    // output shows, its layout and its zoom are ShowOutput, OutputLayout and OutputZoom, which the
    // controls write, so that the next start shows the pane as it was left.
    OutputPreviewPane(CPreview* source_preview, OutputPreviewService* service, AppSettings& settings,
                      QWidget* parent = nullptr);

    // The output of `row` is to be shown again (nullopt: no current file), a setting may have changed.
    void Refresh(const std::optional<FileRow>& row);
    void Clear();
    bool showing_output() const;
    // Shows the view the settings name (after Defaults or a parameter file).
    void ShowSettingsView();

  private:
    void RenderNow();
    void OnRendered(const OutputPreviewResult& result);
    void OnShowToggled(bool show);

    OutputPreviewService* service_;
    QCheckBox* show_ = nullptr;    // 1061
    QComboBox* layout_ = nullptr;  // 1062
    QComboBox* zoom_ = nullptr;    // 1063
    QStackedWidget* stack_ = nullptr;
    COutputCompare* compare_ = nullptr;  // 1064
    QLabel* info_ = nullptr;             // 1065
    QTimer pause_;
    AppSettings& settings_;
    std::optional<FileRow> row_;
};

}  // namespace pelimon
