// The table model behind CListCtrlStyled: cell texts, column headings and alignments, and the
// style records, kept row for row in step. Only the list control changes it.
#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>
#include <vector>

#include "controls/styled_list_style.h"

class StyledListModel final : public QAbstractTableModel {
  public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Index of the new column or row (clamped into the list).
    int InsertColumn(int column, const QString& heading, Qt::Alignment alignment);
    int InsertRow(int row, const QString& text);
    bool SetText(int row, int column, const QString& text);
    bool RemoveRow(int row);
    void Clear();

    pelimon::StyledListStyles& Styles() { return styles_; }
    const pelimon::StyledListStyles& Styles() const { return styles_; }
    // Repaints one row after its style changed.
    void RowStyleChanged(int row);

  private:
    struct Column {
        QString heading;
        Qt::Alignment alignment;
    };
    std::vector<Column> columns_;
    std::vector<QStringList> texts_;  // per row, one text per column
    pelimon::StyledListStyles styles_;
};
