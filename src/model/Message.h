#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <system_error>

// Core code reports failures to the user through one installed handler: the editor shows a
// message box, the command-line tool prints to stderr, tests capture the texts. A message is
// its fixed text and, for a failure that has one, the reason (empty when there is none).
using MessageHandler = std::function<void(const std::string& text, const std::string& reason)>;

// Passes text and the reason that error gives (none when error is clear) to the installed
// handler; with none installed, prints MessageLine of them to stderr.
void ShowMessage(const std::string& text, std::error_code error = {});

// A message on one line: "TEXT (REASON)", or TEXT alone when there is no reason.
std::string MessageLine(const std::string& text, const std::string& reason);

// Installs handler (an empty one restores the stderr default) and returns the previous one.
MessageHandler SetMessageHandler(MessageHandler handler);

// Replaces the first "%s" of format with arg, byte for byte. The program's messages carry at
// most one argument, and a path may hold '%' itself, so printf-style formatting is not used.
std::string FormatText(std::string_view format, std::string_view arg);

// Replaces the first "%d" of format with number in decimal. Where a message also has a "%s",
// format the number first: the "%s" may bring text that holds "%d" itself.
std::string FormatNumber(std::string_view format, long long number);
