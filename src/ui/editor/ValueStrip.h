#pragma once

#include <QWidget>

#include <optional>
#include <vector>

// Where a unit's value stands among the templates', as a picture: one axis across the widget
// from the least value to the greatest, a dot for each template's value and a mark for the
// unit's own, so that one look says whether the unit is in line with the others.
class CValueStrip : public QWidget {
    Q_OBJECT
public:
    explicit CValueStrip(QWidget* parent = nullptr);

    // The templates' values and the unit's own, if it sets one. The axis takes in the unit's
    // value too, so that one far beyond the others shows as far.
    void SetValues(std::vector<double> values, std::optional<double> own);
    // The unit's own value alone.
    void SetOwn(std::optional<double> own);

    // The x at which value is drawn.
    int XOf(double value) const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int Margin() const;

    std::vector<double> m_values;
    std::optional<double> m_own;
    double m_dLow = 0;
    double m_dHigh = 0;
};
