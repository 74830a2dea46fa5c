#include "EditorFixture.h"

#include <QDialog>
#include <QLineEdit>

class ShortcutsTest : public EditorTest {
protected:
    void SetUp() override {
        m_folder.Write("ALIAS.TXT", "");
        m_folder.Write("tank.odf", kSampleTank);
        Start();
        m_valueBox = ValueBoxOf(*m_editor);
    }
    CValueComboBox* m_valueBox = nullptr;
};

TEST_F(ShortcutsTest, CtrlKeysReachTheFileCommandsFromTheTreeAndTheValueBox) {
    QWidget* tree = TreeOf(*m_editor);
    m_prompts.QueuePath(m_folder.Path("tank.odf"));
    QTest::keyClick(tree, Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(m_prompts.TakeShown(), Shown{"[Open]"});
    EXPECT_EQ(Title().toStdString(), TitleOf("tank.odf"));

    // Ctrl+S with the caret in the value box saves; no letter is typed into the field.
    m_valueBox->setFocus();
    m_valueBox->SetEditText(QStringLiteral("12"));
    Modify();
    QTest::keyClick(m_valueBox->lineEdit(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(m_prompts.m_shown.empty());
    EXPECT_NE(m_folder.Read("tank.odf").find("maxHealth = 99"), std::string::npos);
    EXPECT_EQ(m_valueBox->EditText(), "12");

    Modify();
    m_prompts.QueueAnswer(Answer::No);
    QTest::keyClick(m_valueBox->lineEdit(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(m_prompts.TakeShown(), Shown{"Save changes to '" + m_folder.Path("tank.odf") + "'?"});
    EXPECT_EQ(Title(), "Tarnwick - [Untitled.odf]");
    EXPECT_EQ(m_valueBox->EditText(), "12");

    // Ctrl+S on a new document asks for a name.
    m_prompts.QueuePath(std::nullopt);
    QTest::keyClick(tree, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(m_prompts.TakeShown(), Shown{"[Save As .odf]"});
}

TEST_F(ShortcutsTest, OtherModifiersDoNothing) {
    Modify();
    const QString title = Title();
    for (QWidget* target : {static_cast<QWidget*>(TreeOf(*m_editor)),
                            static_cast<QWidget*>(m_valueBox->lineEdit())}) {
        // The letters alone or with Shift are text, or the tree's search.
        for (auto key : {Qt::Key_N, Qt::Key_O, Qt::Key_S}) {
            QTest::keyClick(target, key);
            QTest::keyClick(target, key, Qt::ShiftModifier);
        }
        QTest::keyClick(target, Qt::Key_N, Qt::ControlModifier | Qt::ShiftModifier);
        QTest::keyClick(target, Qt::Key_O, Qt::ControlModifier | Qt::AltModifier);
        QTest::keyClick(target, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        QTest::keyClick(target, Qt::Key_S, Qt::AltModifier);
        QTest::keyClick(target, Qt::Key_N, Qt::MetaModifier | Qt::ControlModifier);
    }
    EXPECT_TRUE(m_prompts.m_shown.empty());
    EXPECT_EQ(Title(), title);
}

TEST_F(ShortcutsTest, NothingHappensWhileAModalWindowIsOpenOverTheEditor) {
    QDialog over(m_editor.get());
    over.setModal(true);
    over.show();
    QTest::keyClick(TreeOf(*m_editor), Qt::Key_O, Qt::ControlModifier);
    QTest::keyClick(&over, Qt::Key_O, Qt::ControlModifier);
    EXPECT_TRUE(m_prompts.m_shown.empty());
    over.hide();

    m_prompts.QueuePath(std::nullopt);
    QTest::keyClick(TreeOf(*m_editor), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(m_prompts.TakeShown(), Shown{"[Open]"});
}
