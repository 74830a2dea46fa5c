#include "EditorApp.h"

#include <filesystem>
#include <string>
#include <system_error>

int main(int argc, char** argv) {
    CEditorApp app(argc, argv);
    // Qt has taken its own options out of argv by now; the first argument left is a tank file.
    // It stays the bytes the shell passed, made absolute so that the title and the save
    // question show the whole path, as after File > Open.
    std::string startPath = argc > 1 ? argv[1] : "";
    if (!startPath.empty()) {
        std::error_code error;
        const std::filesystem::path absolute = std::filesystem::absolute(startPath, error);
        if (!error)
            startPath = absolute.string();
    }
    return app.InitInstance(startPath);
}
