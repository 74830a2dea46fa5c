#pragma once

#include <QValidator>

#include <functional>
#include <map>

class QLineEdit;

// Refuses the user's edits that would add a character of some kind. Qt asks a validator about
// the whole text a keystroke or a paste would make, so nothing partial gets in. What the text
// already holds stays acceptable: the program put it there (a value read from a file may hold a
// lone CR, and reads back with it), and the rest of it must remain editable. A text refused
// once would also make the edit field take any later edit unchecked.
class CRefusingValidator : public QValidator {
    Q_OBJECT
public:
    // Checks the edits of edit, whose text is accepted as it stands now and whenever it changes.
    explicit CRefusingValidator(QLineEdit* edit);

    // From now on refuses the edits that add a character for which refuses is true, calling
    // onRefused with the first such character.
    void Set(std::function<bool(char32_t)> refuses, std::function<void(char32_t)> onRefused);

    // text is in the edit field, or the program is about to put it there.
    void Accept(const QString& text) { m_accepted = text; }

    State validate(QString& input, int& position) const override;

private:
    // How often text holds each character that is refused.
    std::map<char32_t, int> Refused(const QString& text) const;

    std::function<bool(char32_t)> m_refuses;
    QString m_accepted;
    std::function<void(char32_t)> m_onRefused;
};
