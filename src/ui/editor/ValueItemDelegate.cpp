#include "ValueItemDelegate.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QPainter>
#include <QTextDocument>
#include <QToolTip>

#include <algorithm>

namespace {

QFont BoldOf(const QFont& font) {
    QFont bold = font;
    bold.setBold(true);
    return bold;
}

QString Bracketed(const QString& label) {
    return QLatin1Char('[') + label + QLatin1Char(']');
}

int HalfWidth(int width) {
    return width / 2;
}

} // namespace

CValueItemDelegate::CValueItemDelegate(const Colours& colours, int labelRole, QObject* parent)
    : QStyledItemDelegate(parent), m_colours(colours), m_nLabelRole(labelRole) {}

CValueItemDelegate::Shown CValueItemDelegate::ShownTexts(const QFont& font, int width,
                                                         const QModelIndex& index) const {
    Shown shown;
    const QString value = index.data(Qt::DisplayRole).toString();
    const int valueRoom = width - HalfWidth(width);
    shown.value = QFontMetrics(font).elidedText(value, Qt::ElideRight, valueRoom);
    shown.cut = shown.value != value;
    const QVariant label = index.data(m_nLabelRole);
    if (label.isValid()) {
        // Cut inside its brackets, so that it still reads as a label.
        const QFontMetrics bold(BoldOf(font));
        const int room = std::max(0, HalfWidth(width) - kLabelGap);
        shown.label = Bracketed(label.toString());
        if (bold.horizontalAdvance(shown.label) > room) {
            const int brackets = bold.horizontalAdvance(QStringLiteral("[]"));
            shown.label = Bracketed(
                bold.elidedText(label.toString(), Qt::ElideRight, std::max(0, room - brackets)));
            shown.cut = true;
        }
    }
    return shown;
}

void CValueItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    const QRect item = option.rect;
    const int left = item.left();
    const int middle = left + HalfWidth(item.width());
    const QRect labelRect(left, item.top(), middle - left, item.height());
    const QRect valueRect(middle, item.top(), item.right() + 1 - middle, item.height());
    const bool current = option.state.testFlag(QStyle::State_Selected);
    const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
    const Shown shown = ShownTexts(option.font, item.width(), index);

    painter->save();
    painter->fillRect(item, current ? m_colours.highlight : m_colours.window);
    painter->setPen(current ? m_colours.highlightText : m_colours.windowText);
    painter->setFont(option.font);
    painter->setClipRect(valueRect);
    painter->drawText(valueRect, flags, shown.value);
    if (!shown.label.isEmpty()) {
        painter->setFont(BoldOf(option.font));
        painter->setClipRect(labelRect);
        painter->drawText(labelRect, flags, shown.label);
    }
    painter->restore();
}

QSize CValueItemDelegate::sizeHint(const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const {
    return {0, QStyledItemDelegate::sizeHint(option, index).height()};
}

int CValueItemDelegate::WholeWidth(const QFont& font, const QModelIndex& index) const {
    int half = QFontMetrics(font).horizontalAdvance(index.data(Qt::DisplayRole).toString());
    const QVariant label = index.data(m_nLabelRole);
    if (label.isValid())
        half = std::max(half,
                        QFontMetrics(BoldOf(font)).horizontalAdvance(Bracketed(label.toString())) +
                            kLabelGap);
    return 2 * half;
}

bool CValueItemDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                   const QStyleOptionViewItem& option, const QModelIndex& index) {
    if (event->type() != QEvent::ToolTip)
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    if (!ShownTexts(option.font, option.rect.width(), index).cut) {
        QToolTip::hideText();
        return true;
    }
    const QVariant label = index.data(m_nLabelRole);
    const QString whole =
        (label.isValid() ? Bracketed(label.toString()) + QLatin1Char(' ') : QString()) +
        index.data(Qt::DisplayRole).toString();
    // As plain text: a label or value that looks like markup must show as it is. A value wider
    // than the screen wraps, its blanks kept.
    QToolTip::showText(event->globalPos(), Qt::convertFromPlainText(whole, Qt::WhiteSpaceNormal),
                       view);
    return true;
}
