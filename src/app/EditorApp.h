#pragma once

#include <QApplication>
#include <QTemporaryDir>

#include <string>

// The editor's application object: runs the main window, and the program ends when the window
// closes. Its name, "tarnwick", is the caption of every message box.
class CEditorApp : public QApplication {
    Q_OBJECT
public:
    CEditorApp(int& argc, char** argv);

    // Runs the main window, opening startPath first and then loading the template set file
    // templateSet, each when it is not empty; with remember, what the user's settings file
    // remembers is read at start and written at the end. Returns the exit code.
    int InitInstance(const std::string& startPath, const std::string& templateSet,
                     bool remember = true);

private:
    // Qt's file dialogs keep a history of their own in the user's configuration folder, beside
    // the program's settings file; it goes here instead, and is gone when the program ends.
    QTemporaryDir m_dialogHistoryDir;
};
