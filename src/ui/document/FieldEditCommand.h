#pragma once

#include "FieldEntry.h"

#include <QUndoCommand>

class CTankDocument;

// One step of the undo history: a field's value and presence before and after a change. The
// keystrokes typed into one field without leaving it form one step; a pick, an Enter and an
// edit that empties the field are steps of their own.
class CFieldEditCommand : public QUndoCommand {
public:
    enum class Kind { Typing, Other };

    // Steps of typing merge with the step before them (QUndoCommand::id()).
    static constexpr int kTypingMergeId = 1;

    // The step that changes document's field of before's index from before to after. typingRun
    // tells runs of typing apart: keystrokes merge only within one run. The history names the
    // step text, or the field's name when text is empty ("Undo maxHealth").
    CFieldEditCommand(CTankDocument& document, const CFieldEntry& before, const CFieldEntry& after,
                      Kind kind, int typingRun, const QString& text = {});

    int id() const override { return m_kind == Kind::Typing ? kTypingMergeId : -1; }
    bool mergeWith(const QUndoCommand* other) override;
    void undo() override;
    void redo() override;

private:
    CTankDocument& m_document;
    CFieldEntry m_before;
    CFieldEntry m_after;
    Kind m_kind;
    int m_nTypingRun;
    bool m_bDone = false; // redone at least once: the first redo is the change being made
};
