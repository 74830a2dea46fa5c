#include "FilterBox.h"

#include <QKeyEvent>

CFilterBox::CFilterBox(QWidget* parent) : QLineEdit(parent) {
    setObjectName(QStringLiteral("filter"));
    setPlaceholderText(QStringLiteral("Find a field (Ctrl+F)"));
    setClearButtonEnabled(true);
    // A file dropped here opens, as anywhere on the window; it is not text to search for.
    setAcceptDrops(false);
}

void CFilterBox::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        emit FirstMatchRequested();
        break;
    case Qt::Key_Escape:
        clear();
        emit Dismissed();
        break;
    default:
        QLineEdit::keyPressEvent(event);
        return;
    }
    event->accept();
}
