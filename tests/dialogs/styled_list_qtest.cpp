// The styled list: how cell, row, column and selected styles combine (without a window), the
// records following their rows, and what the view actually paints.
#include <QApplication>
#include <QImage>
#include <QtTest>

#include "controls/clistctrl_styled.h"
#include "controls/styled_list_style.h"

namespace {

using pelimon::Rgb;

// Each level gets colours of its own so that the result names its source.
constexpr pelimon::ColorRef kCellBg = Rgb(1, 0, 0), kRowBg = Rgb(2, 0, 0), kColumnBg = Rgb(3, 0, 0),
                            kSelectedBg = Rgb(4, 0, 0);
constexpr pelimon::ColorRef kCellText = Rgb(0, 1, 0), kRowText = Rgb(0, 2, 0), kColumnText = Rgb(0, 3, 0),
                            kSelectedText = Rgb(0, 4, 0);

pelimon::StyleContext Context() {
    pelimon::StyleContext context;
    context.text_color = Rgb(0, 0, 9);
    context.background_color = Rgb(0, 0, 8);
    context.highlight_color = Rgb(0, 0, 7);
    context.highlight_text_color = Rgb(0, 0, 6);
    return context;
}

QString Source(pelimon::ColorRef color) {
    switch (color) {
        case kCellBg:
        case kCellText:
            return "cell";
        case kRowBg:
        case kRowText:
            return "row";
        case kColumnBg:
        case kColumnText:
            return "column";
        case kSelectedBg:
        case kSelectedText:
            return "selected";
        case Rgb(0, 0, 8):
        case Rgb(0, 0, 9):
            return "list";
        case Rgb(0, 0, 7):
        case Rgb(0, 0, 6):
            return "highlight";
        default:
            return "?";
    }
}

QString FontText(const std::optional<pelimon::FontAttributes>& font) {
    if (!font) {
        return "none";
    }
    QString text;
    text += font->bold ? "b" : "";
    text += font->italic ? "i" : "";
    text += font->underline ? "u" : "";
    text += font->strike_out ? "s" : "";
    return text.isEmpty() ? "plain" : text;
}

void Style(pelimon::iLS_item& record, uint32_t flags, pelimon::ColorRef bg, pelimon::ColorRef text) {
    record.flags = flags;
    record.background_color = bg;
    record.text_color = text;
}

constexpr uint32_t kColors = pelimon::kStyleTextColor | pelimon::kStyleBackgroundColor;

}  // namespace

class StyledListTest : public QObject {
    Q_OBJECT

  private slots:
    void resolve_data();
    void resolve();
    void baseFontIsOverriddenOnlyWhereStylesDiffer();
    void recordsFollowTheirRows();
    void columnInsertedLaterGetsCellRecords();
    void paintsGroupRowAndSelection();
};

void StyledListTest::resolve_data() {
    QTest::addColumn<uint>("cell");
    QTest::addColumn<uint>("row");
    QTest::addColumn<uint>("column");
    QTest::addColumn<int>("rowSelected");  // flags of the row's selected style, -1 for none
    QTest::addColumn<bool>("selected");
    QTest::addColumn<QString>("bg");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("font");

    using namespace pelimon;
    QTest::newRow("nothing styled") << 0u << 0u << 0u << -1 << false << "list"
                                    << "list"
                                    << "none";
    QTest::newRow("row colour without its flag") << 0u << uint(kStyleTextColor) << 0u << -1 << false << "list"
                                                 << "row"
                                                 << "none";
    QTest::newRow("row background") << 0u << uint(kStyleBackgroundColor) << 0u << -1 << false << "row"
                                    << "list"
                                    << "none";
    QTest::newRow("cell beats row beats column") << kColors << kColors << kColors << -1 << false << "cell"
                                                 << "cell"
                                                 << "none";
    QTest::newRow("row beats column") << 0u << kColors << kColors << -1 << false << "row"
                                      << "row"
                                      << "none";
    QTest::newRow("column alone") << 0u << 0u << kColors << -1 << false << "column"
                                  << "column"
                                  << "none";
    QTest::newRow("cell refuses column") << uint(kStyleNoColumnStyle) << 0u << kColors << -1 << false << "list"
                                         << "list"
                                         << "none";
    QTest::newRow("cell refuses row") << uint(kStyleNoRowStyle) << kColors << kColors << -1 << false << "column"
                                      << "column"
                                      << "none";
    QTest::newRow("row refuses column") << 0u << uint(kStyleNoColumnStyle) << kColors << -1 << false << "list"
                                        << "list"
                                        << "none";
    QTest::newRow("column refuses row") << 0u << kColors << (kColors | kStyleNoRowStyle) << -1 << false << "column"
                                        << "column"
                                        << "none";
    QTest::newRow("row refusal wins over column refusal")
        << 0u << (kColors | kStyleNoColumnStyle) << (kColors | kStyleNoRowStyle) << -1 << false << "row"
        << "row"
        << "none";
    QTest::newRow("selected row without selected style")
        << 0u << (kColors | kStyleBold) << 0u << -1 << true << "highlight"
        << "highlight"
        << "b";
    QTest::newRow("selected style colours") << 0u << kColors << 0u << int(kColors) << true << "selected"
                                            << "selected"
                                            << "none";
    QTest::newRow("selected style without font keeps row font")
        << 0u << uint(kStyleItalic) << 0u << int(kStyleBackgroundColor) << true << "selected"
        << "highlight"
        << "i";
    QTest::newRow("selected style font replaces row font")
        << 0u << uint(kStyleItalic) << 0u << int(kStyleUnderline) << true << "highlight"
        << "highlight"
        << "u";
    QTest::newRow("bold row") << 0u << uint(kStyleBold) << 0u << -1 << false << "list"
                              << "list"
                              << "b";
    QTest::newRow("fonts of three levels combine")
        << uint(kStyleUnderline) << uint(kStyleBold) << uint(kStyleItalic | kStyleStrikeOut) << -1 << false << "list"
        << "list"
        << "bius";
    QTest::newRow("column font refused by cell")
        << uint(kStyleNoColumnStyle) << 0u << uint(kStyleItalic) << -1 << false << "list"
        << "list"
        << "none";
}

void StyledListTest::resolve() {
    QFETCH(uint, cell);
    QFETCH(uint, row);
    QFETCH(uint, column);
    QFETCH(int, rowSelected);
    QFETCH(bool, selected);
    QFETCH(QString, bg);
    QFETCH(QString, text);
    QFETCH(QString, font);

    pelimon::StyledListStyles styles;
    styles.InsertColumn(0);
    styles.InsertColumn(1);
    styles.InsertRow(0);
    // Check column 1, whose cell record is not the row record.
    Style(styles.CellStyle(0, 1), cell, kCellBg, kCellText);
    if (row != 0) {
        Style(styles.RowStyle(0), row, kRowBg, kRowText);
    }
    if (column != 0) {
        Style(styles.ColumnStyle(1), column, kColumnBg, kColumnText);
    }
    if (rowSelected >= 0) {
        Style(styles.RowStyle(0).SelectedStyle(), uint32_t(rowSelected), kSelectedBg, kSelectedText);
    }
    const pelimon::ResolvedStyle style = styles.Resolve(0, 1, selected, Context());
    QCOMPARE(Source(style.background_color), bg);
    QCOMPARE(Source(style.text_color), text);
    QCOMPARE(FontText(style.font), font);
    // The row style reaches column 0 in the same way.
    if (cell == 0 && column == 0) {
        QCOMPARE(Source(styles.Resolve(0, 0, selected, Context()).background_color), bg);
    }
}

void StyledListTest::baseFontIsOverriddenOnlyWhereStylesDiffer() {
    pelimon::StyledListStyles styles;
    styles.InsertColumn(0);
    styles.InsertRow(0);
    styles.SetItemStyle(0, pelimon::kStyleItalic);
    pelimon::StyleContext context = Context();
    context.base_font.bold = true;
    // A font made from style bits is not bold without bit 0x01, whatever the list's font is.
    QCOMPARE(FontText(styles.Resolve(0, 0, false, context).font), QStringLiteral("i"));
}

void StyledListTest::recordsFollowTheirRows() {
    pelimon::StyledListStyles styles;
    styles.InsertColumn(0);
    styles.InsertColumn(1);
    for (int row = 0; row < 3; ++row) {
        styles.InsertRow(row);
    }
    styles.SetItemStyle(1, pelimon::kStyleBackgroundColor);
    styles.SetItemBgColor(1, kRowBg);
    styles.DeleteRow(0);
    QCOMPARE(styles.Resolve(0, 1, false, Context()).background_color, kRowBg);
    styles.InsertRow(0);
    QCOMPARE(styles.Resolve(0, 1, false, Context()).background_color, Context().background_color);
    QCOMPARE(styles.Resolve(1, 1, false, Context()).background_color, kRowBg);
    styles.Clear();
    QCOMPARE(styles.RowCount(), 0);
    styles.InsertRow(0);
    QCOMPARE(styles.Resolve(0, 0, false, Context()).background_color, Context().background_color);
    QCOMPARE(styles.Resolve(5, 0, false, Context()).background_color, Context().background_color);
}

void StyledListTest::columnInsertedLaterGetsCellRecords() {
    pelimon::StyledListStyles styles;
    styles.InsertColumn(0);
    styles.InsertRow(0);
    styles.InsertColumn(1);
    Style(styles.CellStyle(0, 1), pelimon::kStyleBackgroundColor, kCellBg, kCellText);
    QCOMPARE(styles.Resolve(0, 1, false, Context()).background_color, kCellBg);
    QCOMPARE(styles.Resolve(0, 0, false, Context()).background_color, Context().background_color);
}

void StyledListTest::paintsGroupRowAndSelection() {
    CListCtrlStyled list;
    list.resize(300, 150);
    list.InsertColumn(0, "name", 150);
    list.InsertColumn(1, "value", 150);
    list.InsertItem(0, "group");
    list.InsertItem(1, "entry");
    list.SetItemText(1, 1, "value");
    list.InsertItem(2, "flag only");
    list.SetItemBgColor(0, Rgb(240, 240, 170));
    list.SetItemStyle(0, pelimon::kStyleBackgroundColor);
    list.SetItemBgColor(2, Rgb(240, 240, 170));  // without the flag: list background
    list.selectRow(1);

    const QImage image = list.viewport()->grab().toImage();
    const auto pixel = [&](int row, int column) {
        const QRect cell = list.visualRect(list.model()->index(row, column));
        return image.pixelColor(cell.right() - 3, cell.center().y());
    };
    QCOMPARE(pixel(0, 0), QColor(240, 240, 170));
    QCOMPARE(pixel(0, 1), QColor(240, 240, 170));
    QCOMPARE(pixel(1, 1), list.palette().color(QPalette::Highlight));
    QCOMPARE(pixel(2, 0), list.palette().color(QPalette::Base));
    // Painting does not take the selection away.
    QVERIFY(list.selectionModel()->isRowSelected(1, {}));
    list.DeleteAllItems();
    QCOMPARE(list.GetItemCount(), 0);
    QCOMPARE(list.Styles().RowCount(), 0);
}

QTEST_MAIN(StyledListTest)
#include "styled_list_qtest.moc"
