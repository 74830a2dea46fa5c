#pragma once

#include <QStyledItemDelegate>

#include <vector>

// Paints the comparison's cells and edits this file's value in place.
//
// A cell is painted as a spreadsheet paints it: its background (the selection, or a template's
// tint), one line of text cut with an ellipsis where it is too wide. The style's own item
// painting lays every text out for wrapping, which a table of a thousand templates cannot afford
// at every scroll.
class CCompareDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

private:
    // Whether text fits in width in font, measured only when a quick look cannot tell.
    bool Fits(const QString& text, const QFont& font, const QFontMetrics& metrics, int width) const;

    // The widest character of a number and the widest printable ASCII character of each font
    // looked at (the table's and its bold): a text of such characters no longer than the width
    // allows for them fits without being measured.
    struct CWidest {
        QFont font;
        int number;
        int ascii;
    };
    mutable std::vector<CWidest> m_widest;
};
