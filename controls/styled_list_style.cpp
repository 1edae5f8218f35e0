#include "controls/styled_list_style.h"

#include <algorithm>
#include <cassert>

namespace pelimon {
namespace {

const iLS_item* SelectedOf(const iLS_item* record) {
    return record ? record->selected_style.get() : nullptr;
}

bool Has(const iLS_item* record, uint32_t flag) {
    return record != nullptr && (record->flags & flag) != 0;
}

struct Permissions {
    bool column = true;
    bool row = true;
};

// The cell can refuse either level; then the row style can refuse column styles, and after that
// the column style can refuse row styles.
Permissions PermissionsOf(const iLS_item* cell, const iLS_item* row, const iLS_item* column) {
    Permissions p;
    p.column = !Has(cell, kStyleNoColumnStyle);
    p.row = !Has(cell, kStyleNoRowStyle);
    if (p.column && p.row && Has(row, kStyleNoColumnStyle)) {
        p.column = false;
    }
    if (p.column && p.row && Has(column, kStyleNoRowStyle)) {
        p.row = false;
    }
    return p;
}

ColorRef PickColor(ColorRef start, uint32_t flag, const iLS_item* cell, const iLS_item* row, const iLS_item* column,
                   Permissions p, ColorRef iLS_item::*color) {
    if (Has(cell, flag)) {
        return cell->*color;
    }
    if (p.row && Has(row, flag)) {
        return row->*color;
    }
    if (p.column && Has(column, flag)) {
        return column->*color;
    }
    return start;
}

FontAttributes FontOf(const iLS_item& record) {
    return {(record.flags & kStyleBold) != 0, (record.flags & kStyleItalic) != 0, (record.flags & kStyleUnderline) != 0,
            (record.flags & kStyleStrikeOut) != 0};
}

// While selected, a level's selected style gives the font only when it has font bits.
const iLS_item* FontRecord(const iLS_item* record, bool selected) {
    const iLS_item* chosen = selected ? SelectedOf(record) : nullptr;
    return chosen && chosen->HasFontStyle() ? chosen : record;
}

// Every attribute in which `font` differs from the base overrides what `into` holds.
void Overlay(FontAttributes& into, const FontAttributes& font, const FontAttributes& base) {
    if (font.bold != base.bold) {
        into.bold = font.bold;
    }
    if (font.italic != base.italic) {
        into.italic = font.italic;
    }
    if (font.underline != base.underline) {
        into.underline = font.underline;
    }
    if (font.strike_out != base.strike_out) {
        into.strike_out = font.strike_out;
    }
}

}  // namespace

iLS_item& iLS_item::SelectedStyle() {
    if (!selected_style) {
        selected_style = std::make_unique<iLS_item>();
    }
    return *selected_style;
}

void StyledListStyles::InsertColumn(int column) {
    column = std::clamp(column, 0, ColumnCount());
    columns_.insert(columns_.begin() + column, nullptr);
    // Column 0 is styled by the row record itself; a column inserted in front of it gets a new
    // cell record at the start of every row.
    const int cell = std::max(column - 1, 0);
    for (iLS_item& row : rows_) {
        if (ColumnCount() > 1) {
            row.cells.insert(row.cells.begin() + std::min(cell, static_cast<int>(row.cells.size())), iLS_item{});
        }
    }
}

void StyledListStyles::InsertRow(int row) {
    row = std::clamp(row, 0, RowCount());
    iLS_item record;
    record.cells.resize(static_cast<size_t>(std::max(ColumnCount() - 1, 0)));
    rows_.insert(rows_.begin() + row, std::move(record));
}

void StyledListStyles::DeleteRow(int row) {
    if (row >= 0 && row < RowCount()) {
        rows_.erase(rows_.begin() + row);
    }
}

void StyledListStyles::Clear() {
    rows_.clear();
}

iLS_item& StyledListStyles::CellStyle(int row, int column) {
    assert(row >= 0 && row < RowCount() && column >= 0 && column < ColumnCount());
    iLS_item& record = rows_[static_cast<size_t>(row)];
    return column == 0 ? record : record.cells[static_cast<size_t>(column - 1)];
}

iLS_item& StyledListStyles::RowStyle(int row) {
    assert(row >= 0 && row < RowCount());
    std::unique_ptr<iLS_item>& style = rows_[static_cast<size_t>(row)].row_style;
    if (!style) {
        style = std::make_unique<iLS_item>();
    }
    return *style;
}

iLS_item& StyledListStyles::ColumnStyle(int column) {
    assert(column >= 0 && column < ColumnCount());
    std::unique_ptr<iLS_item>& style = columns_[static_cast<size_t>(column)];
    if (!style) {
        style = std::make_unique<iLS_item>();
    }
    return *style;
}

const iLS_item* StyledListStyles::Cell(int row, int column) const {
    const iLS_item& record = rows_[static_cast<size_t>(row)];
    if (column == 0) {
        return &record;
    }
    const auto cell = static_cast<size_t>(column - 1);
    return cell < record.cells.size() ? &record.cells[cell] : nullptr;
}

ResolvedStyle StyledListStyles::Resolve(int row, int column, bool selected, const StyleContext& context) const {
    ResolvedStyle result;
    result.text_color = selected ? context.highlight_text_color : context.text_color;
    result.background_color = selected ? context.highlight_color : context.background_color;
    if (row < 0 || row >= RowCount() || column < 0 || column >= ColumnCount()) {
        return result;
    }
    const iLS_item* cell = Cell(row, column);
    const iLS_item* row_style = rows_[static_cast<size_t>(row)].row_style.get();
    const iLS_item* column_style = columns_[static_cast<size_t>(column)].get();

    // Colours: while selected, each level is replaced by its selected style (possibly none).
    const iLS_item* c = selected ? SelectedOf(cell) : cell;
    const iLS_item* r = selected ? SelectedOf(row_style) : row_style;
    const iLS_item* k = selected ? SelectedOf(column_style) : column_style;
    Permissions p = PermissionsOf(c, r, k);
    result.text_color = PickColor(result.text_color, kStyleTextColor, c, r, k, p, &iLS_item::text_color);
    result.background_color =
        PickColor(result.background_color, kStyleBackgroundColor, c, r, k, p, &iLS_item::background_color);

    // Fonts: cell beats row beats column; each level only where it applies.
    c = FontRecord(cell, selected);
    r = FontRecord(row_style, selected);
    k = FontRecord(column_style, selected);
    p = PermissionsOf(c, r, k);
    const bool cell_font = c && c->HasFontStyle();
    const bool row_font = p.row && r && r->HasFontStyle();
    const bool column_font = p.column && k && k->HasFontStyle();
    if (!cell_font && !row_font && !column_font) {
        return result;
    }
    FontAttributes font = context.base_font;
    if (column_font) {
        Overlay(font, FontOf(*k), context.base_font);
    }
    if (row_font) {
        Overlay(font, FontOf(*r), context.base_font);
    }
    if (cell_font) {
        Overlay(font, FontOf(*c), context.base_font);
    }
    result.font = font;
    return result;
}

}  // namespace pelimon
