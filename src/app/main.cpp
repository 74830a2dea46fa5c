#include "CommandLine.h"
#include "EditorApp.h"

int main(int argc, char** argv) {
    // Before the application object, so that help needs no display.
    if (AsksForHelp(argc, argv)) {
        PrintUsage(stdout);
        return 0;
    }
    CEditorApp app(argc, argv);
    // Qt has taken its own options out of argv by now.
    const CCommandLine line = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (line.m_action != CCommandLine::Action::Run) {
        PrintUsage(line.m_action == CCommandLine::Action::Help ? stdout : stderr);
        return line.m_action == CCommandLine::Action::Help ? 0 : 2;
    }
    return app.InitInstance(line.m_strStartPath, line.m_strTemplateSet, !line.m_bNoSettings);
}
