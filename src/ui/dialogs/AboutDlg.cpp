#include "AboutDlg.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CAboutDlg::CAboutDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint) {
    setWindowTitle(QStringLiteral("About Tarnwick"));

    auto* logo = new QLabel(this);
    logo->setObjectName(QStringLiteral("logo"));
    logo->setPixmap(QPixmap(QStringLiteral(":/about-logo.png")));

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    // Wide enough for the title bar to show the whole title beside its buttons.
    const int side = fontMetrics().averageCharWidth() * 10;
    layout->setContentsMargins(side, side / 5, side, side / 5);
    layout->addWidget(logo, 0, Qt::AlignHCenter);
    for (const char* line : {"Tarnwick Tank Editor", "v1.0", "Made by Brindlemoor"}) {
        auto* label = new QLabel(QString::fromLatin1(line), this);
        label->setTextFormat(Qt::PlainText);
        layout->addWidget(label, 0, Qt::AlignHCenter);
    }
    layout->addSpacing(fontMetrics().height() / 2);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
}
