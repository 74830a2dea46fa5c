#include "OtherKeyEditCommand.h"

#include "ByteText.h"
#include "TankDocument.h"

COtherKeyEditCommand::COtherKeyEditCommand(CTankDocument& document, int index, CValue before,
                                           CValue after, bool typing, int typingRun,
                                           const QString& text)
    : m_document(document), m_nIndex(index), m_before(std::move(before)), m_after(std::move(after)),
      m_bTyping(typing), m_nTypingRun(typingRun) {
    setText(text.isEmpty() ? TextOfBytes(document.OtherKey(index).name) : text);
}

bool COtherKeyEditCommand::mergeWith(const QUndoCommand* other) {
    // Only typing into an other key has this merge id.
    const auto* next = static_cast<const COtherKeyEditCommand*>(other);
    if (next->m_nTypingRun != m_nTypingRun || next->m_nIndex != m_nIndex)
        return false;
    m_after = next->m_after;
    // Typed back to where the run began: the step changes nothing and leaves the history.
    setObsolete(m_after == m_before);
    return true;
}

void COtherKeyEditCommand::undo() {
    m_document.ApplyOtherKey(m_nIndex, m_before.text, m_before.present, true);
}

void COtherKeyEditCommand::redo() {
    m_document.ApplyOtherKey(m_nIndex, m_after.text, m_after.present, m_bDone);
    m_bDone = true;
}
