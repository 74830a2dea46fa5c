#include "CompareDelegate.h"

#include <QApplication>
#include <QPainter>

#include <algorithm>

namespace {

constexpr QLatin1StringView kNumberChars("0123456789.-");

int Widest(const QFontMetrics& metrics, auto&& chars) {
    int widest = 0;
    for (QChar c : chars)
        widest = std::max(widest, metrics.horizontalAdvance(c));
    return widest;
}

} // namespace

bool CCompareDelegate::Fits(const QString& text, const QFont& font, const QFontMetrics& metrics,
                            int width) const {
    auto known = std::ranges::find(m_widest, font, &CWidest::font);
    if (known == m_widest.end()) {
        QString ascii;
        for (char c = ' '; c <= '~'; ++c)
            ascii += QLatin1Char(c);
        known = m_widest.insert(m_widest.end(),
                                {font, Widest(metrics, kNumberChars), Widest(metrics, ascii)});
    }
    const bool number = std::ranges::all_of(text, [](QChar c) { return kNumberChars.contains(c); });
    const bool ascii = std::ranges::all_of(text, [](QChar c) { return c.unicode() < 0x7F; });
    const int widest = number ? known->number : ascii ? known->ascii : 0;
    if (widest > 0 && text.size() * widest <= width)
        return true;
    return metrics.horizontalAdvance(text) <= width;
}

void CCompareDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    const QPalette::ColorGroup group =
        option.state.testFlag(QStyle::State_Active) ? QPalette::Active : QPalette::Inactive;
    if (selected) {
        painter->fillRect(option.rect, option.palette.brush(group, QPalette::Highlight));
    } else if (const QVariant tint = index.data(Qt::BackgroundRole); tint.isValid()) {
        painter->fillRect(option.rect, tint.value<QBrush>());
    }
    const QString text = index.data(Qt::DisplayRole).toString();
    if (!text.isEmpty()) {
        const QVariant font = index.data(Qt::FontRole);
        const QFont shown = font.isValid() ? font.value<QFont>() : option.font;
        const QFontMetrics metrics(shown);
        const int margin = metrics.averageCharWidth() / 2 + 1;
        const QRect room = option.rect.adjusted(margin, 0, -margin, 0);
        const QVariant alignment = index.data(Qt::TextAlignmentRole);
        painter->save();
        painter->setFont(shown);
        painter->setPen(
            option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(
            room,
            (alignment.isValid() ? alignment.toInt() : Qt::AlignLeft | Qt::AlignVCenter) |
                Qt::TextSingleLine,
            metrics.horizontalAdvance(text) > room.width()
                ? metrics.elidedText(text, Qt::ElideRight, room.width())
                : text);
        painter->restore();
    }
    if (option.state.testFlag(QStyle::State_HasFocus)) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(option);
        focus.backgroundColor =
            option.palette.color(group, selected ? QPalette::Highlight : QPalette::Base);
        const QWidget* widget = option.widget;
        (widget ? widget->style() : QApplication::style())
            ->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, widget);
    }
}
