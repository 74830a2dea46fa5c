#include "UnusedLinesBar.h"

#include "Message.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

CUnusedLinesBar::CUnusedLinesBar(QWidget* parent) : QWidget(parent), m_text(new QLabel(this)) {
    m_text->setObjectName(QStringLiteral("unusedLinesText"));
    m_text->setTextFormat(Qt::PlainText);
    m_text->setWordWrap(true);
    auto* show = new QPushButton(QStringLiteral("Show"), this);
    show->setObjectName(QStringLiteral("unusedLinesShow"));
    // The tree keeps the focus: a click shows the list, Tab does not stop here on the way.
    show->setFocusPolicy(Qt::ClickFocus);
    connect(show, &QPushButton::clicked, this, &CUnusedLinesBar::ShowRequested);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_text, 1);
    layout->addWidget(show);
    hide();
}

void CUnusedLinesBar::SetCount(std::size_t count) {
    if (count == 0) {
        hide();
        return;
    }
    m_text->setText(QString::fromStdString(FormatNumber(
        "%d lines of this file are not fields the editor knows.", static_cast<long long>(count))));
    show();
}
