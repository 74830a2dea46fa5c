#include "EditorApp.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

void PrintUsage(std::FILE* out) {
    std::fputs("Usage: tarnwick [--templates SET] [FILE]\n"
               "Edits tank files (.odf); FILE is opened at start, then the template set file\n"
               "SET is loaded as Template > Load Set would.\n",
               out);
}

// The path as the shell passed its bytes, made absolute so that the title and the save question
// show the whole path, as after File > Open.
std::string Absolute(const std::string& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.string();
}

} // namespace

int main(int argc, char** argv) {
    // Before the application object, so that help needs no display.
    if (argc > 1 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        PrintUsage(stdout);
        return 0;
    }
    CEditorApp app(argc, argv);
    // Qt has taken its own options out of argv by now.
    std::string startPath;
    std::string templateSet;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--templates") == 0 && i + 1 < argc && templateSet.empty()) {
            templateSet = argv[++i];
        } else if (std::strncmp(argv[i], "--", 2) != 0 && startPath.empty()) {
            startPath = Absolute(argv[i]);
        } else {
            PrintUsage(stderr);
            return 2;
        }
    }
    return app.InitInstance(startPath, templateSet);
}
