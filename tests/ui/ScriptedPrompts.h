#pragma once

#include "Prompts.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>
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

    ~CScriptedPrompts() override {
        EXPECT_TRUE(m_replies.empty()) << m_replies.size() << " queued replies were not asked for";
    }
    void Queue(Reply reply) { m_replies.push_back(std::move(reply)); }
    // Returns and forgets what was shown so far: every message and question, and "[Open]",
    // "[Open many: title]" or "[Save As .ext]" for each file dialog.
    std::vector<std::string> TakeShown() { return std::exchange(m_shown, {}); }

    void Message(const std::string& text, const std::string& detail = {}) override {
        if (!detail.empty())
            m_details.push_back(text + " | " + detail);
        Record(text);
    }
    Answer YesNoCancel(const std::string& text) override {
        const Reply reply = Next(text);
        return std::holds_alternative<Answer>(reply) ? std::get<Answer>(reply) : Answer::Cancel;
    }
    bool OpenPath(const std::string& filter, std::string& path) override {
        return First(Paths("[Open]", filter), path);
    }
    std::vector<std::string> OpenPaths(const std::string& title,
                                       const std::string& filter) override {
        return Paths("[Open many: " + title + "]", filter);
    }
    bool SavePath(const std::string& filter, const std::string& extension,
                  std::string& path) override {
        return First(Paths("[Save As ." + extension + "]", filter), path);
    }

    std::vector<std::string> m_shown;
    // "text | detail" for each message shown with a detail, in order.
    std::vector<std::string> m_details;
    // The filter of the last file dialog.
    std::string m_lastFilter;
    // Called with each entry of m_shown as it is recorded, while the prompt is "open".
    std::function<void(const std::string&)> m_onShow;

private:
    void Record(const std::string& entry) {
        m_shown.push_back(entry);
        if (m_onShow)
            m_onShow(entry);
    }
    Reply Next(const std::string& entry) {
        Record(entry);
        if (m_replies.empty()) {
            ADD_FAILURE() << "unexpected prompt: " << entry;
            return Answer::Cancel;
        }
        Reply reply = std::move(m_replies.front());
        m_replies.pop_front();
        return reply;
    }
    std::vector<std::string> Paths(const std::string& entry, const std::string& filter) {
        m_lastFilter = filter;
        const Reply reply = Next(entry);
        if (const auto* path = std::get_if<std::optional<std::string>>(&reply))
            return *path ? std::vector<std::string>{**path} : std::vector<std::string>{};
        EXPECT_TRUE(std::holds_alternative<std::vector<std::string>>(reply)) << entry;
        return std::holds_alternative<Answer>(reply) ? std::vector<std::string>{}
                                                     : std::get<std::vector<std::string>>(reply);
    }
    static bool First(const std::vector<std::string>& paths, std::string& path) {
        if (!paths.empty())
            path = paths.front();
        return !paths.empty();
    }

    std::deque<Reply> m_replies;
};
