#include "EditorApp.h"

#include "EditorDlg.h"
#include "EditorSettings.h"
#include "QtPrompts.h"

#include <QIcon>
#include <QSettings>

CEditorApp::CEditorApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("tarnwick"));
    setWindowIcon(QIcon(QStringLiteral(":/tarnwick.png")));
    if (m_dialogHistoryDir.isValid())
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           m_dialogHistoryDir.path());
}

int CEditorApp::InitInstance(const std::string& startPath, const std::string& templateSet,
                             bool remember) {
    CQtPrompts prompts;
    CEditorSettings settings =
        remember ? CEditorSettings(CEditorSettings::UserFolder()) : CEditorSettings();
    CEditorDlg editor(prompts, &settings);
    editor.SetStartPath(startPath);
    editor.SetStartTemplateSet(templateSet);
    // Messages of the start (the alias file, a file named on the command line) come before
    // the window shows, so they stand on their own.
    editor.Initialise();
    prompts.SetParentWidget(&editor);
    editor.show();
    // The program ends when the window closes: every way of closing it asks about changes.
    exec();
    return 0;
}
