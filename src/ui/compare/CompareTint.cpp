#include "CompareTint.h"

#include <QColor>
#include <QPalette>

#include <algorithm>
#include <cmath>

namespace {

// share of the way from base to colour.
QColor Mix(const QColor& base, const QColor& colour, double share) {
    auto mix = [share](float from, float to) { return from + (to - from) * share; };
    return QColor::fromRgbF(mix(base.redF(), colour.redF()), mix(base.greenF(), colour.greenF()),
                            mix(base.blueF(), colour.blueF()));
}

QString Swatch(const QBrush& brush) {
    return QStringLiteral("<span style=\"background-color:%1\">&nbsp;&nbsp;&nbsp;&nbsp;</span> ")
        .arg(brush.color().name());
}

} // namespace

CCompareTint::CCompareTint(const QPalette& palette) {
    const QColor base = palette.color(QPalette::Active, QPalette::Base);
    QColor above = palette.color(QPalette::Active, QPalette::Highlight).toHsv();
    // A grey selection colour has no hue to set against another: a blue stands in for it.
    if (above.hsvHue() < 0 || above.hsvSaturation() < 60)
        above.setHsv(210, 170, std::max(above.value(), 180));
    QColor below;
    below.setHsv((above.hsvHue() + 180) % 360, above.hsvSaturation(), above.value());
    for (std::size_t step = 0; step < kSteps; ++step) {
        // From a fifth of the way to two thirds: even the strongest leaves the text readable.
        const double share = 0.2 + 0.45 * static_cast<double>(step) / (kSteps - 1);
        m_above[step] = QBrush(Mix(base, above, share));
        m_below[step] = QBrush(Mix(base, below, share));
    }
    m_same = QBrush(Mix(base, palette.color(QPalette::Active, QPalette::Text), 0.1));
}

std::size_t CCompareTint::Step(double distance) {
    const double step = std::ceil(distance * kSteps);
    return static_cast<std::size_t>(std::clamp(step, 1.0, double(kSteps))) - 1;
}

QString CCompareTint::Legend() const {
    return QStringLiteral("<p style=\"white-space:pre\">This file's values; beside them the "
                          "templates' are tinted:<br>") +
           Swatch(m_above.back()) + QStringLiteral("a number above this file's<br>") +
           Swatch(m_below.back()) + QStringLiteral("a number below it<br>") + Swatch(m_same) +
           QStringLiteral("a text equal to this file's<br>The further a number is from this "
                          "file's, within the row's range, the stronger its tint.</p>");
}
