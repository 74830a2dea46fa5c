#include "HelpLink.h"

#include "ByteText.h"
#include "Message.h"
#include "Prompts.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#ifndef TARNWICK_README_FROM_BIN
#error "TARNWICK_README_FROM_BIN must be defined by the build"
#endif
#ifndef TARNWICK_SOURCE_README
#error "TARNWICK_SOURCE_README must be defined by the build"
#endif

QString ReadmePath(const QString& programFolder, const QString& sourceReadme) {
    // Found from the program's own folder, so that it holds for any install prefix (a package
    // installs under /usr whatever the build was configured with).
    const QFileInfo installed(programFolder + QLatin1Char('/') +
                              QStringLiteral(TARNWICK_README_FROM_BIN));
    if (installed.exists())
        return installed.canonicalFilePath();
    // A build's program has no README of its own beside it; an installed one without its README
    // (a system that leaves documentation out) is told where it belongs, not where it was built.
    return QFileInfo::exists(sourceReadme) ? sourceReadme
                                           : QDir::cleanPath(installed.absoluteFilePath());
}

QUrl HelpLinkUrl(const QString& address) {
    if (!address.isEmpty())
        return QUrl(address);
    return QUrl::fromLocalFile(
        ReadmePath(QCoreApplication::applicationDirPath(), QStringLiteral(TARNWICK_SOURCE_README)));
}

void OpenHelpLink(const QString& address, IPrompts& prompts) {
    const QUrl url = HelpLinkUrl(address);
    if (QDesktopServices::openUrl(url))
        return;
    const bool local = url.isLocalFile();
    const std::string why = local && !QFileInfo::exists(url.toLocalFile())
                                ? std::strerror(ENOENT)
                                : "the desktop has no program set to open it";
    prompts.Message(FormatText("Could not open '%s'.", local ? BytesOfPath(url.toLocalFile())
                                                             : BytesOfText(url.toString())),
                    why);
}
