#include "CompareDelegate.h"

#include "CompareModel.h"
#include "FieldEntry.h"
#include "OtherKeys.h"
#include "RefusingValidator.h"
#include "ValueText.h"

#include <QApplication>
#include <QLineEdit>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr QLatin1StringView kNumberChars("0123456789.-");

} // namespace

const CCompareDelegate::CWidths& CCompareDelegate::WidthsOf(const QFont& font) const {
    auto known = std::ranges::find(m_widths, font, &CWidths::font);
    if (known == m_widths.end()) {
        const QFontMetricsF metrics(font);
        CWidths widths{font, {}, 0};
        for (qsizetype i = 0; i < kNumberChars.size(); ++i)
            widths.number[static_cast<std::size_t>(i)] = metrics.horizontalAdvance(kNumberChars[i]);
        for (char c = ' '; c <= '~'; ++c)
            widths.widestAscii =
                std::max(widths.widestAscii, metrics.horizontalAdvance(QLatin1Char(c)));
        known = m_widths.insert(m_widths.end(), widths);
    }
    return *known;
}

qreal CCompareDelegate::WidthOf(const QString& text, const QFont& font,
                                const QFontMetricsF& metrics, qreal room) const {
    const CWidths& widths = WidthsOf(font);
    qreal width = 0;
    bool number = true, ascii = true;
    for (QChar c : text) {
        const auto at = kNumberChars.indexOf(c);
        number = number && at >= 0;
        ascii = ascii && c.unicode() < 0x7F;
        if (number)
            width += widths.number[static_cast<std::size_t>(at)];
    }
    if (number)
        return width;
    if (ascii && text.size() * widths.widestAscii <= room)
        return -1;
    return metrics.horizontalAdvance(text);
}

void CCompareDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    if (index.column() < m_nCovered)
        return;
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
        const QFontMetricsF metrics(shown);
        const qreal margin = std::floor(metrics.averageCharWidth() / 2) + 1;
        const QRectF room = QRectF(option.rect).adjusted(margin, 0, -margin, 0);
        const bool right = index.data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight;
        painter->setFont(shown);
        painter->setPen(
            option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
        const qreal width = WidthOf(text, shown, metrics, room.width());
        if (width > room.width()) {
            painter->drawText(room, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                              metrics.elidedText(text, Qt::ElideRight, room.width()));
        } else {
            // A text that fits is drawn at a point: laying it out in a rectangle costs as
            // much again as drawing it.
            const qreal x = right && width >= 0 ? room.right() - width : room.left();
            const qreal y = room.top() + (room.height() - metrics.height()) / 2 + metrics.ascent();
            painter->drawText(QPointF(x, y), text);
        }
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

QWidget* CCompareDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                        const QModelIndex& index) const {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    auto* edit = qobject_cast<QLineEdit*>(editor);
    // As in the value box: a value may be longer than a line edit's usual 32767 characters.
    if (edit)
        edit->setMaxLength(std::numeric_limits<int>::max());
    const auto* model = qobject_cast<const CCompareModel*>(index.model());
    if (!edit || !model)
        return editor;
    const TextEncoding encoding = model->Encoding();
    auto* validator = new CRefusingValidator(edit);
    if (model->IsOtherKeyRow(index.row())) {
        // A raw value, as the value box takes it.
        validator->Set([encoding](char32_t c) { return !RawValueCanTake(encoding, c); },
                       [this, encoding](char32_t c) {
                           emit Refused(QString::fromUtf8(WhyRawValueCannotTake(encoding, c)));
                       });
    } else if (model->DocumentField(index.row()).Type() == FieldType::String) {
        validator->Set([encoding](char32_t c) { return !StringCanTake(encoding, c); },
                       [this, encoding](char32_t c) {
                           emit Refused(QString::fromUtf8(WhyStringCannotTake(encoding, c)));
                       });
    } else {
        return editor;
    }
    edit->setValidator(validator);
    return editor;
}
