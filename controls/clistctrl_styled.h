// CListCtrlStyled: a report-style list whose rows, columns and single cells can carry their own
// text colour, background colour and font style (iLS_item records, see styled_list_style.h).
// It paints selected rows itself, so that styles and the selection colours combine by the rules
// of StyledListStyles::Resolve. Rows are added and removed only through this class.
#pragma once

#include <QString>
#include <QTableView>

#include "controls/styled_list_style.h"

class StyledListModel;

class CListCtrlStyled : public QTableView {
    Q_OBJECT

  public:
    explicit CListCtrlStyled(QWidget* parent = nullptr);
    ~CListCtrlStyled() override;

    // Inserts a column with its heading, width in pixels and text alignment; returns its index.
    int InsertColumn(int column, const QString& heading, int width, Qt::Alignment alignment = Qt::AlignLeft);
    // Inserts a row with the text of column 0 and empty style records; returns its index.
    int InsertItem(int row, const QString& text);
    bool SetItemText(int row, int column, const QString& text);
    int GetItemCount() const;

    // The row style's flags (StyleFlag bits); with `redraw` the row is repainted at once.
    void SetItemStyle(int row, uint32_t flags, bool redraw = true);
    // The row style's background colour; it shows only with kStyleBackgroundColor set.
    void SetItemBgColor(int row, pelimon::ColorRef color, bool redraw = true);

    bool DeleteItem(int row);
    // Removes every row with its style records.
    void DeleteAllItems();

    // Every style record (cell, row, column and selected styles) for finer styling.
    pelimon::StyledListStyles& Styles();
    // What an unstyled cell is painted with: the palette's colours and the list's font.
    pelimon::StyleContext Context() const;

  private:
    StyledListModel* model_;
};
