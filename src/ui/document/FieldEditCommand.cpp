#include "FieldEditCommand.h"

#include "ByteText.h"
#include "TankDocument.h"

CFieldEditCommand::CFieldEditCommand(CTankDocument& document, const CFieldEntry& before,
                                     const CFieldEntry& after, Kind kind, int typingRun,
                                     const QString& text)
    : m_document(document), m_before(before), m_after(after), m_kind(kind),
      m_nTypingRun(typingRun) {
    setText(text.isEmpty() ? TextOfBytes(before.Name()) : text);
}

bool CFieldEditCommand::mergeWith(const QUndoCommand* other) {
    // Only typing has the merge id, so other is a step of typing too.
    const auto* next = static_cast<const CFieldEditCommand*>(other);
    if (next->m_nTypingRun != m_nTypingRun || next->m_before.Index() != m_before.Index())
        return false;
    m_after = next->m_after;
    // Typed back to where the run began: the step changes nothing and leaves the history.
    setObsolete(m_after.SameAs(m_before));
    return true;
}

void CFieldEditCommand::undo() {
    m_document.ApplyField(m_before, true);
}

void CFieldEditCommand::redo() {
    m_document.ApplyField(m_after, m_bDone);
    m_bDone = true;
}
