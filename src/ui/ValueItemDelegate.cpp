#include "ValueItemDelegate.h"

#include <QPainter>

CValueItemDelegate::CValueItemDelegate(const Colours& colours, int labelRole, QObject* parent)
    : QStyledItemDelegate(parent), m_colours(colours), m_nLabelRole(labelRole) {}

void CValueItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    const QRect item = option.rect;
    const int left = item.left();
    const int right = item.left() + item.width();
    const int middle = (left + right) / 2;
    const QRect labelRect(left, item.top(), middle - left, item.height());
    const QRect valueRect(middle, item.top(), right - middle, item.height());
    const bool current = option.state.testFlag(QStyle::State_Selected);
    const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;

    painter->save();
    painter->fillRect(item, current ? m_colours.highlight : m_colours.window);
    painter->setPen(current ? m_colours.highlightText : m_colours.windowText);
    painter->setFont(option.font);
    painter->setClipRect(valueRect);
    painter->drawText(valueRect, flags, index.data(Qt::DisplayRole).toString());

    const QVariant label = index.data(m_nLabelRole);
    if (label.isValid()) {
        QFont bold = option.font;
        bold.setBold(true);
        painter->setFont(bold);
        painter->setClipRect(labelRect);
        painter->drawText(labelRect, flags, QLatin1Char('[') + label.toString() + QLatin1Char(']'));
    }
    painter->restore();
}
