// The file list's thumbnails: fills them in the background as the list's rows change, in the
// order of what is on screen, and switches the list between its table of rows (each with a small
// thumbnail) and a grid of large thumbnails. Both views show the same model and share one
// selection, so the current file, the check marks and the preview follow from either.
#pragma once

#include <QObject>

#include "settings/app_settings.h"

class QAbstractItemView;
class QListView;
class QStackedWidget;
class QTableView;
class QToolButton;

namespace pelimon {

class FileListModel;
class ThumbnailLoader;

class FileListThumbnails : public QObject {
    Q_OBJECT
  public:
    // Builds the grid beside `table` (which shows `model`) and the toggle; `parent` owns them.
    // The view shown is settings.ThumbnailGrid's, and the toggle writes it; `settings` must
    // outlive this.
    FileListThumbnails(FileListModel& model, QTableView* table, AppSettings& settings, QWidget* parent);
    ~FileListThumbnails() override;

    // The table and the grid, one shown at a time: what goes into the window's layout.
    QStackedWidget* views() const { return views_; }
    // The checkable button that shows the grid (id1060).
    QToolButton* toggle() const { return toggle_; }
    QListView* grid() const { return grid_; }
    ThumbnailLoader& loader() const { return *loader_; }
    // Shows the view settings.ThumbnailGrid names (after Defaults or a parameter file).
    void ShowSettingsView();
    // Drops every thumbnail still to be made (the window is closing).
    void Stop();

  private:
    void ShowGrid(bool grid);
    void QueueAllRows();
    void QueueRows(int first, int last);
    void TellVisibleRows();
    void WatchScrolling(QAbstractItemView* view);

    FileListModel& model_;
    AppSettings& settings_;
    QTableView* table_;
    QListView* grid_;
    QStackedWidget* views_;
    QToolButton* toggle_;
    ThumbnailLoader* loader_;
};

}  // namespace pelimon
