#include "QtPrompts.h"

#include "ByteText.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

QWidget* CQtPrompts::Owner() const {
    // A box must belong to the topmost modal window (a progress or Template Files dialog over
    // the main window), or that window would block it and nothing could answer it.
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return m_parent;
}

void CQtPrompts::Message(const std::string& text, const std::string& detail) {
    QMessageBox box(QMessageBox::Warning, QApplication::applicationName(), TextOfBytes(text),
                    QMessageBox::Ok, Owner());
    box.setTextFormat(Qt::PlainText);
    box.setInformativeText(TextOfBytes(detail));
    box.exec();
}

void CQtPrompts::Prepare(QFileDialog& dialog, const std::string& filter) const {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilter(TextOfBytes(filter));
    if (!m_lastFolder.isEmpty())
        dialog.setDirectory(m_lastFolder);
}

QStringList CQtPrompts::Chosen(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    const QStringList files = dialog.selectedFiles();
    m_lastFolder = QFileInfo(files.constFirst()).absolutePath();
    return files;
}

IPrompts::Answer CQtPrompts::YesNoCancel(const std::string& text) {
    QMessageBox box(QMessageBox::Question, QApplication::applicationName(), TextOfBytes(text),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, Owner());
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

bool CQtPrompts::OpenPath(const std::string& filter, std::string& path) {
    QFileDialog dialog(Owner());
    Prepare(dialog, filter);
    // The file need not exist yet: opening a name that is not there reports it, as any failed
    // open does.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    const QStringList files = Chosen(dialog);
    if (files.isEmpty())
        return false;
    path = BytesOfPath(files.constFirst());
    return true;
}

std::vector<std::string> CQtPrompts::OpenPaths(const std::string& title,
                                               const std::string& filter) {
    QFileDialog dialog(Owner());
    Prepare(dialog, filter);
    dialog.setWindowTitle(TextOfBytes(title));
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    std::vector<std::string> paths;
    for (const QString& file : Chosen(dialog))
        paths.push_back(BytesOfPath(file));
    return paths;
}

bool CQtPrompts::SavePath(const std::string& filter, const std::string& defaultExtension,
                          std::string& path) {
    QFileDialog dialog(Owner());
    Prepare(dialog, filter);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(TextOfBytes(defaultExtension));
    const QStringList files = Chosen(dialog);
    if (files.isEmpty())
        return false;
    path = BytesOfPath(files.constFirst());
    return true;
}
