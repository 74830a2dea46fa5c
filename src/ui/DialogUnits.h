#pragma once

#include <QFontMetrics>

// Sizes are kept in dialog units of a widget's font, so that the arrangement holds whatever font
// the desktop gives: a quarter of the average character width across, an eighth of the line
// height down. The font's own average width is used; measuring a sample text would cost more
// than the rest of the window's start.
class CDialogUnits {
public:
    explicit CDialogUnits(const QFontMetrics& metrics)
        : m_nBaseX(metrics.averageCharWidth()), m_nBaseY(metrics.height()) {}

    int X(int x) const { return (x * m_nBaseX + 2) / 4; }
    int Y(int y) const { return (y * m_nBaseY + 4) / 8; }

private:
    int m_nBaseX;
    int m_nBaseY;
};
