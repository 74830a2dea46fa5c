#pragma once

#include <QColor>
#include <QStyledItemDelegate>

// Paints one item of the value box's list: the item's label in bold brackets on the left half,
// its value on the right half, each cut off at its half without an ellipsis, so that values of
// several templates line up and the template each one comes from stays readable.
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

    // labelRole is the item data role that holds the label; an item without one shows only
    // its value.
    CValueItemDelegate(const Colours& colours, int labelRole, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

private:
    Colours m_colours;
    int m_nLabelRole;
};
