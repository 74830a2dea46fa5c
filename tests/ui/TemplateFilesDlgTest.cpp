#include "TemplateFilesDlg.h"
#include "EditorFixture.h"

#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>

// The templates are those of tests/data/ui (see TemplateSetTest.cpp).
class TemplateFilesDlgTest : public EditorTest {
protected:
    void SetUp() override {
        m_folder.CopyUiTestData({"t1.odf", "t2.odf", "t3.odf", "t4.odf"});
        StartOn("doc.odf");
        LoadSet("t1.odf\nt2.odf\nt3.odf\n");
        Select("GameObject", "collisionRadius");
    }
    // Runs Edit Set, acting on the dialog with act, and checks that the dialog closed and the
    // value box was refreshed after it; returns the dialog's lines as act left them.
    Shown EditSet(std::function<void(QDialog*, QListWidget*)> act) {
        // Text typed into collisionRadius, which the refresh replaces by the stored value.
        Type(QStringLiteral("x"));
        Shown lines;
        WhenModalShows<CTemplateFilesDlg>([&](CTemplateFilesDlg* dialog) {
            auto* list = dialog->findChild<QListWidget*>();
            act(dialog, list);
            for (int i = 0; i < list->count(); ++i)
                lines.push_back(list->item(i)->text().toStdString());
            EXPECT_FALSE(dialog->isVisible()) << "the dialog is still open";
            dialog->reject();
        });
        Command("actionTemplateEditSet");
        EXPECT_EQ(Edit(), "2.500000");
        return lines;
    }
};

TEST_F(TemplateFilesDlgTest, ListsAddsAndDeletesTemplatesInPlace) {
    const std::string t4 = m_folder.Path("t4.odf"), t1 = m_folder.Path("t1.odf");
    const std::string missing = m_folder.Path("missing.odf");
    Shown shown;
    EXPECT_EQ(EditSet([&](QDialog* dialog, QListWidget* list) {
                  EXPECT_EQ(dialog->windowTitle(), "Template Files");
                  // The list on the left takes what room the dialog gains; the buttons stand on
                  // its right, Add and Delete at the top, Close, the default, at the bottom.
                  const int width = list->width();
                  dialog->resize(dialog->width() + 100, dialog->height() + 100);
                  EXPECT_TRUE(QTest::qWaitFor([&] { return list->width() == width + 100; }));
                  const QList<QPushButton*> buttons = dialog->findChildren<QPushButton*>();
                  QRect below(0, -1, 0, 0);
                  for (QPushButton* button : {buttons[1], buttons[2], buttons[0]}) {
                      EXPECT_LT(list->geometry().right(), button->geometry().left());
                      EXPECT_LT(below.top(), button->geometry().top());
                      below = button->geometry();
                  }
                  EXPECT_GT(below.top(), list->geometry().center().y());
                  EXPECT_TRUE(buttons[0]->text() == "Close" && buttons[0]->isDefault());

                  m_prompts.Queue(Shown{t4, missing, t1});
                  ClickButton(dialog, "&Add");
                  EXPECT_EQ(m_prompts.m_lastFilter, "Tank Files (*.odf);;All Files (*)");
                  m_prompts.Queue(Shown{});
                  ClickButton(dialog, "&Add");
                  shown = m_prompts.TakeShown();
                  // Nothing selected: Delete does nothing. Lines 1 and 3 selected: both go.
                  list->clearSelection();
                  ClickButton(dialog, "&Delete");
                  for (int row : {1, 3})
                      QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                                        list->visualItemRect(list->item(row)).center());
                  ClickButton(dialog, "&Delete");
                  ClickButton(dialog, "Close");
              }),
              (Shown{"t1.odf", "t3.odf"}));
    // A file is a template once.
    EXPECT_EQ(shown, (Shown{"[Open many: Load template(s)]", "'" + t1 + "' is already a template.",
                            "Error opening tank file '" + missing + "'.",
                            "Error loading tank file '" + missing + "'.",
                            "[Open many: Load template(s)]"}));
    EXPECT_EQ(Listed(*m_box), (Shown{"[Gamma] 3.000000", "[Alpha] 10.000000"}));

    // Enter runs the default button, Close; every line deleted leaves no template.
    EditSet([](QDialog* dialog, QListWidget* list) {
        list->selectAll();
        ClickButton(dialog, "&Delete");
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Return);
    });
    EXPECT_EQ(m_box->count(), 0);
    // A file deleted from the list is no template any more: it can be added again.
    EXPECT_EQ(EditSet([&](QDialog* dialog, QListWidget*) {
                  m_prompts.Queue(Shown{t1});
                  ClickButton(dialog, "&Add");
                  dialog->accept();
              }),
              Shown{t1});
    EXPECT_EQ(m_prompts.TakeShown(), Shown{"[Open many: Load template(s)]"});
}

// Half a second into a load with files still to go, a dialog shows which one is loading;
// cancelling it stops before the next file and keeps those that loaded.
TEST_F(TemplateFilesDlgTest, ASlowAddShowsItsProgressAndCancelKeepsWhatLoaded) {
    const std::string slow = m_folder.Path("slow.odf"), stop = m_folder.Path("stop.odf");
    const std::string t4 = m_folder.Path("t4.odf");
    bool sawProgress = false;
    const Shown kept{"t1.odf", "t2.odf", "t3.odf", t4};
    EXPECT_EQ(EditSet([&](QDialog* dialog, QListWidget*) {
                  m_prompts.m_onShow = [&](const std::string& shown) {
                      auto* progress = dialog->findChild<QProgressDialog*>("templateProgress");
                      if (shown == "Error opening tank file '" + slow + "'.") {
                          EXPECT_EQ(progress, nullptr) << "no dialog before half a second";
                          QTest::qSleep(500);
                      } else if (shown == "Error opening tank file '" + stop + "'.") {
                          ASSERT_TRUE(progress && progress->isVisible());
                          EXPECT_EQ(progress->labelText().toStdString(), stop);
                          EXPECT_EQ(QPoint(progress->value(), progress->maximum()), QPoint(2, 5));
                          sawProgress = true;
                          progress->cancel();
                      }
                  };
                  m_prompts.Queue(Shown{slow, t4, stop, t4, t4});
                  ClickButton(dialog, "&Add");
                  m_prompts.m_onShow = nullptr;
                  EXPECT_EQ(dialog->findChild<QProgressDialog*>(), nullptr);
                  dialog->accept();
              }),
              kept);
    EXPECT_TRUE(sawProgress);
    EXPECT_EQ(m_prompts.TakeShown().size(), 5u) << "the dialog and the messages of slow and stop";
    EXPECT_EQ(EditSet([](QDialog* dialog, QListWidget*) { dialog->accept(); }), kept);
}
