#pragma once

#include <QUrl>

class IPrompts;

// What a Help item opens: address, or while it is empty (no address configured) the README
// (ReadmePath of the program's folder and the source tree's README).
QUrl HelpLinkUrl(const QString& address);

// The README installed beside the program in programFolder (its share/doc folder) when it is
// there; else, for a program run from a build, sourceReadme when that is there; else the installed
// path, which is where an installed program's README belongs.
QString ReadmePath(const QString& programFolder, const QString& sourceReadme);

// Opens HelpLinkUrl(address) with the desktop's viewer; when that fails, a message through
// prompts says so, shows the link, so that the user can open it by hand, and says why.
void OpenHelpLink(const QString& address, IPrompts& prompts);
