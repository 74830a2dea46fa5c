#include "FieldEditCommand.h"

#include "ByteText.h"

CFieldEditCommand::CFieldEditCommand(const CFieldEntry& before, const CFieldEntry& after, Kind kind,
                                     int typingRun, Apply apply)
    : m_before(before), m_after(after), m_kind(kind), m_nTypingRun(typingRun),
      m_apply(std::move(apply)) {
    // The menu reads "Undo maxHealth".
    setText(TextOfBytes(before.Name()));
}

bool CFieldEditCommand::mergeWith(const QUndoCommand* other) {
    const auto* next = static_cast<const CFieldEditCommand*>(other);
    if (m_kind != Kind::Typing || next->m_kind != Kind::Typing ||
        next->m_nTypingRun != m_nTypingRun || next->m_before.Index() != m_before.Index())
        return false;
    m_after = next->m_after;
    // Typed back to where the run began: the step changes nothing and leaves the history.
    setObsolete(m_after.SameValueAs(m_before));
    return true;
}

void CFieldEditCommand::undo() {
    m_apply(m_before, true);
}

void CFieldEditCommand::redo() {
    m_apply(m_after, m_bDone);
    m_bDone = true;
}
