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

// The label as it fits in width in the bold font: whole, or cut with an ellipsis inside its
// brackets, so that it still reads as a label. cut, when given, tells which.
QString FittedLabel(const QFont& bold, const QString& label, int width, bool* cut = nullptr) {
    const QFontMetrics metrics(bold);
    const QString whole = Bracketed(label);
    const bool tooWide = metrics.horizontalAdvance(whole) > width;
    if (cut)
        *cut = tooWide;
    if (!tooWide)
        return whole;
    const int brackets = metrics.horizontalAdvance(QStringLiteral("[]"));
    return Bracketed(metrics.elidedText(label, Qt::ElideRight, std::max(0, width - brackets)));
}

int HalfWidth(const QRect& item) {
    return item.width() / 2;
}

int LabelRoom(const QRect& item) {
    return std::max(0, HalfWidth(item) - CValueItemDelegate::kLabelGap);
}

} // namespace

CValueItemDelegate::CValueItemDelegate(const Colours& colours, int labelRole, QObject* parent)
    : QStyledItemDelegate(parent), m_colours(colours), m_nLabelRole(labelRole) {}

void CValueItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    const QRect item = option.rect;
    const int left = item.left();
    const int middle = left + HalfWidth(item);
    const QRect labelRect(left, item.top(), middle - left, item.height());
    const QRect valueRect(middle, item.top(), item.right() + 1 - middle, item.height());
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
        const QFont bold = BoldOf(option.font);
        painter->setFont(bold);
        painter->setClipRect(labelRect);
        painter->drawText(labelRect, flags, FittedLabel(bold, label.toString(), LabelRoom(item)));
    }
    painter->restore();
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
    const QVariant label = index.data(m_nLabelRole);
    if (event->type() != QEvent::ToolTip || !label.isValid())
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    bool cut = false;
    FittedLabel(BoldOf(option.font), label.toString(), LabelRoom(option.rect), &cut);
    if (!cut) {
        QToolTip::hideText();
        return true;
    }
    // As plain text: a label that looks like markup must show as it is.
    QToolTip::showText(event->globalPos(),
                       Qt::convertFromPlainText(label.toString(), Qt::WhiteSpaceNoWrap), view);
    return true;
}
