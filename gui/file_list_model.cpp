#include "gui/file_list_model.h"

#include <algorithm>
#include <numeric>
#include <string>

#include <QPixmap>
#include <QTransform>

#include "batch/output_pixel_size.h"
#include "common/text.h"
#include "controls/widget_text.h"
#include "gui/cpelimon_dlg_texts.h"

namespace pelimon {

using widget_text::Tr;

namespace {

std::string RotationText(int degrees) {
    return std::to_string(degrees);
}

std::string ColumnText(const FileRow& row, int column) {
    switch (column) {
        case FileListModel::kNameColumn:
            return row.name;
        case FileListModel::kSizeColumn:
            return row.size_text;
        default:
            return RotationText(row.rotation);
    }
}

// The rotation as the row shows it: "90°"; nothing for an unturned file, so that turned files
// stand out.
QString RotationDisplay(int degrees) {
    return degrees == 0 ? QString() : QString::number(degrees) + QStringLiteral("°");
}

// "4000 × 3000".
QString PixelSizeDisplay(int width, int height) {
    return QString::number(width) + QStringLiteral(" × ") + QString::number(height);
}

bool QuarterTurn(int degrees) {
    return ((degrees % 180) + 180) % 180 == 90;
}

}  // namespace

FileListModel::FileListModel(SourceList& sources, const AppSettings& settings, QObject* parent)
    : QAbstractTableModel(parent), sources_(sources), settings_(settings) {}

QString FileListModel::PathOf(int row) const {
    const FileRow& file = rows()[static_cast<size_t>(row)];
    return QString::fromStdString((file.folder.empty() ? settings_.ImagePath : file.folder) + file.name);
}

const FileListModel::Thumbnail* FileListModel::ThumbnailOf(int row) const {
    const auto found = thumbnails_.constFind(PathOf(row));
    return found == thumbnails_.constEnd() ? nullptr : &found.value();
}

bool FileListModel::HasThumbnail(int row) const {
    return row >= 0 && row < rowCount() && ThumbnailOf(row) != nullptr;
}

void FileListModel::SetThumbnail(const QString& path, const QImage& image, const QSize& source_size,
                                 bool stored_sideways, int row_hint) {
    Thumbnail& thumbnail = thumbnails_[path];
    thumbnail.pixmap = image.isNull() ? QPixmap() : QPixmap::fromImage(image);
    thumbnail.icon = thumbnail.pixmap.isNull() ? QIcon() : QIcon(thumbnail.pixmap);
    thumbnail.source_size = source_size;
    thumbnail.stored_sideways = stored_sideways;
    int row = row_hint;
    if (row < 0 || row >= rowCount() || PathOf(row) != path) {
        // The row moved since (a sort); rare, so a search is cheap enough.
        row = -1;
        for (int i = 0; i < rowCount() && row < 0; ++i) {
            row = PathOf(i) == path ? i : -1;
        }
    }
    if (row >= 0) {
        emit dataChanged(index(row, kNameColumn), index(row, kOutputSizeColumn), {Qt::DecorationRole, Qt::DisplayRole});
    }
}

void FileListModel::KeepThumbnailsOf(int first, int last) {
    QHash<QString, Thumbnail> kept;
    for (int row = std::max(0, first); row <= std::min(last, rowCount() - 1); ++row) {
        const QString path = PathOf(row);
        if (const auto found = thumbnails_.constFind(path); found != thumbnails_.constEnd()) {
            kept.insert(path, found.value());
        }
    }
    thumbnails_ = std::move(kept);
}

void FileListModel::SizeSettingsChanged() {
    if (rowCount() > 0) {
        emit dataChanged(index(0, kOutputSizeColumn), index(rowCount() - 1, kOutputSizeColumn), {Qt::DisplayRole});
    }
}

int64_t FileListModel::PixelCount(int row, bool output) const {
    const Thumbnail* thumbnail = ThumbnailOf(row);
    if (thumbnail == nullptr || !thumbnail->source_size.isValid()) {
        return -1;
    }
    if (output) {
        const std::optional<TargetSize> target = OutputSizeOf(row);
        return target ? int64_t{target->width} * target->height : -1;
    }
    return int64_t{thumbnail->source_size.width()} * thumbnail->source_size.height();
}

QString FileListModel::PixelSizeText(int row) const {
    const Thumbnail* thumbnail = ThumbnailOf(row);
    if (thumbnail == nullptr || !thumbnail->source_size.isValid()) {
        return {};
    }
    return PixelSizeDisplay(thumbnail->source_size.width(), thumbnail->source_size.height());
}

// What a run would write: the picture as the run turns it (upright with AutoRotate, else as the
// file stores it), turned further as the row says, sized by the settings.
std::optional<TargetSize> FileListModel::OutputSizeOf(int row) const {
    const Thumbnail* thumbnail = ThumbnailOf(row);
    if (thumbnail == nullptr || !thumbnail->source_size.isValid()) {
        return std::nullopt;
    }
    QSize size = thumbnail->source_size;
    const bool stored_frame_sideways = thumbnail->stored_sideways && settings_.AutoRotate != kOn;
    if (stored_frame_sideways != QuarterTurn(rows()[static_cast<size_t>(row)].rotation)) {
        size.transpose();
    }
    return OutputPixelSize(settings_, size.width(), size.height());
}

QString FileListModel::OutputSizeText(int row) const {
    const Thumbnail* thumbnail = ThumbnailOf(row);
    if (thumbnail == nullptr || !thumbnail->source_size.isValid()) {
        return {};
    }
    const std::optional<TargetSize> target = OutputSizeOf(row);
    return target ? PixelSizeDisplay(target->width, target->height) : QStringLiteral("—");
}

void FileListModel::Rebuild(const std::function<void()>& change) {
    beginResetModel();
    change();
    // Thumbnails of files still listed stay (a type box or Recurse changed); the others go.
    QHash<QString, Thumbnail> kept;
    for (int row = 0; row < rowCount(); ++row) {
        const QString path = PathOf(row);
        if (const auto found = thumbnails_.constFind(path); found != thumbnails_.constEnd()) {
            kept.insert(path, found.value());
        }
    }
    thumbnails_ = std::move(kept);
    endResetModel();
    if (sort_column_ >= 0) {
        sort(sort_column_, sort_order_);
    }
}

void FileListModel::AppendListedPart(const FolderTree& part, const AppSettings& settings) {
    const int before = rowCount();
    const int added = sources_.CountListable(part, settings);
    if (added == 0) {
        sources_.AppendListedPart(part, settings);  // its unreadable folders
        return;
    }
    beginInsertRows(QModelIndex(), before, before + added - 1);
    sources_.AppendListedPart(part, settings);
    endInsertRows();
    if (sort_column_ >= 0) {
        // The rows above are in order already: sorting the new ones and merging keeps a long
        // listing from sorting the whole list again at every part.
        std::vector<size_t> order_of_rows(rows().size());
        std::iota(order_of_rows.begin(), order_of_rows.end(), size_t{0});
        const auto middle = order_of_rows.begin() + before;
        const auto less = [this](size_t a, size_t b) {
            return sort_order_ == Qt::AscendingOrder ? Less(sort_column_, a, b) : Less(sort_column_, b, a);
        };
        std::stable_sort(middle, order_of_rows.end(), less);
        std::inplace_merge(order_of_rows.begin(), middle, order_of_rows.end(), less);
        emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
        Reorder(order_of_rows);
        emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    }
}

void FileListModel::SetRotation(const QList<int>& row_numbers, int degrees) {
    for (const int row : row_numbers) {
        if (row >= 0 && row < rowCount()) {
            rows()[static_cast<size_t>(row)].rotation = degrees;
            emit dataChanged(index(row, kNameColumn), index(row, kOutputSizeColumn),
                             {Qt::DisplayRole, Qt::DecorationRole});
        }
    }
}

void FileListModel::ResetRotations() {
    for (FileRow& row : rows()) {
        row.rotation = 0;
    }
    if (rowCount() > 0) {
        emit dataChanged(index(0, kNameColumn), index(rowCount() - 1, kOutputSizeColumn),
                         {Qt::DisplayRole, Qt::DecorationRole});
    }
}

void FileListModel::ToggleSelectAll(AppSettings& settings) {
    sources_.ToggleSelectAll(settings);
    if (rowCount() > 0) {
        emit dataChanged(index(0, kNameColumn), index(rowCount() - 1, kNameColumn), {Qt::CheckStateRole});
    }
    emit CheckMarksChanged();
}

void FileListModel::SetChecked(int row, bool checked) {
    if (row < 0 || row >= rowCount() || rows()[static_cast<size_t>(row)].checked == checked) {
        return;
    }
    rows()[static_cast<size_t>(row)].checked = checked;
    sources_.RecountSelected();
    const QModelIndex cell = index(row, kNameColumn);
    emit dataChanged(cell, cell, {Qt::CheckStateRole});
    emit CheckMarksChanged();
}

int FileListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows().size());
}

int FileListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant FileListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const FileRow& row = rows()[static_cast<size_t>(index.row())];
    switch (role) {
        case Qt::DisplayRole:
        case Qt::ToolTipRole:
            switch (index.column()) {
                case kRotationColumn:
                    return RotationDisplay(row.rotation);
                case kPixelSizeColumn:
                    return PixelSizeText(index.row());
                case kOutputSizeColumn:
                    return OutputSizeText(index.row());
                default:
                    return QString::fromStdString(ColumnText(row, index.column()));
            }
        case Qt::DecorationRole:
            if (index.column() == kNameColumn) {
                const Thumbnail* thumbnail = ThumbnailOf(index.row());
                if (thumbnail == nullptr) {
                    return {};
                }
                // Turned as the row will be written; only rows on screen are asked, so turning
                // each time costs little.
                if (row.rotation % 360 != 0 && !thumbnail->pixmap.isNull()) {
                    return QIcon(thumbnail->pixmap.transformed(QTransform().rotate(row.rotation)));
                }
                return thumbnail->icon;
            }
            return {};
        case Qt::CheckStateRole:
            if (index.column() == kNameColumn) {
                return row.checked ? Qt::Checked : Qt::Unchecked;
            }
            return {};
        case Qt::TextAlignmentRole:
            if (index.column() == kNameColumn) {
                return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
            }
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        default:
            return {};
    }
}

bool FileListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || index.column() != kNameColumn || role != Qt::CheckStateRole) {
        return false;
    }
    SetChecked(index.row(), value.value<Qt::CheckState>() == Qt::Checked);
    return true;
}

QVariant FileListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        switch (section) {
            case kNameColumn:
                return Tr(main_texts::kColumnName);
            case kSizeColumn:
                return Tr(main_texts::kColumnSize);
            case kPixelSizeColumn:
                return Tr(main_texts::kColumnPixelSize);
            case kOutputSizeColumn:
                return Tr(main_texts::kColumnOutputSize);
            default:
                return QString();
        }
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(section == kNameColumn ? Qt::AlignLeft | Qt::AlignVCenter
                                                          : Qt::AlignRight | Qt::AlignVCenter);
    }
    return {};
}

Qt::ItemFlags FileListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == kNameColumn) {
        result |= Qt::ItemIsUserCheckable;
    }
    return result;
}

bool FileListModel::Less(int column, size_t a, size_t b) const {
    const FileRow& left = rows()[a];
    const FileRow& right = rows()[b];
    switch (column) {
        case kSizeColumn:
            return LeadingInt(left.size_text) < LeadingInt(right.size_text);
        case kPixelSizeColumn:
        case kOutputSizeColumn: {
            const bool output = column == kOutputSizeColumn;
            return PixelCount(static_cast<int>(a), output) < PixelCount(static_cast<int>(b), output);
        }
        default:
            // std::string compares bytes as unsigned char.
            return ColumnText(left, column) < ColumnText(right, column);
    }
}

void FileListModel::sort(int column, Qt::SortOrder order) {
    if (column < 0 || column >= kColumnCount) {
        return;
    }
    sort_column_ = column;
    sort_order_ = order;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<size_t> order_of_rows(rows().size());
    std::iota(order_of_rows.begin(), order_of_rows.end(), size_t{0});
    if (order == Qt::AscendingOrder) {
        std::stable_sort(order_of_rows.begin(), order_of_rows.end(),
                         [this, column](size_t a, size_t b) { return Less(column, a, b); });
    } else {
        std::stable_sort(order_of_rows.begin(), order_of_rows.end(),
                         [this, column](size_t a, size_t b) { return Less(column, b, a); });
    }
    Reorder(order_of_rows);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void FileListModel::Reorder(const std::vector<size_t>& order_of_rows) {
    std::vector<FileRow> sorted;
    sorted.reserve(order_of_rows.size());
    std::vector<int> new_row_of(order_of_rows.size());
    for (size_t i = 0; i < order_of_rows.size(); ++i) {
        sorted.push_back(std::move(rows()[order_of_rows[i]]));
        new_row_of[order_of_rows[i]] = static_cast<int>(i);
    }
    rows() = std::move(sorted);

    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& old_index : before) {
        after.append(index(new_row_of[static_cast<size_t>(old_index.row())], old_index.column()));
    }
    changePersistentIndexList(before, after);
}

}  // namespace pelimon
