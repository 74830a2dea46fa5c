#pragma once

#include "FieldEntry.h"

#include <QUndoCommand>

#include <functional>

// One step of the undo history: a field's value and presence before and after a change. The
// keystrokes typed into one field without leaving it form one step; a pick, an Enter and an
// edit that empties the field are steps of their own.
class CFieldEditCommand : public QUndoCommand {
public:
    enum class Kind { Typing, Other };

    // Puts value into the document's field of the same index and shows it. fromHistory is false
    // for the change itself, made as the user typed or picked it, and true for an undo or redo,
    // which must also select the field and show it in the value box.
    using Apply = std::function<void(const CFieldEntry& value, bool fromHistory)>;

    // typingRun tells runs of typing apart: keystrokes merge only within one run.
    CFieldEditCommand(const CFieldEntry& before, const CFieldEntry& after, Kind kind, int typingRun,
                      Apply apply);

    int id() const override { return 1; }
    bool mergeWith(const QUndoCommand* other) override;
    void undo() override;
    void redo() override;

private:
    CFieldEntry m_before;
    CFieldEntry m_after;
    Kind m_kind;
    int m_nTypingRun;
    Apply m_apply;
    bool m_bDone = false; // redone at least once: the first redo is the change being made
};
