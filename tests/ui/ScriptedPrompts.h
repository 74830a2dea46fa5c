#pragma once

#include "Prompts.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

// Prompts for tests: every text and dialog is recorded in order, and questions and dialogs are
// answered from a queue. A prompt the test did not queue an answer for fails the test and is
// answered Cancel, so nothing ever waits for a user.
class CScriptedPrompts : public IPrompts {
public:
    // A question's answer, a file dialog's path (std::nullopt: cancelled) or what a
    // multiple-selection dialog returns (none: cancelled).
    using Reply = std::variant<Answer, std::optional<std::string>, std::vector<std::string>>;

    ~CScriptedPrompts() override;

    void Queue(Reply reply) { m_replies.push_back(std::move(reply)); }
    // Returns and forgets what was shown so far.
    std::vector<std::string> TakeShown();

    void Message(const std::string& text) override;
    Answer YesNoCancel(const std::string& text) override;
    bool OpenPath(const std::string& filter, std::string& path) override;
    std::vector<std::string> OpenPaths(const std::string& title,
                                       const std::string& filter) override;
    bool SavePath(const std::string& filter, const std::string& defaultExtension,
                  std::string& path) override;

    // Every message and question text, and "[Open]", "[Open many: title]" or "[Save As .ext]"
    // for each file dialog, in the order shown.
    std::vector<std::string> m_shown;
    // The filter of the last file dialog.
    std::string m_lastFilter;
    // Called with each entry of m_shown as it is recorded, while the prompt is "open".
    std::function<void(const std::string&)> m_onShow;

private:
    void Record(const std::string& entry);
    Reply Next(const std::string& entry);
    std::vector<std::string> Paths(const std::string& entry, const std::string& filter);

    std::deque<Reply> m_replies;
};
