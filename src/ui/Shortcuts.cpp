#include "Shortcuts.h"

#include <QKeyEvent>

namespace {

// The keys a command has everywhere, in the order its menu item shows them.
QList<QKeySequence> CommonShortcuts(QKeySequence::StandardKey key) {
    QList<QKeySequence> keys;
    switch (key) {
    case QKeySequence::Redo:
        keys = {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)};
        break;
    case QKeySequence::SaveAs:
        keys = {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)};
        break;
    case QKeySequence::Quit:
        keys = {QKeySequence(Qt::CTRL | Qt::Key_Q)};
        break;
    default:
        break;
    }
    return keys;
}

} // namespace

QList<QKeySequence> ShortcutsOf(QKeySequence::StandardKey key) {
    QList<QKeySequence> keys = CommonShortcuts(key);
    for (const QKeySequence& own : QKeySequence::keyBindings(key)) {
        if (!keys.contains(own))
            keys.append(own);
    }
    return keys;
}

QString ShortcutText(QKeySequence::StandardKey key) {
    QStringList texts;
    for (const QKeySequence& sequence : CommonShortcuts(key))
        texts.append(sequence.toString(QKeySequence::NativeText));
    return texts.join(QStringLiteral(", "));
}

bool IsWindowCommandKey(const QKeyEvent* event) {
    const QKeyCombination combination(event->modifiers() & ~Qt::KeypadModifier,
                                      Qt::Key(event->key()));
    // Asked at every key the value box sees; the platform's keys do not change while it runs.
    static const QList<QKeySequence> redo = ShortcutsOf(QKeySequence::Redo);
    return event->matches(QKeySequence::Undo) || combination == kCompareUnitsKey ||
           redo.contains(QKeySequence(combination));
}
