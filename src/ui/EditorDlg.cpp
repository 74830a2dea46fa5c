#include "EditorDlg.h"

#include "AboutDlg.h"
#include "ByteText.h"
#include "CompareDlg.h"
#include "CompareModel.h"
#include "DialogUnits.h"
#include "EditorSettings.h"
#include "FieldEditor.h"
#include "FieldPanel.h"
#include "FieldTree.h"
#include "FileCommands.h"
#include "FileIo.h"
#include "FilterBox.h"
#include "HelpLink.h"
#include "Prompts.h"
#include "Shortcuts.h"
#include "TankDocument.h"
#include "TemplateCommands.h"
#include "UnusedLinesBar.h"
#include "UnusedLinesDlg.h"
#include "ValueComboBox.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMimeData>
#include <QSplitter>
#include <QStatusBar>
#include <QUndoStack>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

#ifndef TARNWICK_PROGRAM_URL
#error "TARNWICK_PROGRAM_URL must be defined by the build"
#endif
#ifndef TARNWICK_GROUP_URL
#error "TARNWICK_GROUP_URL must be defined by the build"
#endif

namespace {

// The one local file a drag carries; empty when it carries several, or anything else.
QString DraggedFile(const QMimeData* data) {
    const QList<QUrl> urls = data ? data->urls() : QList<QUrl>();
    return urls.size() == 1 && urls.front().isLocalFile() ? urls.front().toLocalFile() : QString();
}

// A recent file's menu text: its number as the mnemonic (1 to 9, then 1&0), then its name.
QString RecentFileText(std::size_t position, const std::string& path) {
    QString name = TextOfBytes(FileNameOf(path));
    name.replace(QLatin1Char('&'), QStringLiteral("&&"));
    const QString number =
        position < 9 ? QStringLiteral("&%1").arg(position + 1)
                     : QStringLiteral("%1&%2").arg((position + 1) / 10).arg((position + 1) % 10);
    return number + QLatin1Char(' ') + name;
}

// Where each window's settings are kept.
const QString kMainWindow = QStringLiteral("MainWindow");
const QString kSplit = QStringLiteral("MainWindow/split");
const QString kCompareWindow = QStringLiteral("CompareUnits");
const QString kOpenGroups = QStringLiteral("Tree/openGroups");
const QString kSelected = QStringLiteral("Tree/selected");

} // namespace

CEditorDlg::CEditorDlg(IPrompts& prompts, CEditorSettings* settings)
    : m_prompts(prompts), m_noSettings(settings ? nullptr : std::make_unique<CEditorSettings>()),
      m_settings(settings ? *settings : *m_noSettings), m_document(new CTankDocument(this)),
      m_fileCommands(std::make_unique<CFileCommands>(*m_document, prompts)),
      m_templateCommands(new CTemplateCommands(this, prompts)) {
    m_previousHandler =
        SetMessageHandler([this](const std::string& text, const std::string& reason) {
            m_prompts.Message(text, reason);
        });
    setWindowTitle(QStringLiteral("Tarnwick"));
    setAcceptDrops(true);
    CreateMenus();
    CreateControls();
    connect(m_document, &CTankDocument::Replaced, this, &CEditorDlg::OnDocumentReplaced);
    connect(m_document, &CTankDocument::ModifiedChanged, this, &CEditorDlg::UpdateTitle);
    connect(m_document, &CTankDocument::PathChanged, this, &CEditorDlg::UpdateTitle);
    connect(m_document, &CTankDocument::Saved, this, &CEditorDlg::OnDocumentSaved);
    connect(m_document, &CTankDocument::Opened, this, &CEditorDlg::RememberFile);
    connect(m_document->UndoStack(), &QUndoStack::indexChanged, this,
            &CEditorDlg::UpdateUndoActions);
    connect(m_templateCommands, &CTemplateCommands::TemplatesChanged, m_fieldEditor,
            &CFieldEditor::RefreshValueBox);
    UpdateUndoActions();
}

CEditorDlg::~CEditorDlg() {
    // The document and the widgets go after this part of the window: the history empties itself
    // and focus leaves the widgets as they go, and neither may reach the window, its editor or
    // the comparison, which go first.
    delete m_compare;
    delete m_fieldEditor;
    for (QObject* part : std::initializer_list<QObject*>{m_document, m_document->UndoStack(),
                                                         m_tree, m_filter, m_valueBox})
        part->disconnect(this);
    SetMessageHandler(std::move(m_previousHandler));
}

void CEditorDlg::ConnectCommand(QAction* action, std::function<void()> command) {
    connect(action, &QAction::triggered, this, [this, command = std::move(command)] {
        // A key pressed while a question or dialog is open over the window is the dialog's; the
        // window's commands wait until it closes.
        if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != this)
            return;
        command();
    });
}

QAction* CEditorDlg::AddCommand(QMenu* menu, const char* name, const char* text,
                                void (CEditorDlg::*handler)()) {
    QAction* action = menu->addAction(QString::fromLatin1(text));
    action->setObjectName(QString::fromLatin1(name));
    ConnectCommand(action, [this, handler] { (this->*handler)(); });
    return action;
}

void CEditorDlg::CreateMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    AddCommand(file, "actionFileNew", "&New\tCtrl-N", &CEditorDlg::OnFileNew)
        ->setShortcut(Qt::CTRL | Qt::Key_N);
    AddCommand(file, "actionFileOpen", "&Open...\tCtrl-O", &CEditorDlg::OnFileOpen)
        ->setShortcut(Qt::CTRL | Qt::Key_O);
    m_recentMenu = file->addMenu(QStringLiteral("Open &Recent"));
    m_recentMenu->setObjectName(QStringLiteral("menuFileOpenRecent"));
    file->addSeparator();
    AddCommand(file, "actionFileSave", "&Save\tCtrl-S", &CEditorDlg::OnFileSave)
        ->setShortcut(Qt::CTRL | Qt::Key_S);
    AddCommand(file, "actionFileSaveAs", "Save &As...\tCtrl+Shift+S", &CEditorDlg::OnFileSaveAs)
        ->setShortcuts(ShortcutsOf(QKeySequence::SaveAs));
    m_revertAction = AddCommand(file, "actionFileRevert", "Re&vert", &CEditorDlg::OnFileRevert);
    file->addSeparator();
    AddCommand(file, "actionFileExit", "E&xit\tCtrl+Q", &CEditorDlg::OnFileExit)
        ->setShortcuts(ShortcutsOf(QKeySequence::Quit));

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    m_undoAction = AddCommand(edit, "actionEditUndo", "", &CEditorDlg::OnEditUndo);
    m_undoAction->setShortcuts(QKeySequence::Undo);
    m_redoAction = AddCommand(edit, "actionEditRedo", "", &CEditorDlg::OnEditRedo);
    m_redoAction->setShortcuts(ShortcutsOf(QKeySequence::Redo));
    edit->addSeparator();
    AddCommand(edit, "actionEditFind", "&Find\tCtrl+F", &CEditorDlg::OnEditFind)
        ->setShortcut(QKeySequence::Find);

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    AddCommand(view, "actionViewCompareUnits", "&Compare Units\tCtrl+K",
               &CEditorDlg::OnViewCompareUnits)
        ->setShortcut(kCompareUnitsKey);

    QMenu* templates = menuBar()->addMenu(QStringLiteral("&Template"));
    AddCommand(templates, "actionTemplateLoadSet", "&Load Set...", &CEditorDlg::OnTemplateLoadSet);
    AddCommand(templates, "actionTemplateSaveSet", "&Save Set...", &CEditorDlg::OnTemplateSaveSet);
    AddCommand(templates, "actionTemplateEditSet", "&Edit Set...", &CEditorDlg::OnTemplateEditSet);
    templates->addSeparator();
    AddCommand(templates, "actionTemplateClear", "&Clear", &CEditorDlg::OnTemplateClear);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    AddCommand(help, "actionHelpAbout", "&About Tarnwick...", &CEditorDlg::OnHelpAbout);
    AddCommand(help, "actionHelpProgramWebSite", "&Tarnwick Web Site...",
               &CEditorDlg::OnHelpProgramWebSite);
    AddCommand(help, "actionHelpGroupWebSite", "&Brindlemoor Web Site...",
               &CEditorDlg::OnHelpGroupWebSite);
}

void CEditorDlg::CreateControls() {
    const CDialogUnits units(fontMetrics());

    m_filter = new CFilterBox(this);
    m_tree = new CFieldTree(this);
    m_tree->setObjectName(QStringLiteral("tree"));
    m_tree->setMinimumWidth(units.X(120));
    connect(m_filter, &QLineEdit::textChanged, m_tree, &CFieldTree::Filter);
    connect(m_filter, &CFilterBox::FirstMatchRequested, this, &CEditorDlg::OnFilterFirstMatch);
    connect(m_filter, &CFilterBox::Dismissed, m_tree, qOverload<>(&QWidget::setFocus));
    connect(m_tree, &CFieldTree::FilterCleared, m_filter, &QLineEdit::clear);

    m_panel = new CFieldPanel(this);
    connect(m_panel, &CFieldPanel::TemplateClicked, this, &CEditorDlg::OnStripTemplateClicked);
    m_valueBox = m_panel->ValueBox();
    setTabOrder(m_filter, m_tree);
    setTabOrder(m_tree, m_valueBox);
    m_fieldEditor =
        new CFieldEditor(*m_document, m_templateCommands->Templates(), m_tree, m_panel, this);

    auto* left = new QVBoxLayout;
    left->setSpacing(units.Y(3));
    left->addWidget(m_filter);
    left->addWidget(m_tree, 1);

    auto* leftSide = new QWidget(this);
    left->setContentsMargins(0, 0, 0, 0);
    leftSide->setLayout(left);
    // The split follows the user; a wider or narrower window changes the tree alone.
    m_split = new QSplitter(Qt::Horizontal, this);
    m_split->setObjectName(QStringLiteral("split"));
    m_split->setChildrenCollapsible(false);
    m_split->setHandleWidth(units.X(4));
    m_split->addWidget(leftSide);
    m_split->addWidget(m_panel);
    m_split->setStretchFactor(0, 1);
    m_split->setStretchFactor(1, 0);

    auto* central = new QWidget(this);
    auto* root = new QHBoxLayout(central);
    root->setContentsMargins(units.X(7), units.Y(7), units.X(7), units.Y(7));
    root->addWidget(m_split);
    setCentralWidget(central);

    m_unusedBar = new CUnusedLinesBar(this);
    connect(m_unusedBar, &CUnusedLinesBar::ShowRequested, this, &CEditorDlg::OnShowUnusedLines);
    statusBar()->addWidget(m_unusedBar, 1);

    resize(units.X(371), units.Y(231) + menuBar()->sizeHint().height() +
                             m_filter->sizeHint().height() + statusBar()->sizeHint().height());
}

void CEditorDlg::setVisible(bool visible) {
    if (visible && !m_bInitialised)
        Initialise();
    QMainWindow::setVisible(visible);
}

void CEditorDlg::Initialise() {
    if (m_bInitialised)
        return;
    m_bInitialised = true;

    // The icon is read once for the application; every window shares it.
    if (QApplication::windowIcon().isNull())
        QApplication::setWindowIcon(QIcon(QStringLiteral(":/tarnwick.png")));
    setWindowIcon(QApplication::windowIcon());

    m_templateCommands->LoadAliases();
    m_document->Reset();
    RestoreSettings();
    m_tree->setFocus();

    if (!m_strStartPath.empty())
        m_fileCommands->OpenDocument(m_strStartPath);
    if (!m_strStartSet.empty())
        m_templateCommands->LoadSetFile(m_strStartSet);
    // After the file named at start, if any: what was selected may be one of its own keys, which
    // the schema alone does not show.
    m_tree->RestoreViewState({m_settings.Names(kOpenGroups), m_settings.Names(kSelected)});
}

void CEditorDlg::RestoreSettings() {
    m_settings.RestoreWindow(kMainWindow, *this);
    if (m_settings.WasMaximised(kMainWindow))
        setWindowState(windowState() | Qt::WindowMaximized);
    m_split->restoreState(m_settings.State(kSplit));
    // The templates come before the document, which is shown with their values; a set named at
    // start takes their place.
    if (m_strStartSet.empty())
        m_templateCommands->LoadRemembered(m_settings.Templates());
    UpdateRecentMenu();
}

void CEditorDlg::SaveSettings() {
    m_settings.SaveWindow(kMainWindow, *this);
    m_settings.SetState(kSplit, m_split->saveState());
    if (m_compare)
        m_settings.SaveWindow(kCompareWindow, *m_compare);
    m_settings.SetTemplates(m_templateCommands->Templates().Paths());
    const CFieldTree::CViewState tree = m_tree->ViewState();
    m_settings.SetNames(kOpenGroups, tree.m_openGroups);
    m_settings.SetNames(kSelected, tree.m_selected);
}

void CEditorDlg::UpdateTitle() {
    QString title = QStringLiteral("Tarnwick - [") + TextOfBytes(m_document->Path()) +
                    (m_document->IsModified() ? QStringLiteral(" *]") : QStringLiteral("]"));
    // Qt reads "[*]" in a title as the modified mark; a path may hold it literally.
    title.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    setWindowTitle(title);
    // A document without a file has nothing to go back to.
    m_revertAction->setEnabled(!m_document->IsUntitled());
}

void CEditorDlg::UpdateUnusedLines() {
    const std::vector<CUnusedLine> lines = m_document->File().ReportedLines();
    const auto unused =
        static_cast<std::size_t>(std::ranges::count_if(lines, &CUnusedLine::unused));
    m_unusedBar->SetCounts(unused, lines.size() - unused);
}

void CEditorDlg::OnDocumentReplaced() {
    m_tree->Build(m_document->File());
    UpdateTitle();
    UpdateUnusedLines();
}

void CEditorDlg::OnDocumentSaved() {
    for (std::size_t i = 0; i < m_document->File().m_fields.size(); ++i)
        m_tree->SetChanged(static_cast<int>(i), false);
    for (std::size_t i = 0; i < m_document->File().m_otherKeys.Size(); ++i)
        m_tree->SetOtherKeyChanged(static_cast<int>(i), false);
    UpdateUnusedLines();
    RememberFile();
}

void CEditorDlg::RememberFile() {
    m_settings.AddRecentFile(m_document->Path());
    UpdateRecentMenu();
}

void CEditorDlg::UpdateRecentMenu() {
    // The items go once the command of one of them has run: this may be that command.
    for (QAction* item : m_recentMenu->actions()) {
        m_recentMenu->removeAction(item);
        item->deleteLater();
    }
    const std::vector<std::string> files = m_settings.RecentFiles();
    for (std::size_t i = 0; i < files.size(); ++i) {
        QAction* action = m_recentMenu->addAction(RecentFileText(i, files[i]));
        action->setStatusTip(TextOfBytes(files[i]));
        ConnectCommand(action, [this, path = files[i]] { OnFileOpenRecent(path); });
    }
    m_recentMenu->addSeparator();
    QAction* clear = m_recentMenu->addAction(QStringLiteral("Clear Menu"));
    clear->setObjectName(QStringLiteral("actionFileClearRecent"));
    ConnectCommand(clear, [this] { OnFileClearRecent(); });
    m_recentMenu->setEnabled(!files.empty());
}

void CEditorDlg::OnShowUnusedLines() {
    CUnusedLinesDlg dialog(this, m_document->File().ReportedLines());
    dialog.exec();
}

void CEditorDlg::OnFileNew() {
    m_fileCommands->New();
}

void CEditorDlg::OnFileOpen() {
    m_fileCommands->Open();
}

void CEditorDlg::OnFileOpenRecent(const std::string& path) {
    if (!m_fileCommands->PromptSaveChanges())
        return;
    if (!m_fileCommands->OpenDocument(path)) {
        m_settings.RemoveRecentFile(path);
        UpdateRecentMenu();
    }
}

void CEditorDlg::OnFileClearRecent() {
    m_settings.ClearRecentFiles();
    UpdateRecentMenu();
}

void CEditorDlg::OnFileRevert() {
    m_fileCommands->Revert();
}

void CEditorDlg::OnFileSave() {
    m_fileCommands->Save();
}

void CEditorDlg::OnFileSaveAs() {
    m_fileCommands->SaveAs();
}

void CEditorDlg::OnFileExit() {
    close();
}

void CEditorDlg::closeEvent(QCloseEvent* event) {
    if (!m_fileCommands->PromptSaveChanges()) {
        event->ignore();
        return;
    }
    SaveSettings();
    // The comparison is a window of the document: it goes with the main window.
    if (m_compare)
        m_compare->close();
    event->accept();
}

void CEditorDlg::OnEditUndo() {
    m_fieldEditor->EndTypingRun();
    m_document->UndoStack()->undo();
}

void CEditorDlg::OnEditRedo() {
    m_fieldEditor->EndTypingRun();
    m_document->UndoStack()->redo();
}

void CEditorDlg::UpdateUndoActions() {
    const QUndoStack* history = m_document->UndoStack();
    auto show = [](QAction* action, bool can, const char* verb, const QString& name,
                   const QString& keys) {
        action->setEnabled(can);
        action->setText(QString::fromLatin1(verb) + (can ? QStringLiteral(" ") + name : QString()) +
                        QStringLiteral("\t") + keys);
    };
    show(m_undoAction, history->canUndo(), "&Undo", history->undoText(),
         QKeySequence(QKeySequence::Undo).toString(QKeySequence::NativeText));
    show(m_redoAction, history->canRedo(), "&Redo", history->redoText(),
         ShortcutText(QKeySequence::Redo));
}

void CEditorDlg::OnEditFind() {
    m_filter->setFocus(Qt::ShortcutFocusReason);
    m_filter->selectAll();
}

void CEditorDlg::OnFilterFirstMatch() {
    if (QTreeWidgetItem* item = m_tree->FirstMatch()) {
        m_tree->setCurrentItem(item);
        m_tree->scrollToItem(item);
        // Its value selected, as Tab leaves it, so that what is typed next replaces it.
        m_valueBox->setFocus(Qt::TabFocusReason);
    }
}

void CEditorDlg::OnViewCompareUnits() {
    if (!m_compare) {
        // Made once and kept: its size, its columns' widths and what it shows stay for the next
        // time it opens.
        m_compare = new CCompareDlg(*m_document, m_templateCommands->Templates(), this);
        connect(m_templateCommands, &CTemplateCommands::TemplatesAboutToChange, m_compare->Model(),
                &CCompareModel::ForgetTemplates);
        connect(m_templateCommands, &CTemplateCommands::TemplatesChanged, m_compare->Model(),
                &CCompareModel::Refresh);
        connect(m_compare, &CCompareDlg::CurrentFieldChanged, this,
                &CEditorDlg::OnCompareFieldChanged);
        m_settings.RestoreWindow(kCompareWindow, *m_compare);
        if (m_settings.WasMaximised(kCompareWindow))
            m_compare->setWindowState(m_compare->windowState() | Qt::WindowMaximized);
    }
    m_compare->GoToField(SelectedCompareKey());
    m_compare->show();
    m_compare->raise();
    m_compare->activateWindow();
}

int CEditorDlg::SelectedCompareKey() const {
    const int other = m_tree->SelectedOtherKey();
    if (other < 0 || !m_compare)
        return m_tree->SelectedField();
    const COtherKey key = m_document->OtherKey(other);
    return m_compare->Model()->KeyOfOther(key.group, key.name);
}

void CEditorDlg::OnCompareFieldChanged(int key) {
    // The tree follows the comparison's row while the comparison is open; the focus stays there.
    if (!m_compare->isVisible() || key < 0 || SelectedCompareKey() == key)
        return;
    if (!CCompareModel::IsOtherKey(key)) {
        m_tree->SelectField(key);
        return;
    }
    const CCompareModel* model = m_compare->Model();
    // A key of the templates alone has no item of the document's.
    if (const int own =
            m_document->File().m_otherKeys.Find(model->OtherGroup(key), model->OtherName(key));
        own >= 0)
        m_tree->SelectOtherKey(own);
}

void CEditorDlg::OnStripTemplateClicked(int position) {
    if (m_compare && m_compare->isVisible())
        m_compare->GoToTemplate(m_tree->SelectedField(), position);
}

void CEditorDlg::OnTemplateLoadSet() {
    m_templateCommands->LoadSet();
}

void CEditorDlg::OnTemplateSaveSet() {
    m_templateCommands->SaveSet();
}

void CEditorDlg::OnTemplateEditSet() {
    m_templateCommands->EditSet();
}

void CEditorDlg::OnTemplateClear() {
    m_templateCommands->Clear();
}

void CEditorDlg::OnHelpAbout() {
    CAboutDlg about(this);
    about.exec();
}

void CEditorDlg::OnHelpProgramWebSite() {
    OpenHelpLink(QStringLiteral(TARNWICK_PROGRAM_URL), m_prompts);
}

void CEditorDlg::OnHelpGroupWebSite() {
    OpenHelpLink(QStringLiteral(TARNWICK_GROUP_URL), m_prompts);
}

void CEditorDlg::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (modifiers == Qt::NoModifier) {
        switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            // Enter applies the value; it never closes the window.
            m_fieldEditor->ApplyValue();
            return;
        case Qt::Key_Escape:
            close();
            return;
        default:
            break;
        }
    }
    QMainWindow::keyPressEvent(event);
}

void CEditorDlg::dragEnterEvent(QDragEnterEvent* event) {
    if (!DraggedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void CEditorDlg::dropEvent(QDropEvent* event) {
    const QString path = DraggedFile(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    m_fileCommands->OpenFile(BytesOfPath(path));
}
