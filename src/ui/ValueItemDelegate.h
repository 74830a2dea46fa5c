#pragma once

#include <QColor>
#include <QStyledItemDelegate>

// Paints one item of the value box's list: the item's label in bold brackets on the left half,
// its value on the right half, so that values of several templates line up and the template
// each one comes from stays readable. Each is cut off at its half; a cut label ends in an
// ellipsis and shows whole in the item's tooltip.
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

    // Keeps a label that fills its half from running into the value beside it.
    static constexpr int kLabelGap = 8;

    // labelRole is the item data role that holds the label; an item without one shows only
    // its value.
    CValueItemDelegate(const Colours& colours, int labelRole, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

    // The narrowest item in font that shows the label and the value of index whole.
    int WholeWidth(const QFont& font, const QModelIndex& index) const;

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

private:
    Colours m_colours;
    int m_nLabelRole;
};
