#pragma once

#include <QUndoCommand>

#include <string>

class CTankDocument;

// One step of the undo history for a key the schema does not know (an other key): its raw value
// and presence before and after a change. Typing into one key merges into one step, as typing
// into a field does (CFieldEditCommand).
class COtherKeyEditCommand : public QUndoCommand {
public:
    // The raw value of a key and whether it is set.
    struct CValue {
        std::string text;
        bool present = true;
        bool operator==(const CValue&) const = default;
    };

    // Steps of typing merge with the step before them; fields' steps have an id of their own.
    static constexpr int kTypingMergeId = 2;

    // The step that changes document's other key at index from before to after; typing and
    // typingRun as for fields. The history names the step text, or after the key when text is
    // empty ("Undo soundTurbo").
    COtherKeyEditCommand(CTankDocument& document, int index, CValue before, CValue after,
                         bool typing, int typingRun, const QString& text = {});

    int id() const override { return m_bTyping ? kTypingMergeId : -1; }
    bool mergeWith(const QUndoCommand* other) override;
    void undo() override;
    void redo() override;

private:
    CTankDocument& m_document;
    int m_nIndex;
    CValue m_before;
    CValue m_after;
    bool m_bTyping;
    int m_nTypingRun;
    bool m_bDone = false; // redone at least once: the first redo is the change being made
};
