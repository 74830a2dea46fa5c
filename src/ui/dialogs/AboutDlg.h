#pragma once

#include <QDialog>

// The About box: the group's logo, the program's name and version, and who made it.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};
