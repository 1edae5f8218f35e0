// The file list view's model: a table over the rows of the window's SourceList.
// Column 0 is the name with the row's check mark and thumbnail, 1 the size text (right-aligned), 2 the
// rotation ("90°"; empty for 0, sorted by its number text), 3 the picture's pixel size once its thumbnail
// is made, 4 the pixel size a run would write under the current size settings. Sorting reorders the rows
// themselves, because a batch reads them in list order; rows that arrive later are sorted in.
#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <functional>
#include <optional>

#include "batch/target_size.h"
#include "filelist/source_list.h"

namespace pelimon {

class FileListModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum Column {
        kNameColumn = 0,
        kSizeColumn = 1,
        kRotationColumn = 2,
        kPixelSizeColumn = 3,
        kOutputSizeColumn = 4,
        kColumnCount = 5
    };

    // `sources` and `settings` must outlive the model.
    FileListModel(SourceList& sources, const AppSettings& settings, QObject* parent = nullptr);

    // Runs `change` (which may rebuild the rows) and tells the views that everything changed; a
    // sorted list is sorted again.
    void Rebuild(const std::function<void()>& change);

    // Appends the rows of a part of the tree listed in the background (SourceList::AppendListedPart).
    // Once the list was sorted, the new rows are merged in at their places in that order.
    void AppendListedPart(const FolderTree& part, const AppSettings& settings);

    // The file of `row`, as a batch would read it.
    QString PathOf(int row) const;
    bool HasThumbnail(int row) const;
    // The thumbnail of the file at `path` (null: none can be made), its picture's upright size
    // (invalid when unknown) and whether the file stores it a quarter turn from upright;
    // `row_hint` is where it was last seen.
    void SetThumbnail(const QString& path, const QImage& image, const QSize& source_size, bool stored_sideways,
                      int row_hint);
    // Drops the thumbnails of the rows before `first` and after `last` (a long list scrolled away).
    void KeepThumbnailsOf(int first, int last);
    // The size settings changed: the output size column is computed again.
    void SizeSettingsChanged();

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
    struct Thumbnail {
        QPixmap pixmap;     // null: none could be made
        QIcon icon;         // of the pixmap as it stands
        QSize source_size;  // upright; invalid when unknown
        bool stored_sideways = false;
    };
    const Thumbnail* ThumbnailOf(int row) const;
    QString PixelSizeText(int row) const;
    // The size a run would write; nullopt when unknown or when the settings give none.
    std::optional<TargetSize> OutputSizeOf(int row) const;
    QString OutputSizeText(int row) const;
    // Pixels of the picture (the output, for `output`); -1 when unknown, for sorting.
    int64_t PixelCount(int row, bool output) const;
    bool Less(int column, size_t a, size_t b) const;
    // Puts the rows in the order `order_of_rows` gives (old row numbers, new order), keeping the
    // views' persistent indexes on their rows.
    void Reorder(const std::vector<size_t>& order_of_rows);

    SourceList& sources_;
    const AppSettings& settings_;
    QHash<QString, Thumbnail> thumbnails_;  // by file path
    int sort_column_ = -1;                  // -1: never sorted, rows in listing order
    Qt::SortOrder sort_order_ = Qt::AscendingOrder;
};

}  // namespace pelimon
