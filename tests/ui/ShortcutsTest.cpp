#include "EditorFixture.h"

#include <QDialog>

// The file commands' keys every desktop editor has, whichever widget has the focus; a command
// that drops changes still asks first.
TEST_F(EditorTest, CtrlNOSShiftSAndQRunTheFileCommandsAndTheLettersOtherwiseDoNot) {
    StartOn("tank.odf");

    // Ctrl+S in the value box saves, and types no letter into the field; Ctrl+Shift+S saves as.
    Modify();
    Key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(Title(), TitleOf("tank.odf"));
    EXPECT_EQ(Edit(), "99");
    Type(QStringLiteral("1"));
    m_prompts.Queue(m_folder.Path("copy.odf"));
    Key(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(m_prompts.TakeShown(), Shown{"[Save As .odf]"});
    EXPECT_EQ(Title(), TitleOf("copy.odf"));
    EXPECT_EQ(Edit(), "991");
    Type(QStringLiteral("1"));
    const std::string ask = "Save changes to '" + m_folder.Path("copy.odf") + "'?";
    m_prompts.Queue(Answer::Cancel);
    Key(Qt::Key_N, Qt::ControlModifier);
    m_tree->setFocus();
    m_prompts.Queue(Answer::No);
    m_prompts.Queue(std::nullopt);
    Key(Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(m_prompts.TakeShown(), (Shown{ask, ask, "[Open]"}));
    EXPECT_EQ(Edit(), "9911");

    // The letters alone or with other modifiers are text, or the tree's search.
    for (QWidget* focus : {static_cast<QWidget*>(m_tree), static_cast<QWidget*>(m_edit)}) {
        focus->setFocus();
        for (Qt::Key letter : {Qt::Key_N, Qt::Key_O, Qt::Key_S}) {
            for (Qt::KeyboardModifiers modifiers :
                 {Qt::KeyboardModifiers(), Qt::KeyboardModifiers(Qt::ShiftModifier),
                  Qt::ControlModifier | Qt::ShiftModifier, Qt::ControlModifier | Qt::AltModifier,
                  Qt::KeyboardModifiers(Qt::AltModifier), Qt::ControlModifier | Qt::MetaModifier}) {
                if (letter != Qt::Key_S || modifiers != (Qt::ControlModifier | Qt::ShiftModifier))
                    Key(letter, modifiers);
            }
        }
    }
    EXPECT_TRUE(m_prompts.m_shown.empty());
    EXPECT_EQ(Title(), TitleOf("copy.odf", true));

    // A key that reaches the window while a modal window is up over it runs nothing.
    QDialog over(m_editor.get());
    over.setModal(true);
    over.show();
    QTest::keyClick(m_tree, Qt::Key_O, Qt::ControlModifier);
    QTest::keyClick(&over, Qt::Key_O, Qt::ControlModifier);
    EXPECT_TRUE(m_prompts.m_shown.empty());
    over.hide();
    m_prompts.Queue(Answer::Cancel);
    QTest::keyClick(m_tree, Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(m_prompts.TakeShown(), Shown{ask});

    // Ctrl+Q exits, asking first.
    m_edit->setFocus();
    m_prompts.Queue(Answer::Cancel);
    Key(Qt::Key_Q, Qt::ControlModifier);
    EXPECT_TRUE(m_editor->isVisible());
    m_tree->setFocus();
    m_prompts.Queue(Answer::No);
    Key(Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(m_prompts.TakeShown(), (Shown{ask, ask}));
    EXPECT_FALSE(m_editor->isVisible());
    EXPECT_NE(m_folder.Read("copy.odf").find("maxHealth = 991\n"), std::string::npos);
}
