#include "TemplateSetFile.h"

#include "FileError.h"
#include "FileIo.h"
#include "Message.h"
#include "TextLines.h"

#include <exception>

bool ReadTemplateSetFile(const std::string& path, std::vector<std::string>& paths) {
    // Memory running out on a huge file fails like an unreadable file.
    std::error_code error;
    try {
        std::string bytes;
        if (ReadWholeFile(path, bytes, error)) {
            paths = ParseTemplateSetText(bytes);
            return true;
        }
    } catch (const std::exception&) {
        error = FileError::TooLarge;
    }
    ShowMessage(FormatText("Error opening template set file '%s'", path), error);
    return false;
}

std::vector<std::string> ParseTemplateSetText(std::string_view bytes) {
    std::vector<std::string> lines;
    ForEachLine(bytes, [&lines](std::string_view line) { lines.emplace_back(line); });
    return lines;
}

bool WriteTemplateSetFile(const std::string& path, const std::vector<std::string>& paths) {
    std::error_code error;
    try {
        std::string text;
        for (const std::string& line : paths) {
            text += line;
            text += '\n';
        }
        if (WriteFileAtomically(path, text, error))
            return true;
    } catch (const std::exception&) {
        error = FileError::TooLarge;
    }
    ShowMessage(FormatText("Error writing template set file '%s'", path), error);
    return false;
}
