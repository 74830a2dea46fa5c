#pragma once

#include <QWidget>

#include <cstddef>

class QLabel;

// Says how many lines of the open file the editor does not know and how many values it reads
// unlike they look, with a button that lists them. Hidden while there are none.
class CUnusedLinesBar : public QWidget {
    Q_OBJECT
public:
    explicit CUnusedLinesBar(QWidget* parent = nullptr);

    // Shows the counts of unused lines and of values read unlike they look, or hides the bar
    // when both are 0.
    void SetCounts(std::size_t unused, std::size_t misread);

signals:
    void ShowRequested();

private:
    QLabel* m_text;
};
