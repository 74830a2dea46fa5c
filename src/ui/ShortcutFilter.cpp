#include "ShortcutFilter.h"

#include "EditorDlg.h"

#include <QApplication>
#include <QKeyEvent>

CShortcutFilter::CShortcutFilter(CEditorDlg& editor) : m_editor(editor) {}

CShortcutFilter::~CShortcutFilter() {
    if (m_bInstalled && qApp)
        qApp->removeEventFilter(this);
}

void CShortcutFilter::Install() {
    if (m_bInstalled)
        return;
    qApp->installEventFilter(this);
    m_bInstalled = true;
}

bool CShortcutFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    // The keypad and the keyboard group are not modifiers the user chose.
    const Qt::KeyboardModifiers modifiers =
        key->modifiers() & ~(Qt::KeypadModifier | Qt::GroupSwitchModifier);
    if (modifiers != Qt::ControlModifier)
        return false;
    const int code = key->key();
    if (code != Qt::Key_N && code != Qt::Key_O && code != Qt::Key_S)
        return false;

    const auto* widget = qobject_cast<const QWidget*>(watched);
    if (!widget || widget->window() != &m_editor)
        return false;
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != &m_editor)
        return false;
    if (QApplication::activePopupWidget())
        return false;

    if (code == Qt::Key_N)
        m_editor.OnFileNew();
    else if (code == Qt::Key_O)
        m_editor.OnFileOpen();
    else
        m_editor.OnFileSave();
    return true;
}
