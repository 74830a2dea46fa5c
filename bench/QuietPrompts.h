#pragma once

#include "Prompts.h"

// Prompts for benchmarks: shows nothing, answers No, and answers every open dialog with one
// path (cancelling save dialogs), so that no step waits for a user.
class CQuietPrompts : public IPrompts {
public:
    std::string m_strPath;
    void Message(const std::string&) override {}
    Answer YesNoCancel(const std::string&) override { return Answer::No; }
    bool OpenPath(const std::string&, std::string& path) override {
        path = m_strPath;
        return true;
    }
    std::vector<std::string> OpenPaths(const std::string&, const std::string&) override {
        return {};
    }
    bool SavePath(const std::string&, const std::string&, std::string&) override { return false; }
};
