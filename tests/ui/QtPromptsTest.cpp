#include "QtPrompts.h"
#include "UiTestSupport.h"

#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

namespace {

// Types name into the file dialog, in folder, and accepts it.
std::function<void(QFileDialog*)> TypeName(const CScratchFolder& folder, const char* name) {
    return [&folder, name](QFileDialog* dialog) {
        dialog->setDirectory(QString::fromStdString(folder.Path("")));
        dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))
            ->setText(QString::fromLatin1(name));
        static_cast<QDialog*>(dialog)->accept();
    };
}

} // namespace

TEST(QtPromptsTest, BoxesCarryTheApplicationsNameAndYesIsTheDefault) {
    QCoreApplication::setApplicationName(QStringLiteral("tarnwick"));
    CQtPrompts prompts;

    WhenModalShows<QMessageBox>([](QMessageBox* box) {
        EXPECT_EQ(box->windowTitle(), "tarnwick");
        EXPECT_EQ(box->text(), "Error loading alias file 'alias.txt'.\n<b>No</b>");
        EXPECT_EQ(box->textFormat(), Qt::PlainText);
        EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
        box->button(QMessageBox::Ok)->click();
    });
    prompts.Message("Error loading alias file 'alias.txt'.\n<b>No</b>");

    WhenModalShows<QMessageBox>([](QMessageBox* box) {
        EXPECT_EQ(box->windowTitle(), "tarnwick");
        EXPECT_EQ(box->text(), "Save changes to 'Untitled.odf'?");
        EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QTest::keyClick(box, Qt::Key_Return);
    });
    EXPECT_EQ(prompts.YesNoCancel("Save changes to 'Untitled.odf'?"), IPrompts::Answer::Yes);

    WhenModalShows<QMessageBox>([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
    EXPECT_EQ(prompts.YesNoCancel("Save?"), IPrompts::Answer::Cancel);

    WhenModalShows<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::No)->click(); });
    EXPECT_EQ(prompts.YesNoCancel("Save?"), IPrompts::Answer::No);
}

TEST(QtPromptsTest, SaveDialogAddsTheExtensionAndAsksBeforeReplacing) {
    CScratchFolder folder;
    folder.Write("tank.odf", "old");
    CQtPrompts prompts;

    std::string path;
    WhenModalShows<QFileDialog>(TypeName(folder, "fresh"));
    ASSERT_TRUE(prompts.SavePath("Tank Files (*.odf);;All Files (*)", "odf", path));
    EXPECT_EQ(path, folder.Path("fresh.odf"));

    // "tank" becomes tank.odf, which exists: the question comes first; No keeps the dialog
    // open, so it is cancelled after.
    bool asked = false;
    WhenModalShows<QFileDialog>([&](QFileDialog* dialog) {
        WhenModalShows<QMessageBox>([&](QMessageBox* box) {
            asked = box->text().contains(QStringLiteral("tank.odf"));
            box->button(QMessageBox::No)->click();
            QTimer::singleShot(0, dialog, &QDialog::reject);
        });
        TypeName(folder, "tank")(dialog);
    });
    EXPECT_FALSE(prompts.SavePath("Tank Files (*.odf);;All Files (*)", "odf", path));
    EXPECT_TRUE(asked);
    EXPECT_EQ(folder.Read("tank.odf"), "old");
}

TEST(QtPromptsTest, OpenDialogTakesANameThatDoesNotExistYet) {
    CScratchFolder folder;
    CQtPrompts prompts;
    WhenModalShows<QFileDialog>([&](QFileDialog* dialog) {
        EXPECT_EQ(dialog->nameFilters(), (QStringList{QStringLiteral("Tank Files (*.odf)"),
                                                      QStringLiteral("All Files (*)")}));
        TypeName(folder, "later.odf")(dialog);
    });
    std::string path;
    ASSERT_TRUE(prompts.OpenPath("Tank Files (*.odf);;All Files (*)", path));
    EXPECT_EQ(path, folder.Path("later.odf"));

    WhenModalShows<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
    EXPECT_FALSE(prompts.OpenPath("Tank Files (*.odf);;All Files (*)", path));
}

TEST(QtPromptsTest, EveryFileDialogOpensInTheFolderLastChosenInAny) {
    CScratchFolder first;
    CQtPrompts prompts;
    std::vector<QString> folders;
    auto look = [&folders](QFileDialog* dialog) {
        folders.push_back(dialog->directory().absolutePath());
        dialog->reject();
    };
    // A whole path typed in, as a user may, without going to its folder in the dialog.
    auto choose = [](const CScratchFolder& folder, const char* name) {
        return [&folder, name](QFileDialog* dialog) {
            dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))
                ->setText(QString::fromStdString(folder.Path(name)));
            static_cast<QDialog*>(dialog)->accept();
        };
    };
    const std::string filter = "All Files (*)";
    std::string path;
    WhenModalShows<QFileDialog>(choose(first, "a.odf"));
    prompts.OpenPath(filter, path);

    CScratchFolder second; // the current folder from here on
    WhenModalShows<QFileDialog>(look);
    prompts.SavePath(filter, "odf", path);
    WhenModalShows<QFileDialog>(look);
    prompts.OpenPaths("Load template(s)", filter);
    WhenModalShows<QFileDialog>(choose(second, "b.odf"));
    prompts.SavePath(filter, "odf", path);
    WhenModalShows<QFileDialog>(look);
    prompts.OpenPath(filter, path);

    auto folderOf = [](const CScratchFolder& folder) {
        return QDir(QString::fromStdString(folder.Path(""))).absolutePath();
    };
    EXPECT_EQ(folders, (std::vector<QString>{folderOf(first), folderOf(first), folderOf(second)}));
}
