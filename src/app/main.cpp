#include "EditorApp.h"

#include <string>

int main(int argc, char** argv) {
    CEditorApp app(argc, argv);
    // Qt has taken its own options out of argv by now; the first argument left is a tank file.
    // It is kept as the bytes the shell passed, like a path from a file dialog.
    const std::string startPath = argc > 1 ? argv[1] : "";
    return app.InitInstance(startPath);
}
