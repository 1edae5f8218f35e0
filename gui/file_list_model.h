// The file list view's model: a table over the rows of the window's SourceList.
// Column 0 is the name with the row's check mark, 1 the size text (right-aligned), 2 the rotation
// ("90°"; empty for 0, sorted by its number text). Sorting reorders the rows themselves, because a batch reads
// them in list order.
#pragma once

#include <QAbstractTableModel>
#include <functional>

#include "filelist/source_list.h"

namespace pelimon {

class FileListModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum Column { kNameColumn = 0, kSizeColumn = 1, kRotationColumn = 2, kColumnCount = 3 };

    // `sources` must outlive the model.
    explicit FileListModel(SourceList& sources, QObject* parent = nullptr);

    // Runs `change` (which may rebuild the rows) and tells the views that everything changed.
    void Rebuild(const std::function<void()>& change);

    // Appends the rows of a part of the tree listed in the background (SourceList::AppendListedPart).
    void AppendListedPart(const FolderTree& part, const AppSettings& settings);

    // Writes `degrees` into the rotation of each of `rows`.
    void SetRotation(const QList<int>& rows, int degrees);
    // Every row back to 0 degrees.
    void ResetRotations();
    // The select-all toggle (Select inverted, every row checked or cleared) in place: the rows,
    // the highlighted rows and the current row stay as they are.
    void ToggleSelectAll(AppSettings& settings);
    // Row `row` checked or not; the selected count follows.
    void SetChecked(int row, bool checked);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The size column compares the leading integers of its texts ("9 KB" before "10 KB"); the
    // other columns compare their texts byte by byte. Equal rows keep their order.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

  signals:
    // A check mark changed; the counts are already up to date.
    void CheckMarksChanged();

  private:
    std::vector<FileRow>& rows() { return sources_.list().rows(); }
    const std::vector<FileRow>& rows() const { return sources_.list().rows(); }

    SourceList& sources_;
};

}  // namespace pelimon
