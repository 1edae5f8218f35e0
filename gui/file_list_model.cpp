#include "gui/file_list_model.h"

#include <algorithm>
#include <numeric>
#include <string>

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

}  // namespace

FileListModel::FileListModel(SourceList& sources, QObject* parent) : QAbstractTableModel(parent), sources_(sources) {}

void FileListModel::Rebuild(const std::function<void()>& change) {
    beginResetModel();
    change();
    endResetModel();
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
}

void FileListModel::SetRotation(const QList<int>& row_numbers, int degrees) {
    for (const int row : row_numbers) {
        if (row >= 0 && row < rowCount()) {
            rows()[static_cast<size_t>(row)].rotation = degrees;
            const QModelIndex cell = index(row, kRotationColumn);
            emit dataChanged(cell, cell, {Qt::DisplayRole});
        }
    }
}

void FileListModel::ResetRotations() {
    for (FileRow& row : rows()) {
        row.rotation = 0;
    }
    if (rowCount() > 0) {
        emit dataChanged(index(0, kRotationColumn), index(rowCount() - 1, kRotationColumn), {Qt::DisplayRole});
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
            if (index.column() == kRotationColumn) {
                return RotationDisplay(row.rotation);
            }
            return QString::fromStdString(ColumnText(row, index.column()));
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

void FileListModel::sort(int column, Qt::SortOrder order) {
    if (column < 0 || column >= kColumnCount) {
        return;
    }
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);

    std::vector<size_t> order_of_rows(rows().size());
    std::iota(order_of_rows.begin(), order_of_rows.end(), size_t{0});
    const auto less = [this, column](size_t a, size_t b) {
        const FileRow& left = rows()[a];
        const FileRow& right = rows()[b];
        if (column == kSizeColumn) {
            return LeadingInt(left.size_text) < LeadingInt(right.size_text);
        }
        // std::string compares bytes as unsigned char.
        return ColumnText(left, column) < ColumnText(right, column);
    };
    if (order == Qt::AscendingOrder) {
        std::stable_sort(order_of_rows.begin(), order_of_rows.end(), less);
    } else {
        std::stable_sort(order_of_rows.begin(), order_of_rows.end(),
                         [&less](size_t a, size_t b) { return less(b, a); });
    }

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
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

}  // namespace pelimon
