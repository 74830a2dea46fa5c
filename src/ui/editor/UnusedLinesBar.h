#pragma once

#include <QWidget>

class QLabel;

// Says how many lines of the open file the editor does not know, with a button that lists them.
// Hidden while there are none.
class CUnusedLinesBar : public QWidget {
    Q_OBJECT
public:
    explicit CUnusedLinesBar(QWidget* parent = nullptr);

    // Shows the count, or hides the bar for 0.
    void SetCount(std::size_t count);

signals:
    void ShowRequested();

private:
    QLabel* m_text;
};
