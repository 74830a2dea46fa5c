#include "RefusingValidator.h"

#include <QLineEdit>

CRefusingValidator::CRefusingValidator(QLineEdit* edit)
    : QValidator(edit), m_accepted(edit->text()) {
    connect(edit, &QLineEdit::textChanged, this, &CRefusingValidator::Accept);
}

void CRefusingValidator::Set(std::function<bool(char32_t)> refuses,
                             std::function<void(char32_t)> onRefused) {
    m_refuses = std::move(refuses);
    m_onRefused = std::move(onRefused);
}

QValidator::State CRefusingValidator::validate(QString& input, int&) const {
    // Whole characters, so that one beyond the 16-bit range is named as itself.
    const std::map<char32_t, int> before = Refused(m_accepted);
    for (const auto& [c, count] : Refused(input)) {
        const auto had = before.find(c);
        if (count > (had == before.end() ? 0 : had->second)) {
            if (m_onRefused)
                m_onRefused(c);
            return Invalid;
        }
    }
    return Acceptable;
}

std::map<char32_t, int> CRefusingValidator::Refused(const QString& text) const {
    std::map<char32_t, int> counts;
    if (m_refuses) {
        for (char32_t c : text.toUcs4()) {
            if (m_refuses(c))
                ++counts[c];
        }
    }
    return counts;
}
