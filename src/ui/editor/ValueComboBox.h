#pragma once

#include "FieldEntry.h"
#include "TextEncoding.h"
#include "ValueItemDelegate.h"

#include <QComboBox>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QAction;
class CRefusingValidator;

// The value box: an editable combo box whose edit field holds the value being edited and whose
// list offers other values, each marked with a label (the template it comes from). The list is
// kept sorted, by text ignoring case or by number, and the edit field keeps whatever text it was
// given: adding items never picks one.
class CValueComboBox : public QComboBox {
    Q_OBJECT
public:
    static constexpr int kLabelRole = Qt::UserRole;
    // Where the value comes from (a template's position in its list), so that picking an item
    // takes exactly what the template holds, written as its file writes it.
    static constexpr int kSourceRole = Qt::UserRole + 1;

    struct Item {
        QString text;
        QString label;
        int source = -1;
        double number = 0; // the value of an item of a list of numbers
    };

    // Numbers are listed by value: by text, 10000 would come before 2000.
    enum class Order { Text, Number };

    explicit CValueComboBox(QWidget* parent = nullptr);

    // Replaces the list with items, sorted by order (by text ignoring case, or by number; equal
    // items keep their order), in one step; no item becomes current and the edit text stays.
    void SetItems(std::vector<Item> items, Order order = Order::Text);

    // Removes every item; the edit text stays.
    void ResetContent();

    // Shows field's value in the edit field as the program's own text (no EditChanged): its
    // formatted value, or nothing when it is absent.
    void SetShownValue(const CFieldEntry& field);
    // Empties the edit field, which then shows no field.
    void ClearShownValue();
    // Shows text's bytes as they are (a key the schema does not know has no type to format them
    // by), as the program's own text.
    void SetShownText(const std::string& bytes);
    // The edit text as bytes of the encoding last set: the bytes last shown while the text is as
    // shown (even when they are not UTF-8), the user's text otherwise.
    std::string EditBytes() const;
    // Applies the edit text to field as the user's typing (ApplyTypedValue), in the encoding
    // last set. The text as last shown gives back the field last shown, whole (bytes that are
    // not UTF-8, a present empty String, a number's text as given): applying what the user
    // never touched changes nothing.
    void ApplyTo(CFieldEntry& field) const;
    // The encoding of the document that ApplyTo's fields belong to (Windows-1252 at first).
    void SetEncoding(TextEncoding encoding) { m_nEncoding = encoding; }

    // From now on the edit field refuses the user's edits that would add a character for which
    // refuses is true (the text stays as it was) and calls onRefused with the first such
    // character. An empty refuses accepts everything. Text the program sets is never checked,
    // and what it holds may stay.
    void RefuseCharacters(std::function<bool(char32_t)> refuses,
                          std::function<void(char32_t)> onRefused);

    // Shows a warning sign at the end of the edit field with toolTip as its tip; an empty
    // toolTip takes it away. Its action is named "valueWarning".
    void SetWarning(const QString& toolTip);

    // Opens the list at the row of the edit text, or at its top, as wide as its items need.
    void showPopup() override;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The wheel does not step through the values: scrolling past the box must not change the
    // document. The list still scrolls while it is open.
    void wheelEvent(QWheelEvent* event) override;

signals:
    // The user changed the edit text (typing, pasting, deleting).
    void EditChanged(const QString& text);

private:
    // The list shows this many rows at once, when it holds them and the screen has room.
    static constexpr int kVisibleRows = 20;

    QString EditText() const;
    // Sets the edit text without raising EditChanged: only the user's own edits do.
    void SetEditText(const QString& text);
    void EnsureDelegate();
    // Makes the list wide enough for every label and value, as far as the screen allows.
    void FitListWidth();

    CValueItemDelegate::Colours m_colours; // as the palette had them when the box was made
    CValueItemDelegate* m_delegate = nullptr;
    CRefusingValidator* m_validator = nullptr;
    QAction* m_warning = nullptr;
    TextEncoding m_nEncoding = TextEncoding::Windows1252;

    // The edit text as the program last set it, and the field or the bytes it shows.
    QString m_shownText;
    std::optional<CFieldEntry> m_shown;
    std::string m_strShownBytes;
};
