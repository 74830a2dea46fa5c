#pragma once

#include "FileLines.h"

#include <QDialog>

#include <vector>

// Lists the lines of a file that are not fields the editor knows: each line's number, why the
// editor does not use it, and its text.
class CUnusedLinesDlg : public QDialog {
    Q_OBJECT
public:
    CUnusedLinesDlg(QWidget* parent, const std::vector<CUnusedLine>& lines);
};
