#pragma once

#include <string>
#include <vector>

// Every question the editor asks and every message it shows goes through this interface: the
// editor uses the Qt implementation (message boxes and file dialogs), tests a scripted one, so
// that no test ever blocks on a modal box. Texts and paths are byte strings, as in the core.
class IPrompts {
public:
    enum class Answer { Yes, No, Cancel };

    virtual ~IPrompts() = default;

    // A message with an OK button; detail, when not empty, says more below it (the reason of a
    // failure).
    virtual void Message(const std::string& text, const std::string& detail = {}) = 0;

    // A question with Yes, No and Cancel; Yes is the default button, Escape answers Cancel.
    virtual Answer YesNoCancel(const std::string& text) = 0;

    // An open-file dialog for one file (the file need not exist, its folder must). filter is in
    // Qt's form, e.g. "Tank Files (*.odf);;All Files (*)". Returns false when cancelled.
    virtual bool OpenPath(const std::string& filter, std::string& path) = 0;

    // An open-file dialog for several existing files, with a title. Empty when cancelled.
    virtual std::vector<std::string> OpenPaths(const std::string& title,
                                               const std::string& filter) = 0;

    // A save-file dialog: a name typed without an extension gets defaultExtension (without the
    // point), and replacing an existing file is asked first. Returns false when cancelled.
    virtual bool SavePath(const std::string& filter, const std::string& defaultExtension,
                          std::string& path) = 0;
};
