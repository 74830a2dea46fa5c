#pragma once

#include <QKeySequence>
#include <QList>

class QKeyEvent;

// View > Compare Units.
inline constexpr QKeyCombination kCompareUnitsKey{Qt::CTRL, Qt::Key_K};

// The keys of the commands that every desktop editor has, on every platform: the platform's own
// keys, and beside them the ones users bring from other systems (Redo on Ctrl+Y, Save As on
// Ctrl+Shift+S, Quit on Ctrl+Q), which some platforms' key schemes leave out.
QList<QKeySequence> ShortcutsOf(QKeySequence::StandardKey key);

// The keys that key has on every platform as a menu shows them, "Ctrl+Shift+Z, Ctrl+Y".
QString ShortcutText(QKeySequence::StandardKey key);

// True for a key of the window's commands that an edit field would otherwise take as one of its
// own editing keys: Undo and Redo, which belong to the document's history wherever the focus is,
// and Compare Units (Ctrl+K deletes to the end of the line in some key schemes).
bool IsWindowCommandKey(const QKeyEvent* event);
