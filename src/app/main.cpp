#include "EditorApp.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

void PrintUsage(std::FILE* out) {
    std::fputs("Usage: tarnwick [FILE]\nEdits tank files (.odf); FILE is opened at start.\n", out);
}

} // namespace

int main(int argc, char** argv) {
    // Before the application object, so that help needs no display.
    if (argc > 1 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        PrintUsage(stdout);
        return 0;
    }
    CEditorApp app(argc, argv);
    if (argc > 2) {
        PrintUsage(stderr);
        return 2;
    }
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
