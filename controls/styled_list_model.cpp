#include "controls/styled_list_model.h"

#include <algorithm>

int StyledListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(texts_.size());
}

int StyledListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant StyledListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) {
        return {};
    }
    switch (role) {
        case Qt::DisplayRole:
        case Qt::ToolTipRole:
            return texts_[static_cast<size_t>(index.row())].value(index.column());
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(columns_[static_cast<size_t>(index.column())].alignment | Qt::AlignVCenter);
        default:
            return {};
    }
}

QVariant StyledListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return columns_[static_cast<size_t>(section)].heading;
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(columns_[static_cast<size_t>(section)].alignment | Qt::AlignVCenter);
    }
    return {};
}

int StyledListModel::InsertColumn(int column, const QString& heading, Qt::Alignment alignment) {
    column = std::clamp(column, 0, columnCount());
    beginInsertColumns({}, column, column);
    columns_.insert(columns_.begin() + column, Column{heading, alignment});
    for (QStringList& row : texts_) {
        row.insert(column, QString());
    }
    styles_.InsertColumn(column);
    endInsertColumns();
    return column;
}

int StyledListModel::InsertRow(int row, const QString& text) {
    row = std::clamp(row, 0, rowCount());
    beginInsertRows({}, row, row);
    QStringList texts;
    for (int column = 0; column < std::max(columnCount(), 1); ++column) {
        texts << QString();
    }
    texts[0] = text;
    texts_.insert(texts_.begin() + row, texts);
    styles_.InsertRow(row);
    endInsertRows();
    return row;
}

bool StyledListModel::SetText(int row, int column, const QString& text) {
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) {
        return false;
    }
    texts_[static_cast<size_t>(row)][column] = text;
    const QModelIndex changed = index(row, column);
    emit dataChanged(changed, changed, {Qt::DisplayRole});
    return true;
}

bool StyledListModel::RemoveRow(int row) {
    if (row < 0 || row >= rowCount()) {
        return false;
    }
    beginRemoveRows({}, row, row);
    texts_.erase(texts_.begin() + row);
    styles_.DeleteRow(row);
    endRemoveRows();
    return true;
}

void StyledListModel::Clear() {
    beginResetModel();
    texts_.clear();
    styles_.Clear();
    endResetModel();
}

void StyledListModel::RowStyleChanged(int row) {
    if (row >= 0 && row < rowCount() && columnCount() > 0) {
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    }
}
