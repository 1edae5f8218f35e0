// Style records of the styled list (iLS_item) and the rules that combine cell, row and column
// styles into the colours and font of one painted cell. Qt-free: the view asks Resolve for each
// cell it paints, and tests call it without a window.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace pelimon {

// A colour as the list keeps it: red in the low byte, then green, then blue.
using ColorRef = uint32_t;
constexpr ColorRef Rgb(uint8_t red, uint8_t green, uint8_t blue) {
    return ColorRef{red} | (ColorRef{green} << 8) | (ColorRef{blue} << 16);
}
constexpr uint8_t RedOf(ColorRef c) {
    return static_cast<uint8_t>(c & 0xFF);
}
constexpr uint8_t GreenOf(ColorRef c) {
    return static_cast<uint8_t>((c >> 8) & 0xFF);
}
constexpr uint8_t BlueOf(ColorRef c) {
    return static_cast<uint8_t>((c >> 16) & 0xFF);
}

// Style flags of a record.
enum StyleFlag : uint32_t {
    kStyleBold = 0x01,
    kStyleItalic = 0x02,
    kStyleUnderline = 0x04,
    kStyleStrikeOut = 0x08,
    kStyleTextColor = 0x10,        // the record's text colour applies
    kStyleBackgroundColor = 0x20,  // the record's background colour applies
    kStyleNoColumnStyle = 0x40,    // column styles do not apply to this cell or row
    kStyleNoRowStyle = 0x80,       // row styles do not apply to this cell or column
};
inline constexpr uint32_t kFontStyleBits = kStyleBold | kStyleItalic | kStyleUnderline | kStyleStrikeOut;

// One style record. A row record styles column 0 and owns one record per further column; it may
// own a row-level style. Any record may own the style that replaces it while its row is selected.
// Fonts are not cached here: the view derives them from the font bits when it paints.
struct iLS_item {  // NOLINT(readability-identifier-naming): the record's established name
    uint32_t flags = 0;
    ColorRef text_color = 0;
    ColorRef background_color = 0;
    std::vector<iLS_item> cells;               // row record: columns 1, 2, ...
    std::unique_ptr<iLS_item> row_style;       // row record: the row-level style
    std::unique_ptr<iLS_item> selected_style;  // used instead of this record while selected

    bool HasFontStyle() const { return (flags & kFontStyleBits) != 0; }
    // The selected style, created empty on first use.
    iLS_item& SelectedStyle();
};

// The font attributes the style bits control.
struct FontAttributes {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike_out = false;
    bool operator==(const FontAttributes&) const = default;
};

// What a cell is painted with when no record says otherwise.
struct StyleContext {
    ColorRef text_color = Rgb(0, 0, 0);
    ColorRef background_color = Rgb(255, 255, 255);
    ColorRef highlight_color = Rgb(0, 120, 215);
    ColorRef highlight_text_color = Rgb(255, 255, 255);
    FontAttributes base_font;
};

struct ResolvedStyle {
    ColorRef text_color = 0;
    ColorRef background_color = 0;
    std::optional<FontAttributes> font;  // none: the list's own font
};

// The style records of a whole list: one row record per row, one optional record per column.
class StyledListStyles {
  public:
    // A new column gets an empty column slot and, in every row, an empty cell record.
    void InsertColumn(int column);
    // A new row record with one empty cell record per column after the first.
    void InsertRow(int row);
    void DeleteRow(int row);
    void Clear();

    int RowCount() const { return static_cast<int>(rows_.size()); }
    int ColumnCount() const { return static_cast<int>(columns_.size()); }

    // The record that styles one cell (column 0: the row record itself).
    iLS_item& CellStyle(int row, int column);
    // The row-level and column-level styles, created empty on first use.
    iLS_item& RowStyle(int row);
    iLS_item& ColumnStyle(int column);

    // The row style's flags, or its background colour (which needs kStyleBackgroundColor).
    void SetItemStyle(int row, uint32_t flags) { RowStyle(row).flags = flags; }
    void SetItemBgColor(int row, ColorRef color) { RowStyle(row).background_color = color; }

    // Colours and font of cell (row, column), painted selected or not. Rows or columns outside
    // the list resolve to the context's plain colours.
    ResolvedStyle Resolve(int row, int column, bool selected, const StyleContext& context) const;

  private:
    const iLS_item* Cell(int row, int column) const;

    std::vector<iLS_item> rows_;
    std::vector<std::unique_ptr<iLS_item>> columns_;
};

}  // namespace pelimon
