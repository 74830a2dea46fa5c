#include "EditorApp.h"

#include "EditorDlg.h"
#include "QtPrompts.h"

#include <QIcon>

CEditorApp::CEditorApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("tarnwick"));
    setWindowIcon(QIcon(QStringLiteral(":/tarnwick.png")));
}

int CEditorApp::InitInstance(const std::string& startPath) {
    CQtPrompts prompts;
    CEditorDlg editor(prompts);
    editor.SetStartPath(startPath);
    // Messages of the start (the alias file, a file named on the command line) come before
    // the window shows, so they stand on their own.
    editor.Initialise();
    prompts.SetParentWidget(&editor);
    editor.exec();
    return 0;
}
