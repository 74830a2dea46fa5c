#include "UnusedLinesBar.h"

#include "Message.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

CUnusedLinesBar::CUnusedLinesBar(QWidget* parent) : QWidget(parent), m_text(new QLabel(this)) {
    m_text->setObjectName(QStringLiteral("unusedLinesText"));
    m_text->setTextFormat(Qt::PlainText);
    m_text->setWordWrap(true);
    auto* show = new QPushButton(QStringLiteral("&Show"), this);
    show->setObjectName(QStringLiteral("unusedLinesShow"));
    // The tree keeps the focus: a click or Alt+S shows the list, Tab does not stop here on the
    // way.
    show->setFocusPolicy(Qt::ClickFocus);
    connect(show, &QPushButton::clicked, this, &CUnusedLinesBar::ShowRequested);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_text, 1);
    layout->addWidget(show);
    hide();
}

void CUnusedLinesBar::SetCounts(std::size_t unused, std::size_t misread) {
    if (unused == 0 && misread == 0) {
        hide();
        return;
    }
    const auto count = [](const char* one, const char* many, std::size_t n) {
        return FormatNumber(n == 1 ? one : many, static_cast<long long>(n));
    };
    std::string text;
    if (unused > 0)
        text = count("%d line of this file is not a field the editor knows",
                     "%d lines of this file are not fields the editor knows", unused);
    if (misread > 0)
        text += unused > 0 ? count("; %d value is read unlike it looks",
                                   "; %d values are read unlike they look", misread)
                           : count("%d value of this file is read unlike it looks",
                                   "%d values of this file are read unlike they look", misread);
    m_text->setText(QString::fromStdString(text + '.'));
    show();
}
