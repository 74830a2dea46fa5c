#pragma once

#include <QColor>
#include <QStyledItemDelegate>

// Paints one item of the value box's list: the item's label in bold brackets on the left half,
// its value on the right half, so that values of several templates line up and the template
// each one comes from stays readable. Each row is laid out on its own, from its own width: a
// long value elsewhere in the list never pushes this one out of sight. What does not fit its
// half ends in an ellipsis, and the row's tooltip then shows the label and the value whole.
class CValueItemDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    // The colours of a current item (highlight, highlightText) and of any other item (window,
    // windowText). They are fixed here so that every item of the list is painted alike.
    struct Colours {
        QColor highlight;
        QColor windowText;
        QColor highlightText;
        QColor window;
    };

    // What a row shows: the bracketed label (empty for an item without one) and the value,
    // each as cut to its half, and whether either was cut.
    struct Shown {
        QString label;
        QString value;
        bool cut = false;
    };

    // Keeps a label that fills its half from running into the value beside it.
    static constexpr int kLabelGap = 8;

    // labelRole is the item data role that holds the label; an item without one shows only
    // its value.
    CValueItemDelegate(const Colours& colours, int labelRole, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    // No wider than any list: a row as wide as its text would make every row of the list that
    // wide, and put the right halves, with the values, beyond the list's edge.
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // What the row of index shows when it is width pixels wide in font.
    Shown ShownTexts(const QFont& font, int width, const QModelIndex& index) const;

    // The narrowest item in font that shows the label and the value of index whole.
    int WholeWidth(const QFont& font, const QModelIndex& index) const;

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

private:
    Colours m_colours;
    int m_nLabelRole;
};
