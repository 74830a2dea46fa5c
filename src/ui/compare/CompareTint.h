#pragma once

#include <QBrush>
#include <QString>

#include <array>

class QPalette;

// The tints of the comparison's template values, mixed from a palette's colours into its base so
// that text reads on them on a dark theme as on a light one: a number above this file's in the
// selection's hue, one below in the opposite hue, each in steps that grow with the distance; a
// text equal to this file's in a faint shade of the text colour.
class CCompareTint {
public:
    static constexpr int kSteps = 4;

    explicit CCompareTint(const QPalette& palette);

    // distance: how far the value lies from this file's, as a share of the row's range, (0, 1].
    const QBrush& Above(double distance) const { return m_above[Step(distance)]; }
    const QBrush& Below(double distance) const { return m_below[Step(distance)]; }
    const QBrush& SameText() const { return m_same; }

    // What the tints mean, as rich text for a tooltip: a swatch of each beside its meaning.
    QString Legend() const;

private:
    static std::size_t Step(double distance);

    std::array<QBrush, kSteps> m_above;
    std::array<QBrush, kSteps> m_below;
    QBrush m_same;
};
