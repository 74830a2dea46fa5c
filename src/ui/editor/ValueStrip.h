#pragma once

#include <QString>
#include <QWidget>

#include <optional>
#include <vector>

// Where a unit's value stands among the templates', as a picture: a dot for each template's value
// on one axis, stacked where values meet so that none hides another, and a mark for the unit's
// own, so that one look says whether the unit is in line with the others. The axis spans the
// middle nine tenths of the values and the unit's own; the values beyond it are counted at its
// ends under an arrow, so that one far outlier does not crowd the rest together. The least and
// greatest value are written beneath the ends. A dot names its templates in its tooltip and tells
// which template it is when clicked.
class CValueStrip : public QWidget {
    Q_OBJECT
public:
    // A template's value: as a number, as its file writes it, the template's name and its
    // position in the template list.
    struct CValue {
        double m_dNumber;
        QString m_strText;
        QString m_strLabel;
        int m_nTemplate;
    };

    explicit CValueStrip(QWidget* parent = nullptr);

    // The templates' values and the unit's own, if it sets one.
    void SetValues(std::vector<CValue> values, std::optional<double> own);
    // The unit's own value alone.
    void SetOwn(std::optional<double> own);

    // The x at which value is drawn on the axis; a value beyond it, at the arrow of its end.
    int XOf(double value) const;
    // Where the dot of the value at index (in SetValues' order) is drawn; an empty rectangle for
    // a value beyond the axis.
    QRect DotRect(std::size_t index) const;
    // Where the arrow of the values below the axis (or above it) is drawn; empty when there are
    // none.
    QRect ArrowRect(bool above) const;

    QSize sizeHint() const override;

signals:
    // The dot of the template at position in the list was clicked.
    void TemplateClicked(int position);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    // The axis and every dot's place, from the values, the unit's own and the width.
    void Layout();
    int Pitch() const;
    // The axis' height with rows of dots above it, and the room it takes below.
    int AxisY(int rows) const;
    int BelowAxis() const;
    // The index of the value whose dot is at point, or -1.
    int DotAt(const QPoint& point) const;
    QString ToolTipAt(const QPoint& point) const;

    std::vector<CValue> m_values;
    // The values' numbers in order, and the values' positions in that order (equal ones as
    // listed): sorted once when the values come, not at each key typed into this file's value.
    std::vector<double> m_sorted;
    std::vector<std::size_t> m_order;
    std::optional<double> m_own;
    double m_dLow = 0; // the axis' ends
    double m_dHigh = 0;
    int m_nLeft = 0; // the axis' ends, in pixels
    int m_nRight = 0;
    int m_nRows = 1;            // the dots a stack holds
    int m_nWantedRows = 1;      // and would hold, given the room
    std::vector<QPoint> m_dots; // each value's dot's centre; (-1, -1) beyond the axis
    std::size_t m_nBelow = 0;   // values below the axis
    std::size_t m_nAbove = 0;   // and above it
};
