#include "Message.h"

#include <cstdio>

namespace {

MessageHandler& Handler() {
    static MessageHandler handler;
    return handler;
}

} // namespace

void ShowMessage(const std::string& text, std::error_code error) {
    const std::string reason = error ? error.message() : std::string();
    if (Handler()) {
        Handler()(text, reason);
        return;
    }
    std::fprintf(stderr, "%s\n", MessageLine(text, reason).c_str());
}

std::string MessageLine(const std::string& text, const std::string& reason) {
    return reason.empty() ? text : text + " (" + reason + ")";
}

MessageHandler SetMessageHandler(MessageHandler handler) {
    MessageHandler previous = std::move(Handler());
    Handler() = std::move(handler);
    return previous;
}

std::string FormatText(std::string_view format, std::string_view arg) {
    std::string text(format);
    if (auto at = text.find("%s"); at != std::string::npos)
        text.replace(at, 2, arg);
    return text;
}

std::string FormatNumber(std::string_view format, long long number) {
    std::string text(format);
    if (auto at = text.find("%d"); at != std::string::npos)
        text.replace(at, 2, std::to_string(number));
    return text;
}
