#pragma once

#include <QObject>

class CEditorDlg;

// Turns exactly Ctrl+N, Ctrl+O and Ctrl+S, pressed anywhere in the editor window, into its
// File commands before the focused control sees them, so no letter reaches the value box.
// Installed on the application once the window is ready; it ignores the keys while another
// modal window or a popup is open over the editor.
class CShortcutFilter : public QObject {
    Q_OBJECT
public:
    explicit CShortcutFilter(CEditorDlg& editor);
    ~CShortcutFilter() override;

    void Install();
    bool IsInstalled() const { return m_bInstalled; }

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CEditorDlg& m_editor;
    bool m_bInstalled = false;
};
