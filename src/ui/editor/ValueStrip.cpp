#include "ValueStrip.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

// The most dots a stack holds before the dots that meet there go beside it.
constexpr int kMostRows = 6;

} // namespace

CValueStrip::CValueStrip(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("valueStrip"));
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    setMouseTracking(true);
}

int CValueStrip::Pitch() const {
    return std::max(5, fontMetrics().height() * 2 / 5);
}

int CValueStrip::AxisY(int rows) const {
    return 2 + std::max(rows * Pitch() - Pitch() / 2, fontMetrics().height() / 2);
}

int CValueStrip::BelowAxis() const {
    // Half a dot or a line, then a line for the least and greatest value.
    return std::max(Pitch(), fontMetrics().height()) / 2 + 2 + fontMetrics().height() + 1;
}

QSize CValueStrip::sizeHint() const {
    return {0, AxisY(m_nWantedRows) + BelowAxis()};
}

void CValueStrip::SetValues(std::vector<CValue> values, std::optional<double> own) {
    m_values = std::move(values);
    m_sorted.clear();
    for (const CValue& value : m_values)
        m_sorted.push_back(value.m_dNumber);
    std::ranges::sort(m_sorted);
    m_order.resize(m_values.size());
    std::iota(m_order.begin(), m_order.end(), std::size_t{0});
    std::ranges::stable_sort(m_order, {}, [this](std::size_t i) { return m_values[i].m_dNumber; });
    m_own = own;
    Layout();
}

void CValueStrip::SetOwn(std::optional<double> own) {
    m_own = own;
    Layout();
}

void CValueStrip::resizeEvent(QResizeEvent*) {
    Layout();
}

void CValueStrip::Layout() {
    const int wanted = m_nWantedRows, pitch = Pitch();
    const std::vector<double>& sorted = m_sorted;
    // The middle nine tenths: as many values left out at each end, one twentieth of them.
    const std::size_t cut = sorted.size() / 20;
    m_dLow = m_dHigh = m_own.value_or(sorted.empty() ? 0.0 : sorted[cut]);
    if (!sorted.empty()) {
        m_dLow = std::min(m_dLow, sorted[cut]);
        m_dHigh = std::max(m_dHigh, sorted[sorted.size() - 1 - cut]);
    }
    m_nBelow = static_cast<std::size_t>(
        std::ranges::count_if(sorted, [this](double v) { return v < m_dLow; }));
    m_nAbove = static_cast<std::size_t>(
        std::ranges::count_if(sorted, [this](double v) { return v > m_dHigh; }));

    // An arrow and its count at an end with values beyond it; else room for half a dot.
    const QFontMetrics metrics = fontMetrics();
    auto arrowWidth = [&](std::size_t count) {
        return count ? pitch + 2 + metrics.horizontalAdvance(QString::number(count)) + pitch
                     : pitch;
    };
    m_nLeft = arrowWidth(m_nBelow);
    m_nRight = std::max(m_nLeft, width() - 1 - arrowWidth(m_nAbove));

    // Each value's slot on the axis, a dot wide; a full slot passes its dots to the nearest with
    // room, so that no dot is drawn over another.
    const int places = (m_nRight - m_nLeft) / pitch + 1;
    std::vector<int> home(m_values.size(), -1);
    std::vector<int> homeCount(static_cast<std::size_t>(places), 0);
    std::size_t inside = 0;
    for (std::size_t i = 0; i < m_values.size(); ++i) {
        const double value = m_values[i].m_dNumber;
        if (value < m_dLow || value > m_dHigh)
            continue;
        home[i] = std::clamp((XOf(value) - m_nLeft + pitch / 2) / pitch, 0, places - 1);
        ++homeCount[static_cast<std::size_t>(home[i])];
        ++inside;
    }
    // As many rows as the tallest stack, within reason and the room the strip was given.
    m_nWantedRows = std::clamp(std::ranges::max(homeCount), 1, kMostRows);
    int room = m_nWantedRows;
    while (room > 1 && AxisY(room) + BelowAxis() > height())
        --room;
    m_nRows = std::max(room, static_cast<int>((inside + static_cast<std::size_t>(places) - 1) /
                                              static_cast<std::size_t>(places)));
    std::vector<int> filled(static_cast<std::size_t>(places), 0);
    m_dots.assign(m_values.size(), QPoint(-1, -1));
    const int axis = AxisY(m_nRows);
    for (std::size_t i : m_order) {
        if (home[i] < 0)
            continue;
        int slot = home[i];
        for (int step = 0; step < places; ++step) {
            const int right = home[i] + step, left = home[i] - step;
            if (right < places && filled[static_cast<std::size_t>(right)] < m_nRows) {
                slot = right;
                break;
            }
            if (left >= 0 && filled[static_cast<std::size_t>(left)] < m_nRows) {
                slot = left;
                break;
            }
        }
        const int row = filled[static_cast<std::size_t>(slot)]++;
        m_dots[i] = QPoint(m_nLeft + slot * pitch, axis - row * pitch);
    }
    if (m_nWantedRows != wanted)
        updateGeometry();
    update();
}

int CValueStrip::XOf(double value) const {
    if (value < m_dLow)
        return ArrowRect(false).left() + Pitch() / 2;
    if (value > m_dHigh)
        return ArrowRect(true).right() - Pitch() / 2;
    // All equal: every value in the middle.
    const double at = m_dHigh > m_dLow ? (value - m_dLow) / (m_dHigh - m_dLow) : 0.5;
    return m_nLeft + static_cast<int>(std::lround(at * (m_nRight - m_nLeft)));
}

QRect CValueStrip::DotRect(std::size_t index) const {
    const QPoint centre = index < m_dots.size() ? m_dots[index] : QPoint(-1, -1);
    if (centre.x() < 0)
        return {};
    const int size = Pitch() - 1;
    return {centre.x() - size / 2, centre.y() - size / 2, size, size};
}

QRect CValueStrip::ArrowRect(bool above) const {
    if (!(above ? m_nAbove : m_nBelow))
        return {};
    const int height = fontMetrics().height(), top = AxisY(m_nRows) - height / 2;
    const int size =
        Pitch() + 2 + fontMetrics().horizontalAdvance(QString::number(above ? m_nAbove : m_nBelow));
    return above ? QRect(width() - 1 - size, top, size, height) : QRect(1, top, size, height);
}

int CValueStrip::DotAt(const QPoint& point) const {
    const int half = Pitch() / 2;
    for (std::size_t i = 0; i < m_dots.size(); ++i) {
        if (m_dots[i].x() >= 0 && std::abs(point.x() - m_dots[i].x()) <= half &&
            std::abs(point.y() - m_dots[i].y()) <= half)
            return static_cast<int>(i);
    }
    return -1;
}

QString CValueStrip::ToolTipAt(const QPoint& point) const {
    QStringList lines;
    if (const int dot = DotAt(point); dot >= 0) {
        // Every template of the value, not only the one whose dot it is.
        const CValue& shown = m_values[static_cast<std::size_t>(dot)];
        QStringList labels;
        for (const CValue& value : m_values) {
            if (value.m_dNumber == shown.m_dNumber)
                labels.append(value.m_strLabel);
        }
        lines.append(labels.join(QStringLiteral(", ")) + QStringLiteral(": ") + shown.m_strText);
    }
    for (bool above : {false, true}) {
        if (!ArrowRect(above).contains(point))
            continue;
        for (const CValue& value : m_values) {
            if (above ? value.m_dNumber > m_dHigh : value.m_dNumber < m_dLow)
                lines.append(value.m_strLabel + QStringLiteral(": ") + value.m_strText);
        }
    }
    return lines.join(QLatin1Char('\n'));
}

bool CValueStrip::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QString text = ToolTipAt(help->pos());
    if (text.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), text, this);
    return true;
}

void CValueStrip::mouseMoveEvent(QMouseEvent* event) {
    setCursor(DotAt(event->position().toPoint()) >= 0 ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void CValueStrip::mousePressEvent(QMouseEvent* event) {
    const int dot = DotAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && dot >= 0)
        emit TemplateClicked(m_values[static_cast<std::size_t>(dot)].m_nTemplate);
}

void CValueStrip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette colours = palette();
    const QColor ink = colours.color(QPalette::WindowText);
    const int axis = AxisY(m_nRows), pitch = Pitch();
    painter.setPen(colours.color(QPalette::Mid));
    painter.drawLine(m_nLeft, axis, m_nRight, axis);

    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    for (std::size_t i = 0; i < m_dots.size(); ++i) {
        if (m_dots[i].x() >= 0)
            painter.drawEllipse(DotRect(i));
    }
    // The values beyond the axis: an arrow pointing away at each end, their count beside it.
    for (bool above : {false, true}) {
        const QRect room = ArrowRect(above);
        if (room.isEmpty())
            continue;
        const int tip = above ? room.right() : room.left();
        const int base = above ? tip - pitch : tip + pitch;
        painter.setPen(Qt::NoPen);
        painter.drawPolygon(QPolygon({QPoint(tip, axis), QPoint(base, axis - pitch / 2 - 1),
                                      QPoint(base, axis + pitch / 2 + 1)}));
        painter.setPen(ink);
        const QRect count =
            above ? room.adjusted(0, 0, -pitch - 2, 0) : room.adjusted(pitch + 2, 0, 0, 0);
        painter.drawText(count, Qt::AlignVCenter | (above ? Qt::AlignRight : Qt::AlignLeft),
                         QString::number(above ? m_nAbove : m_nBelow));
    }
    if (m_own) {
        // The unit's own: a bar across the dots in the selection's colour, thin enough that a
        // dot under it still shows.
        painter.setPen(QPen(colours.color(QPalette::Highlight), std::max(2, pitch / 3)));
        const int x = XOf(*m_own);
        const int top =
            std::min(axis - (m_nRows - 1) * pitch - pitch / 2, axis - fontMetrics().height() / 2);
        painter.drawLine(x, top, x, axis + pitch / 2);
    }
    // The least and the greatest value beneath the ends.
    if (m_values.empty())
        return;
    const auto [least, greatest] = std::ranges::minmax_element(m_values, {}, &CValue::m_dNumber);
    const int top = axis + std::max(pitch, fontMetrics().height()) / 2 + 2;
    const QRect texts(1, top, width() - 2, fontMetrics().height());
    painter.setPen(ink);
    painter.drawText(texts, Qt::AlignLeft | Qt::AlignTop, least->m_strText);
    painter.drawText(texts, Qt::AlignRight | Qt::AlignTop, greatest->m_strText);
}
