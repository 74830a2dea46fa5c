#pragma once

#include <QStyledItemDelegate>

#include <array>
#include <vector>

// Paints the comparison's cells and edits this file's value in place, with the value box's rules:
// numbers read leniently, a String refusing what would not read back or what the document's
// encoding cannot hold.
//
// A cell is painted as a spreadsheet paints it: its background (the selection, or a template's
// tint), one line of text cut with an ellipsis where it is too wide. The style's own item
// painting lays every text out for wrapping, which a table of a thousand templates cannot afford
// at every scroll.
class CCompareDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // Leaves the cells of the first count columns unpainted: another view lies over them.
    void SetCoveredColumns(int count) { m_nCovered = count; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    // An edit field that takes only what the document's field can hold, as the value box does.
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;

signals:
    // The edit field refused a character; why is a sentence without its full stop.
    void Refused(const QString& why) const;

private:
    // The widths of the characters of a number and of the widest printable ASCII character, in
    // a font (the table's, or its bold).
    struct CWidths {
        QFont font;
        std::array<qreal, 12> number; // in the order of "0123456789.-"
        qreal widestAscii;
    };
    const CWidths& WidthsOf(const QFont& font) const;
    // The width of text in font: summed from its characters for a number (which a table is
    // mostly made of), -1 for an ASCII text that fits room however wide its characters,
    // measured otherwise.
    qreal WidthOf(const QString& text, const QFont& font, const QFontMetricsF& metrics,
                  qreal room) const;

    mutable std::vector<CWidths> m_widths;
    int m_nCovered = 0;
};
