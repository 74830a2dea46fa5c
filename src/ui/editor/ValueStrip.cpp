#include "ValueStrip.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

CValueStrip::CValueStrip(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("valueStrip"));
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
}

QSize CValueStrip::sizeHint() const {
    return {0, fontMetrics().height()};
}

int CValueStrip::Margin() const {
    // Room for half a mark at each end.
    return fontMetrics().height() / 3 + 1;
}

void CValueStrip::SetValues(std::vector<double> values, std::optional<double> own) {
    m_values = std::move(values);
    m_own = own;
    m_dLow = m_dHigh = own.value_or(m_values.empty() ? 0.0 : m_values.front());
    for (double value : m_values) {
        m_dLow = std::min(m_dLow, value);
        m_dHigh = std::max(m_dHigh, value);
    }
    update();
}

void CValueStrip::SetOwn(std::optional<double> own) {
    SetValues(std::move(m_values), own);
}

int CValueStrip::XOf(double value) const {
    const int left = Margin(), span = std::max(0, width() - 2 * Margin() - 1);
    // All equal: every value in the middle.
    const double at = m_dHigh > m_dLow ? (value - m_dLow) / (m_dHigh - m_dLow) : 0.5;
    return left + static_cast<int>(std::lround(at * span));
}

void CValueStrip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const int middle = height() / 2, radius = std::max(2, fontMetrics().height() / 5);
    const QPalette colours = palette();
    painter.setPen(colours.color(QPalette::Mid));
    painter.drawLine(Margin(), middle, width() - Margin() - 1, middle);
    // The templates' dots, faint enough that where many stand together reads darker.
    QColor dot = colours.color(QPalette::WindowText);
    dot.setAlpha(110);
    painter.setPen(Qt::NoPen);
    painter.setBrush(dot);
    for (double value : m_values)
        painter.drawEllipse(QPoint(XOf(value), middle), radius, radius);
    if (m_own) {
        // The unit's own: a bar across the axis in the selection's colour.
        painter.setPen(QPen(colours.color(QPalette::Highlight), radius));
        const int x = XOf(*m_own);
        painter.drawLine(x, 1, x, height() - 2);
    }
}
