#include "QtPrompts.h"
#include "EditorFixture.h"

#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

TEST(QtPromptsTest, BoxesShowTheirTextAsItIsAndFileDialogsOpenInTheFolderLastChosen) {
    QCoreApplication::setApplicationName(QStringLiteral("tarnwick"));
    CQtPrompts prompts;
    const QString text = QStringLiteral("Error loading alias file 'alias.txt'.\n<b>No</b>");
    auto check = [text](QMessageBox* box, QMessageBox::StandardButtons buttons) {
        EXPECT_EQ(box->windowTitle(), "tarnwick");
        EXPECT_EQ(box->text(), text);
        EXPECT_EQ(box->textFormat(), Qt::PlainText);
        EXPECT_EQ(box->standardButtons(), buttons);
    };
    // A message's detail (a failure's reason) stands below it.
    WhenModalShows<QMessageBox>([check](QMessageBox* box) {
        check(box, QMessageBox::Ok);
        EXPECT_EQ(box->informativeText(), "Permission denied");
        box->button(QMessageBox::Ok)->click();
    });
    prompts.Message(text.toStdString(), "Permission denied");

    // Yes is the default button and Escape answers Cancel.
    const QMessageBox::StandardButtons yesNoCancel =
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    const std::pair<std::function<void(QMessageBox*)>, IPrompts::Answer> answers[] = {
        {[](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Return); }, IPrompts::Answer::Yes},
        {[](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); }, IPrompts::Answer::Cancel},
        {[](QMessageBox* box) { box->button(QMessageBox::No)->click(); }, IPrompts::Answer::No},
    };
    for (const auto& [answer, expected] : answers) {
        WhenModalShows<QMessageBox>([=](QMessageBox* box) {
            check(box, yesNoCancel);
            answer(box);
        });
        EXPECT_EQ(prompts.YesNoCancel(text.toStdString()), expected);
    }

    // File dialogs are set for their use, and open in the folder last chosen in any.
    // What each dialog was set to: folder, filters, open or save, which files, suffix.
    std::vector<std::string> seen;
    auto look = [&seen](std::string typed) {
        return [&seen, typed](QFileDialog* dialog) {
            const QStringList set{dialog->directory().absolutePath(),
                                  dialog->nameFilters().join(QLatin1Char(';')),
                                  dialog->acceptMode() == QFileDialog::AcceptSave ? "save" : "open",
                                  dialog->fileMode() == QFileDialog::AnyFile ? "any" : "existing",
                                  dialog->defaultSuffix()};
            seen.push_back(set.join(QLatin1Char('|')).toStdString());
            EXPECT_TRUE(dialog->testOption(QFileDialog::DontUseNativeDialog));
            EXPECT_EQ(dialog->windowTitle() == "Load template(s)",
                      dialog->fileMode() == QFileDialog::ExistingFiles);
            if (typed.empty())
                return dialog->reject();
            // A whole path typed in, as a user may, without going to its folder in the dialog.
            dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))
                ->setText(QString::fromStdString(typed));
            static_cast<QDialog*>(dialog)->accept();
        };
    };
    const std::string filter = "Tank Files (*.odf);;All Files (*)";
    std::string path;
    CScratchFolder first;
    WhenModalShows<QFileDialog>(look(first.Path("later.odf")));
    ASSERT_TRUE(prompts.OpenPath(filter, path));
    EXPECT_EQ(path, first.Path("later.odf")) << "a name that is not there yet";

    CScratchFolder second; // the current folder from here on
    WhenModalShows<QFileDialog>(look(""));
    EXPECT_FALSE(prompts.SavePath(filter, "odf", path));
    WhenModalShows<QFileDialog>(look(""));
    EXPECT_TRUE(prompts.OpenPaths("Load template(s)", filter).empty());
    WhenModalShows<QFileDialog>(look(second.Path("b.odf")));
    ASSERT_TRUE(prompts.SavePath(filter, "odf", path));
    EXPECT_EQ(path, second.Path("b.odf"));
    WhenModalShows<QFileDialog>(look(""));
    EXPECT_FALSE(prompts.OpenPath(filter, path));

    auto folderOf = [](const CScratchFolder& folder) {
        return QDir(QString::fromStdString(folder.Path(""))).absolutePath().toStdString() +
               "|Tank Files (*.odf);All Files (*)|";
    };
    const std::string a = folderOf(first), b = folderOf(second);
    EXPECT_EQ(seen,
              (std::vector<std::string>{a + "open|any|", a + "save|any|odf", a + "open|existing|",
                                        a + "save|any|odf", b + "open|any|"}));
}
