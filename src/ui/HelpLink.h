#pragma once

#include <QUrl>

class IPrompts;

// What a Help item opens: address, or while it is empty (no address configured) the README
// installed with the program, or, run from a build, the source tree's.
QUrl HelpLinkUrl(const QString& address);

// Opens HelpLinkUrl(address) with the desktop's viewer; when that fails, a message through
// prompts says so and shows the link, so that the user can open it by hand.
void OpenHelpLink(const QString& address, IPrompts& prompts);
