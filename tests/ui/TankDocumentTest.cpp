// The document without a window: undo steps change it, its history's clean state is whether it
// has changes to save, and its signals tell views what to show anew.

#include "EditorFixture.h"

#include "FieldEditCommand.h"
#include "TankDocument.h"

#include <QSignalSpy>
#include <QUndoStack>

using tarnwick_test::Field;
using tarnwick_test::FieldIndex;

namespace {

// What the document said since the last call, a signal a line: "field 6", "field 6 history",
// "replaced", "modified", "saved", "clean", "path".
class CSignals {
public:
    explicit CSignals(CTankDocument& document) {
        QObject::connect(&document, &CTankDocument::FieldChanged, [this](int index, bool history) {
            m_said.push_back("field " + std::to_string(index) + (history ? " history" : ""));
        });
        QObject::connect(&document, &CTankDocument::Replaced,
                         [this] { m_said.push_back("replaced"); });
        QObject::connect(&document, &CTankDocument::ModifiedChanged, [this](bool modified) {
            m_said.push_back(modified ? "modified" : "clean");
        });
        QObject::connect(&document, &CTankDocument::PathChanged,
                         [this] { m_said.push_back("path"); });
        QObject::connect(&document, &CTankDocument::Saved, [this] { m_said.push_back("saved"); });
    }
    Shown Take() { return std::exchange(m_said, {}); }

private:
    Shown m_said;
};

// The step that sets the Integer field at path to value, as a pick from the list makes it.
QUndoCommand* SetInteger(CTankDocument& document, const char* path, int value) {
    CFieldEntry after = Field(document.File(), path);
    after.m_nValue = value;
    after.m_bPresent = true;
    return new CFieldEditCommand(document, Field(document.File(), path), after,
                                 CFieldEditCommand::Kind::Other, -1);
}

} // namespace

TEST(TankDocumentTest, UndoStepsChangeItAndItsHistoryTellsWhetherItHasChangesToSave) {
    CScratchFolder folder;
    folder.CopyUiTestData({"doc.odf"});
    CTankDocument document;
    QUndoStack& history = *document.UndoStack();
    CSignals said(document);
    const std::string health = std::to_string(FieldIndex("GameObject.maxHealth"));
    auto value = [&] { return Field(document.File(), "GameObject.maxHealth").m_nValue; };

    ASSERT_TRUE(document.Load(folder.Path("doc.odf")));
    EXPECT_EQ(said.Take(), (Shown{"path", "replaced"}));
    EXPECT_FALSE(document.IsModified());

    history.push(SetInteger(document, "GameObject.maxHealth", 99));
    EXPECT_EQ(value(), 99);
    EXPECT_TRUE(document.IsModified());
    EXPECT_EQ(history.undoText(), "maxHealth");
    history.undo();
    EXPECT_EQ(value(), 10);
    history.redo();
    EXPECT_EQ(said.Take(), (Shown{"field " + health, "modified", "field " + health + " history",
                                  "clean", "field " + health + " history", "modified"}));

    // Keystrokes of one run merge into one step (typed back to where the run began, the step
    // leaves the history): the window's undo test types them. Another step is a step.
    history.push(SetInteger(document, "GameObject.maxHealth", 7));
    EXPECT_EQ(history.count(), 2);
    said.Take();

    // A save makes the history clean; undoing past it has changes to save again.
    EXPECT_TRUE(document.Save(SaveStyle::Layout));
    EXPECT_EQ(said.Take(), (Shown{"clean", "saved"}));
    history.undo();
    EXPECT_TRUE(document.IsModified());
    EXPECT_TRUE(document.SaveAs(folder.Path("copy.odf"), SaveStyle::Layout));
    EXPECT_EQ(document.Path(), folder.Path("copy.odf"));
    EXPECT_EQ(said.Take(),
              (Shown{"field " + health + " history", "modified", "path", "clean", "saved"}));

    // A failed open changes nothing but asks the views to show the document anew.
    history.undo();
    tarnwick_test::CMessageCapture messages;
    EXPECT_FALSE(document.Load(folder.Path("missing.odf")));
    EXPECT_EQ(messages.Texts(),
              Shown{"Error opening tank file '" + folder.Path("missing.odf") + "'."});
    EXPECT_EQ(document.Path(), folder.Path("copy.odf"));
    EXPECT_TRUE(document.IsModified());
    EXPECT_EQ(history.count(), 2);
    said.Take();

    // New forgets the history and the answer about unknown lines.
    document.SetSaveStyleAnswer(SaveStyle::KeepFile);
    document.Reset();
    EXPECT_EQ(said.Take(), (Shown{"clean", "path", "replaced"}));
    EXPECT_EQ(history.count(), 0);
    EXPECT_FALSE(document.SaveStyleAnswer());
    EXPECT_TRUE(document.IsUntitled());
    EXPECT_FALSE(Field(document.File(), "GameObject.maxHealth").m_bPresent);
}

TEST(TankDocumentTest, ANewDocumentMarksTheFieldsAStepChanges) {
    CTankDocument document;
    const int health = static_cast<int>(FieldIndex("GameObject.maxHealth"));
    document.UndoStack()->push(SetInteger(document, "GameObject.maxHealth", 5));
    EXPECT_TRUE(document.IsFieldChanged(health));
    EXPECT_FALSE(document.IsFieldChanged(static_cast<int>(FieldIndex("GameObject.scrapCost"))));
    document.UndoStack()->undo();
    EXPECT_FALSE(document.IsFieldChanged(health));
}
