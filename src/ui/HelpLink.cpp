#include "HelpLink.h"

#include "ByteText.h"
#include "Message.h"
#include "Prompts.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>

#ifndef TARNWICK_README_FROM_BIN
#error "TARNWICK_README_FROM_BIN must be defined by the build"
#endif
#ifndef TARNWICK_SOURCE_README
#error "TARNWICK_SOURCE_README must be defined by the build"
#endif

QUrl HelpLinkUrl(const QString& address) {
    if (!address.isEmpty())
        return QUrl(address);
    // Found from the program's own folder, so that it holds for any install prefix (a package
    // installs under /usr whatever the build was configured with).
    const QFileInfo installed(QCoreApplication::applicationDirPath() + QLatin1Char('/') +
                              QStringLiteral(TARNWICK_README_FROM_BIN));
    return QUrl::fromLocalFile(installed.exists() ? installed.canonicalFilePath()
                                                  : QStringLiteral(TARNWICK_SOURCE_README));
}

void OpenHelpLink(const QString& address, IPrompts& prompts) {
    const QUrl url = HelpLinkUrl(address);
    if (!QDesktopServices::openUrl(url))
        prompts.Message(FormatText("Could not open '%s'.", url.isLocalFile()
                                                               ? BytesOfPath(url.toLocalFile())
                                                               : BytesOfText(url.toString())));
}
