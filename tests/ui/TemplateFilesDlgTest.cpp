#include "TemplateFilesDlg.h"
#include "EditorFixture.h"

#include <QLineEdit>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>

// The templates are those of tests/data/ui (see TemplateSetTest.cpp).
class TemplateFilesDlgTest : public EditorTest {
protected:
    void SetUp() override {
        CopyUiTestData(m_folder, {"ALIAS.TXT", "doc.odf", "t1.odf", "t2.odf", "t3.odf", "t4.odf"});
        StartOn("doc.odf");
        m_folder.Write("set.txt", "t1.odf\nt2.odf\nt3.odf\n");
        m_prompts.QueuePath(m_folder.Path("set.txt"));
        m_editor->OnTemplateLoadSet();
        m_prompts.TakeShown();
        ClickItem(*m_editor, FieldItem(*m_editor, "GameObject", "collisionRadius"));
    }
    // Runs Edit Set, acting on the dialog with act, and checks that the value box was refreshed
    // once it closed.
    void EditSet(std::function<void(CTemplateFilesDlg*)> act) {
        // Text typed into collisionRadius, which the refresh replaces by the stored value.
        QTest::keyClicks(m_box->lineEdit(), QStringLiteral("x"));
        bool acted = false;
        WhenModalShows<CTemplateFilesDlg>([&](CTemplateFilesDlg* dialog) {
            act(dialog);
            acted = true;
            EXPECT_FALSE(dialog->isVisible()) << "the dialog is still open";
            if (dialog->isVisible())
                dialog->accept();
        });
        m_editor->OnTemplateEditSet();
        EXPECT_TRUE(acted);
        EXPECT_EQ(m_box->lineEdit()->text(), "2.500000");
    }
    static QPushButton* Button(CTemplateFilesDlg* dialog, const char* text) {
        for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
            if (button->text() == QString::fromLatin1(text))
                return button;
        }
        ADD_FAILURE() << "no button " << text;
        return nullptr;
    }
    static Paths Lines(CTemplateFilesDlg* dialog) {
        Paths lines;
        for (int i = 0; i < dialog->List()->count(); ++i)
            lines.push_back(dialog->List()->item(i)->text().toStdString());
        return lines;
    }
    Paths TemplatePaths() const { return m_editor->Templates().Paths(); }
};

TEST_F(TemplateFilesDlgTest, ListsAddsAndDeletesTemplatesInPlace) {
    const std::string t4 = m_folder.Path("t4.odf");
    const std::string t1 = m_folder.Path("t1.odf");
    const std::string missing = m_folder.Path("missing.odf");
    EditSet([&](CTemplateFilesDlg* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Template Files");
        EXPECT_EQ(Lines(dialog), (Paths{"t1.odf", "t2.odf", "t3.odf"}));
        EXPECT_EQ(dialog->List()->selectionMode(), QAbstractItemView::ExtendedSelection);
        EXPECT_TRUE(Button(dialog, "Close")->isDefault());

        m_prompts.QueuePaths({t4, missing, t1});
        QTest::mouseClick(Button(dialog, "&Add"), Qt::LeftButton);
        EXPECT_EQ(m_prompts.TakeShown(), (Shown{"[Open many: Load template(s)]",
                                                "Error opening tank file '" + missing + "'.",
                                                "Error loading tank file '" + missing + "'."}));
        EXPECT_EQ(m_prompts.m_lastFilter, "Tank Files (*.odf);;All Files (*)");
        const Paths added{"t1.odf", "t2.odf", "t3.odf", t4, t1};
        EXPECT_EQ(Lines(dialog), added);
        EXPECT_EQ(TemplatePaths(), added);

        m_prompts.QueuePaths({});
        QTest::mouseClick(Button(dialog, "&Add"), Qt::LeftButton);
        EXPECT_EQ(m_prompts.TakeShown(), Shown{"[Open many: Load template(s)]"});
        EXPECT_EQ(TemplatePaths(), added);

        // Nothing selected: Delete does nothing. Lines 1 and 3 selected: both go.
        dialog->List()->clearSelection();
        QTest::mouseClick(Button(dialog, "&Delete"), Qt::LeftButton);
        EXPECT_EQ(TemplatePaths(), added);
        QListWidget* list = dialog->List();
        for (int row : {1, 3})
            QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                              list->visualItemRect(list->item(row)).center());
        EXPECT_EQ(list->selectedItems().size(), 2);
        QTest::mouseClick(Button(dialog, "&Delete"), Qt::LeftButton);
        const Paths kept{"t1.odf", "t3.odf", t1};
        EXPECT_EQ(Lines(dialog), kept);
        EXPECT_EQ(TemplatePaths(), kept);
        EXPECT_TRUE(m_prompts.m_shown.empty());
        QTest::mouseClick(Button(dialog, "Close"), Qt::LeftButton);
    });
    EXPECT_EQ(ListedValues(*m_box),
              (std::vector<ListedValue>{
                  {"3.000000", "Gamma"}, {"10.000000", "Alpha"}, {"10.000000", "Alpha"}}));

    // Every line deleted leaves no template.
    EditSet([](CTemplateFilesDlg* dialog) {
        dialog->List()->selectAll();
        QTest::mouseClick(Button(dialog, "&Delete"), Qt::LeftButton);
        EXPECT_EQ(dialog->List()->count(), 0);
        // Enter in the list is the default button's, Close.
        dialog->List()->setFocus();
        QTest::keyClick(dialog->List(), Qt::Key_Return);
    });
    EXPECT_TRUE(TemplatePaths().empty());
    EXPECT_EQ(m_box->count(), 0);
}

TEST_F(TemplateFilesDlgTest, EscapeAndTheCloseBoxCloseTheDialogWithoutAdding) {
    EditSet([](CTemplateFilesDlg* dialog) { QTest::keyClick(dialog->List(), Qt::Key_Escape); });
    EditSet([this](CTemplateFilesDlg* dialog) {
        QPushButton* add = Button(dialog, "&Add");
        add->setFocus();
        QTest::keyClick(add, Qt::Key_Escape);
    });
    EditSet([](CTemplateFilesDlg* dialog) { dialog->close(); });
    EXPECT_TRUE(m_prompts.m_shown.empty());
    EXPECT_EQ(TemplatePaths(), (Paths{"t1.odf", "t2.odf", "t3.odf"}));
}

TEST_F(TemplateFilesDlgTest, CancellingASlowAddKeepsTheFilesAddedSoFar) {
    const std::string slow = m_folder.Path("slow.odf");
    const std::string t4 = m_folder.Path("t4.odf");
    EditSet([&](CTemplateFilesDlg* dialog) {
        m_prompts.m_onShow = [&](const std::string& shown) {
            auto* progress =
                dialog->findChild<QProgressDialog*>(QStringLiteral("templateProgress"));
            if (shown == "Error loading tank file '" + slow + "'.") {
                QTest::qSleep(600);
            } else if (shown == "Error loading tank file '" + t4 + "x'.") {
                ASSERT_TRUE(progress && progress->isVisible());
                progress->cancel();
            }
        };
        m_prompts.QueuePaths({slow, t4, t4 + "x", t4, t4});
        QTest::mouseClick(Button(dialog, "&Add"), Qt::LeftButton);
        m_prompts.m_onShow = nullptr;
        EXPECT_EQ(m_prompts.TakeShown().size(), 5u);
        EXPECT_EQ(Lines(dialog), (Paths{"t1.odf", "t2.odf", "t3.odf", t4}));
        dialog->accept();
    });
    EXPECT_EQ(TemplatePaths(), (Paths{"t1.odf", "t2.odf", "t3.odf", t4}));
}
