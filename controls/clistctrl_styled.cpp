#include "controls/clistctrl_styled.h"

#include <QHeaderView>
#include <QStyledItemDelegate>

#include "controls/styled_list_model.h"

namespace {

pelimon::ColorRef ToColorRef(const QColor& color) {
    return pelimon::Rgb(static_cast<uint8_t>(color.red()), static_cast<uint8_t>(color.green()),
                        static_cast<uint8_t>(color.blue()));
}

QColor ToQColor(pelimon::ColorRef color) {
    return QColor(pelimon::RedOf(color), pelimon::GreenOf(color), pelimon::BlueOf(color));
}

// Paints each cell with the colours and font its style records resolve to. The selection is
// painted here too (from the highlight colours the resolution starts with), so the style's
// own drawing of selected items is switched off.
class StyledListDelegate final : public QStyledItemDelegate {
  public:
    explicit StyledListDelegate(CListCtrlStyled* list) : QStyledItemDelegate(list), list_(list) {}

  protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        const bool selected = option->state.testFlag(QStyle::State_Selected);
        pelimon::StyleContext context = list_->Context();
        context.base_font = {option->font.bold(), option->font.italic(), option->font.underline(),
                             option->font.strikeOut()};
        const pelimon::ResolvedStyle style = list_->Styles().Resolve(index.row(), index.column(), selected, context);
        option->state &= ~QStyle::State_Selected;
        option->backgroundBrush = QBrush(ToQColor(style.background_color));
        option->palette.setColor(QPalette::Text, ToQColor(style.text_color));
        if (style.font) {
            option->font.setBold(style.font->bold);
            option->font.setItalic(style.font->italic);
            option->font.setUnderline(style.font->underline);
            option->font.setStrikeOut(style.font->strike_out);
            option->fontMetrics = QFontMetrics(option->font);
        }
    }

  private:
    CListCtrlStyled* list_;
};

}  // namespace

CListCtrlStyled::CListCtrlStyled(QWidget* parent) : QTableView(parent), model_(new StyledListModel(this)) {
    setModel(model_);
    setItemDelegate(new StyledListDelegate(this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(false);
    setWordWrap(false);
    setTextElideMode(Qt::ElideRight);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
}

CListCtrlStyled::~CListCtrlStyled() = default;

int CListCtrlStyled::InsertColumn(int column, const QString& heading, int width, Qt::Alignment alignment) {
    const int index = model_->InsertColumn(column, heading, alignment);
    setColumnWidth(index, width);
    return index;
}

int CListCtrlStyled::InsertItem(int row, const QString& text) {
    return model_->InsertRow(row, text);
}

bool CListCtrlStyled::SetItemText(int row, int column, const QString& text) {
    return model_->SetText(row, column, text);
}

int CListCtrlStyled::GetItemCount() const {
    return model_->rowCount();
}

void CListCtrlStyled::SetItemStyle(int row, uint32_t flags, bool redraw) {
    if (row < 0 || row >= GetItemCount()) {
        return;
    }
    model_->Styles().SetItemStyle(row, flags);
    if (redraw) {
        model_->RowStyleChanged(row);
    }
}

void CListCtrlStyled::SetItemBgColor(int row, pelimon::ColorRef color, bool redraw) {
    if (row < 0 || row >= GetItemCount()) {
        return;
    }
    model_->Styles().SetItemBgColor(row, color);
    if (redraw) {
        model_->RowStyleChanged(row);
    }
}

bool CListCtrlStyled::DeleteItem(int row) {
    return model_->RemoveRow(row);
}

void CListCtrlStyled::DeleteAllItems() {
    model_->Clear();
}

pelimon::StyledListStyles& CListCtrlStyled::Styles() {
    return model_->Styles();
}

pelimon::StyleContext CListCtrlStyled::Context() const {
    const QPalette& colors = palette();
    pelimon::StyleContext context;
    context.text_color = ToColorRef(colors.color(QPalette::Text));
    context.background_color = ToColorRef(colors.color(QPalette::Base));
    context.highlight_color = ToColorRef(colors.color(QPalette::Highlight));
    context.highlight_text_color = ToColorRef(colors.color(QPalette::HighlightedText));
    const QFont& own = font();
    context.base_font = {own.bold(), own.italic(), own.underline(), own.strikeOut()};
    return context;
}
