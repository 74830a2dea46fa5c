#include "TemplateFilesDlg.h"
#include "EditorFixture.h"

#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>

// The templates are those of tests/data/ui (see TemplateSetTest.cpp).
class TemplateFilesDlgTest : public EditorTest {
protected:
    void SetUp() override {
        m_folder.CopyUiTestData({"ALIAS.TXT", "doc.odf", "t1.odf", "t2.odf", "t3.odf", "t4.odf"});
        m_folder.Write("set.txt", "t1.odf\nt2.odf\nt3.odf\n");
        StartOn("doc.odf");
        m_prompts.Queue(m_folder.Path("set.txt"));
        Command("Template", "Load Set");
        m_prompts.TakeShown();
        Select("GameObject", "collisionRadius");
    }
    // Runs Edit Set, acting on the dialog with act, and checks that the dialog closed and the
    // value box was refreshed after it.
    void EditSet(std::function<void(QDialog*, QListWidget*)> act) {
        // Text typed into collisionRadius, which the refresh replaces by the stored value.
        Type(QStringLiteral("x"));
        WhenModalShows<CTemplateFilesDlg>([act](CTemplateFilesDlg* dialog) {
            act(dialog, dialog->findChild<QListWidget*>());
            EXPECT_FALSE(dialog->isVisible()) << "the dialog is still open";
            if (dialog->isVisible())
                dialog->reject();
        });
        Command("Template", "Edit Set");
        EXPECT_EQ(Edit(), "2.500000");
    }
    static QPushButton* Button(QDialog* dialog, const char* text) {
        for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
            if (button->text() == QString::fromLatin1(text))
                return button;
        }
        ADD_FAILURE() << "no button " << text;
        return nullptr;
    }
    static Paths Lines(QListWidget* list) {
        Paths lines;
        for (int i = 0; i < list->count(); ++i)
            lines.push_back(list->item(i)->text().toStdString());
        return lines;
    }
    Paths Templates() {
        Paths paths;
        EditSet([&paths](QDialog* dialog, QListWidget* list) {
            paths = Lines(list);
            dialog->accept();
        });
        return paths;
    }
};

TEST_F(TemplateFilesDlgTest, ListsAddsAndDeletesTemplatesInPlace) {
    const std::string t4 = m_folder.Path("t4.odf");
    const std::string t1 = m_folder.Path("t1.odf");
    const std::string missing = m_folder.Path("missing.odf");
    EditSet([&](QDialog* dialog, QListWidget* list) {
        EXPECT_EQ(dialog->windowTitle(), "Template Files");
        EXPECT_EQ(Lines(list), (Paths{"t1.odf", "t2.odf", "t3.odf"}));
        // The list on the left takes what room the dialog gains; the buttons stand on its
        // right, Add and Delete at the top, Close at the bottom.
        const int width = list->width();
        dialog->resize(dialog->width() + 100, dialog->height() + 100);
        EXPECT_TRUE(QTest::qWaitFor([&] { return list->width() == width + 100; }));
        QWidget* column[] = {Button(dialog, "&Add"), Button(dialog, "&Delete"),
                             Button(dialog, "Close")};
        for (QWidget* button : column)
            EXPECT_LT(list->geometry().right(), button->geometry().left());
        EXPECT_LT(column[0]->geometry().bottom(), column[1]->geometry().top());
        EXPECT_GT(column[2]->geometry().top(), list->geometry().center().y());
        EXPECT_TRUE(dialog->rect().contains(column[2]->geometry()));
        EXPECT_TRUE(Button(dialog, "Close")->isDefault());

        m_prompts.Queue(Paths{t4, missing, t1});
        QTest::mouseClick(Button(dialog, "&Add"), Qt::LeftButton);
        EXPECT_EQ(m_prompts.TakeShown(), (Shown{"[Open many: Load template(s)]",
                                                "Error opening tank file '" + missing + "'.",
                                                "Error loading tank file '" + missing + "'."}));
        EXPECT_EQ(m_prompts.m_lastFilter, "Tank Files (*.odf);;All Files (*)");
        const Paths added{"t1.odf", "t2.odf", "t3.odf", t4, t1};
        EXPECT_EQ(Lines(list), added);
        m_prompts.Queue(Paths{});
        QTest::mouseClick(Button(dialog, "&Add"), Qt::LeftButton);
        EXPECT_EQ(m_prompts.TakeShown(), Shown{"[Open many: Load template(s)]"});

        // Nothing selected: Delete does nothing. Lines 1 and 3 selected: both go.
        list->clearSelection();
        QTest::mouseClick(Button(dialog, "&Delete"), Qt::LeftButton);
        EXPECT_EQ(Lines(list), added);
        for (int row : {1, 3})
            QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                              list->visualItemRect(list->item(row)).center());
        QTest::mouseClick(Button(dialog, "&Delete"), Qt::LeftButton);
        EXPECT_EQ(Lines(list), (Paths{"t1.odf", "t3.odf", t1}));
        QTest::mouseClick(Button(dialog, "Close"), Qt::LeftButton);
    });
    EXPECT_EQ(Listed(*m_box),
              (Shown{"[Gamma] 3.000000", "[Alpha] 10.000000", "[Alpha] 10.000000"}));

    // Escape, the close box and Enter (the default button, Close) close the dialog; every line
    // deleted leaves no template.
    EditSet([](QDialog*, QListWidget* list) { QTest::keyClick(list, Qt::Key_Escape); });
    EditSet([](QDialog* dialog, QListWidget*) { dialog->close(); });
    EditSet([](QDialog* dialog, QListWidget* list) {
        list->selectAll();
        QTest::mouseClick(Button(dialog, "&Delete"), Qt::LeftButton);
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Return);
    });
    EXPECT_EQ(m_box->count(), 0);
    EXPECT_EQ(Templates(), Paths{});
    EXPECT_TRUE(m_prompts.m_shown.empty());
}

// Half a second into a load with files still to go, a dialog shows which one is loading;
// cancelling it stops before the next file and keeps those that loaded.
TEST_F(TemplateFilesDlgTest, ASlowAddShowsItsProgressAndCancelKeepsWhatLoaded) {
    const std::string slow = m_folder.Path("slow.odf");
    const std::string t4 = m_folder.Path("t4.odf");
    const std::string stop = m_folder.Path("stop.odf");
    EditSet([&](QDialog* dialog, QListWidget* list) {
        bool sawProgress = false;
        m_prompts.m_onShow = [&](const std::string& shown) {
            auto* progress =
                dialog->findChild<QProgressDialog*>(QStringLiteral("templateProgress"));
            if (shown == "Error opening tank file '" + slow + "'.") {
                EXPECT_TRUE(!progress || !progress->isVisible());
                QTest::qSleep(500);
            } else if (shown == "Error opening tank file '" + stop + "'.") {
                ASSERT_TRUE(progress && progress->isVisible());
                EXPECT_EQ(progress->labelText().toStdString(), stop);
                sawProgress = true;
                progress->cancel();
            }
        };
        m_prompts.Queue(Paths{slow, t4, stop, t4, t4});
        QTest::mouseClick(Button(dialog, "&Add"), Qt::LeftButton);
        m_prompts.m_onShow = nullptr;
        EXPECT_TRUE(sawProgress);
        EXPECT_EQ(m_prompts.TakeShown().size(), 5u);
        EXPECT_EQ(Lines(list), (Paths{"t1.odf", "t2.odf", "t3.odf", t4}));
        EXPECT_EQ(dialog->findChild<QProgressDialog*>(), nullptr);
        dialog->accept();
    });
    EXPECT_EQ(Templates(), (Paths{"t1.odf", "t2.odf", "t3.odf", t4}));
}
