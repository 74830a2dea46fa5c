#pragma once

#include "Prompts.h"

#include <QPointer>
#include <QWidget>

class QFileDialog;

// The prompts as the user sees them: message boxes captioned with the application's name and
// Qt's own file dialogs (the same on every desktop, so a name typed without an extension gets
// one before the overwrite question is asked, not after). Each file dialog opens in the folder
// of the file last chosen in any of them; nothing of it is kept between runs.
class CQtPrompts : public IPrompts {
public:
    // The window the boxes and dialogs are centred on and modal to; none before it exists.
    void SetParentWidget(QWidget* parent) { m_parent = parent; }

    void Message(const std::string& text, const std::string& detail = {}) override;
    Answer YesNoCancel(const std::string& text) override;
    bool OpenPath(const std::string& filter, std::string& path) override;
    std::vector<std::string> OpenPaths(const std::string& title,
                                       const std::string& filter) override;
    bool SavePath(const std::string& filter, const std::string& defaultExtension,
                  std::string& path) override;

private:
    QWidget* Owner() const;
    // Sets the dialog up for filter, in the folder last used.
    void Prepare(QFileDialog& dialog, const std::string& filter) const;
    // The chosen files of an accepted dialog, remembering their folder; none when cancelled.
    QStringList Chosen(QFileDialog& dialog);

    QPointer<QWidget> m_parent;
    QString m_lastFolder;
};
