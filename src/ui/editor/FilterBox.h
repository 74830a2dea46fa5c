#pragma once

#include <QLineEdit>

// The box above the tree that filters its fields. Enter asks for the first match, Escape empties
// the box; neither reaches the window, where Enter would apply a value and Escape close it.
class CFilterBox : public QLineEdit {
    Q_OBJECT
public:
    explicit CFilterBox(QWidget* parent = nullptr);

signals:
    void FirstMatchRequested();
    void Dismissed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
