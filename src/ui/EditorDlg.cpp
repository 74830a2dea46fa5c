#include "EditorDlg.h"

#include "AboutDlg.h"
#include "ByteText.h"
#include "DialogUnits.h"
#include "FieldEditCommand.h"
#include "FieldPanel.h"
#include "FieldTree.h"
#include "FilterBox.h"
#include "HelpLink.h"
#include "TemplateFilesDlg.h"
#include "TemplateLoading.h"
#include "TemplateSetFile.h"
#include "UnusedLinesBar.h"
#include "UnusedLinesDlg.h"
#include "ValueComboBox.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QUndoStack>
#include <QUrl>
#include <QVBoxLayout>

#ifndef TARNWICK_PROGRAM_URL
#error "TARNWICK_PROGRAM_URL must be defined by the build"
#endif
#ifndef TARNWICK_GROUP_URL
#error "TARNWICK_GROUP_URL must be defined by the build"
#endif

namespace {

constexpr const char* kTankFilter = "Tank Files (*.odf);;All Files (*)";
constexpr const char* kTankExtension = "odf";
constexpr const char* kSetFilter = "Text Files (*.txt);;All Files (*)";
constexpr const char* kSetExtension = "txt";

// The one local file a drag carries; empty when it carries several, or anything else.
QString DraggedFile(const QMimeData* data) {
    const QList<QUrl> urls = data ? data->urls() : QList<QUrl>();
    return urls.size() == 1 && urls.front().isLocalFile() ? urls.front().toLocalFile() : QString();
}

} // namespace

CEditorDlg::CEditorDlg(IPrompts& prompts, QWidget* parent)
    : QMainWindow(parent), m_prompts(prompts), m_undoStack(new QUndoStack(this)) {
    m_previousHandler =
        SetMessageHandler([this](const std::string& text, const std::string& reason) {
            m_prompts.Message(text, reason);
        });
    setWindowTitle(QStringLiteral("Tarnwick"));
    setAcceptDrops(true);
    CreateMenus();
    CreateControls();
    connect(m_undoStack, &QUndoStack::cleanChanged, this, [this](bool clean) {
        m_document.m_bModified = !clean;
        UpdateTitle();
    });
    connect(m_undoStack, &QUndoStack::indexChanged, this, &CEditorDlg::UpdateUndoActions);
    UpdateUndoActions();
}

CEditorDlg::~CEditorDlg() {
    // The widgets and the history go after this part of the window: the history empties itself
    // and focus leaves the widgets as they go, and neither may reach it.
    disconnect(qApp, nullptr, this, nullptr);
    for (QObject* part : std::initializer_list<QObject*>{m_undoStack, m_tree, m_filter, m_valueBox})
        part->disconnect(this);
    SetMessageHandler(std::move(m_previousHandler));
}

void CEditorDlg::CreateMenus() {
    auto add = [this](QMenu* menu, const char* text, void (CEditorDlg::*handler)(),
                      QKeySequence shortcut = {}) {
        QAction* action = menu->addAction(QString::fromLatin1(text));
        action->setShortcut(shortcut);
        connect(action, &QAction::triggered, this, [this, handler] {
            // A key pressed while a question or dialog is open over the window is the
            // dialog's; the window's commands wait until it closes.
            if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != this)
                return;
            (this->*handler)();
        });
        return action;
    };
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    add(file, "&New\tCtrl-N", &CEditorDlg::OnFileNew, Qt::CTRL | Qt::Key_N);
    add(file, "&Open...\tCtrl-O", &CEditorDlg::OnFileOpen, Qt::CTRL | Qt::Key_O);
    file->addSeparator();
    add(file, "&Save\tCtrl-S", &CEditorDlg::OnFileSave, Qt::CTRL | Qt::Key_S);
    add(file, "Save &As...", &CEditorDlg::OnFileSaveAs);
    file->addSeparator();
    add(file, "E&xit", &CEditorDlg::OnFileExit);
    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    m_undoAction = add(edit, "", &CEditorDlg::OnEditUndo);
    m_undoAction->setShortcuts(QKeySequence::Undo);
    m_redoAction = add(edit, "", &CEditorDlg::OnEditRedo);
    m_redoAction->setShortcuts(QKeySequence::Redo);
    edit->addSeparator();
    add(edit, "&Find\tCtrl+F", &CEditorDlg::OnEditFind, QKeySequence::Find);
    QMenu* templates = menuBar()->addMenu(QStringLiteral("&Template"));
    add(templates, "&Load Set...", &CEditorDlg::OnTemplateLoadSet);
    add(templates, "&Save Set...", &CEditorDlg::OnTemplateSaveSet);
    add(templates, "&Edit Set...", &CEditorDlg::OnTemplateEditSet);
    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    add(help, "&About Tarnwick...", &CEditorDlg::OnHelpAbout);
    add(help, "&Tarnwick Web Site...", &CEditorDlg::OnHelpProgramWebSite);
    add(help, "&Brindlemoor Web Site...", &CEditorDlg::OnHelpGroupWebSite);
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
    m_valueBox = m_panel->ValueBox();
    setTabOrder(m_filter, m_tree);
    setTabOrder(m_tree, m_valueBox);
    connect(m_tree, &QTreeWidget::itemSelectionChanged, this, &CEditorDlg::OnSelChangedTree);
    connect(m_valueBox, &CValueComboBox::EditChanged, this, &CEditorDlg::OnEditChangeValue);
    connect(m_valueBox, qOverload<int>(&QComboBox::activated), this, &CEditorDlg::OnSelEndOkValue);
    // Typing into a field again after leaving it is a new step.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old) {
        if (old == m_valueBox->lineEdit())
            EndTypingRun();
    });

    auto* left = new QVBoxLayout;
    left->setSpacing(units.Y(3));
    left->addWidget(m_filter);
    left->addWidget(m_tree, 1);

    auto* central = new QWidget(this);
    auto* root = new QHBoxLayout(central);
    root->setContentsMargins(units.X(7), units.Y(7), units.X(7), units.Y(7));
    root->setSpacing(units.X(4));
    root->addLayout(left, 1);
    root->addWidget(m_panel, 0);
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

    if (std::error_code error; !m_aliasTable.LoadFromCurrentFolder(&error))
        m_prompts.Message("Error loading alias file 'alias.txt'.\nNo tank aliases will be used.",
                          error.message());

    m_document.Reset();
    UpdateTitle();
    BuildTree();
    m_tree->setFocus();

    if (!m_strStartPath.empty())
        OpenDocument(m_strStartPath);
    if (!m_strStartSet.empty())
        LoadTemplateSet(m_strStartSet);
}

void CEditorDlg::UpdateTitle() {
    QString title = QStringLiteral("Tarnwick - [") + TextOfBytes(m_document.m_strPath) +
                    (m_document.m_bModified ? QStringLiteral(" *]") : QStringLiteral("]"));
    // Qt reads "[*]" in a title as the modified mark; a path may hold it literally.
    title.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    setWindowTitle(title);
}

void CEditorDlg::BuildTree() {
    m_tree->Build(m_document);
}

bool CEditorDlg::ChooseSaveStyle(SaveStyle& style) {
    const std::size_t unused = m_document.UnusedLineCount();
    if (!m_saveStyle && unused > 0) {
        const std::string question =
            FormatText(FormatNumber("'%s' has %d lines that are not fields the editor knows "
                                    "(unknown groups and keys, comments).\nKeep them in the "
                                    "saved file?",
                                    static_cast<long long>(unused)),
                       m_document.m_strPath);
        switch (m_prompts.YesNoCancel(question)) {
        case IPrompts::Answer::Yes:
            m_saveStyle = SaveStyle::KeepFile;
            break;
        case IPrompts::Answer::No:
            m_saveStyle = SaveStyle::Layout;
            break;
        case IPrompts::Answer::Cancel:
            return false;
        }
    }
    style = m_saveStyle.value_or(SaveStyle::Layout);
    return true;
}

int CEditorDlg::SaveInPlace() {
    if (m_document.ChangedOnDisk() &&
        m_prompts.YesNoCancel(FormatText("'%s' has been changed by another program since it was "
                                         "opened.\nSave your version over it?",
                                         m_document.m_strPath)) != IPrompts::Answer::Yes)
        return 0;
    SaveStyle style = SaveStyle::Layout;
    return ChooseSaveStyle(style) ? m_document.Save(style) : 0;
}

int CEditorDlg::SaveDocument() {
    if (!m_document.IsUntitled())
        return SaveInPlace();
    std::string path;
    if (!m_prompts.SavePath(kTankFilter, kTankExtension, path))
        return 0;
    return m_document.SaveAs(path);
}

void CEditorDlg::AfterSave() {
    if (!m_document.m_bModified)
        m_undoStack->setClean();
    UpdateTitle();
    UpdateUnusedLines();
}

void CEditorDlg::UpdateUnusedLines() {
    m_unusedBar->SetCount(m_document.UnusedLineCount());
}

void CEditorDlg::OnShowUnusedLines() {
    CUnusedLinesDlg dialog(this, m_document.UnusedLines());
    dialog.exec();
}

int CEditorDlg::PromptSaveChanges() {
    if (!m_document.m_bModified)
        return 1;
    switch (m_prompts.YesNoCancel(FormatText("Save changes to '%s'?", m_document.m_strPath))) {
    case IPrompts::Answer::Yes: {
        // A failed or cancelled save stops the command, so the changes are never dropped.
        const int saved = SaveDocument();
        AfterSave();
        return saved;
    }
    case IPrompts::Answer::No:
        return 1;
    case IPrompts::Answer::Cancel:
        break;
    }
    return 0;
}

void CEditorDlg::ShowNewDocument() {
    m_saveStyle.reset();
    m_undoStack->clear();
    BuildTree();
    UpdateTitle();
    UpdateUnusedLines();
}

void CEditorDlg::OnFileNew() {
    if (!PromptSaveChanges())
        return;
    m_document.Reset();
    ShowNewDocument();
}

void CEditorDlg::OpenDocument(const std::string& path) {
    if (m_document.Load(path)) {
        ShowNewDocument();
        return;
    }
    // A failed open leaves the document as it was, with its history and the answer about its
    // lines.
    m_prompts.Message(FormatText("Error loading tank file '%s'.", path));
    BuildTree();
    UpdateTitle();
}

void CEditorDlg::OnFileOpen() {
    if (!PromptSaveChanges())
        return;
    std::string path;
    if (m_prompts.OpenPath(kTankFilter, path))
        OpenDocument(path);
    else
        UpdateTitle();
}

void CEditorDlg::OpenFile(const std::string& path) {
    if (PromptSaveChanges())
        OpenDocument(path);
}

void CEditorDlg::OnFileSave() {
    if (m_document.IsUntitled()) {
        OnFileSaveAs();
        return;
    }
    SaveInPlace();
    AfterSave();
}

void CEditorDlg::OnFileSaveAs() {
    SaveStyle style = SaveStyle::Layout;
    std::string path;
    if (ChooseSaveStyle(style) && m_prompts.SavePath(kTankFilter, kTankExtension, path))
        m_document.SaveAs(path, style);
    AfterSave();
}

void CEditorDlg::OnFileExit() {
    close();
}

void CEditorDlg::closeEvent(QCloseEvent* event) {
    if (PromptSaveChanges())
        event->accept();
    else
        event->ignore();
}

void CEditorDlg::OnEditUndo() {
    EndTypingRun();
    m_undoStack->undo();
}

void CEditorDlg::OnEditRedo() {
    EndTypingRun();
    m_undoStack->redo();
}

void CEditorDlg::UpdateUndoActions() {
    auto show = [](QAction* action, bool can, const char* verb, const QString& name,
                   const QKeySequence& key) {
        action->setEnabled(can);
        action->setText(QString::fromLatin1(verb) + (can ? QStringLiteral(" ") + name : QString()) +
                        QStringLiteral("\t") + key.toString(QKeySequence::NativeText));
    };
    show(m_undoAction, m_undoStack->canUndo(), "&Undo", m_undoStack->undoText(),
         QKeySequence(QKeySequence::Undo));
    show(m_redoAction, m_undoStack->canRedo(), "&Redo", m_undoStack->redoText(),
         QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
}

void CEditorDlg::OnEditFind() {
    m_filter->setFocus(Qt::ShortcutFocusReason);
    m_filter->selectAll();
}

void CEditorDlg::OnFilterFirstMatch() {
    if (QTreeWidgetItem* item = m_tree->FirstMatch()) {
        m_tree->setCurrentItem(item);
        m_tree->scrollToItem(item);
        m_valueBox->setFocus();
    }
}

void CEditorDlg::LoadTemplateSet(const std::string& path) {
    std::vector<std::string> paths;
    if (!ReadTemplateSetFile(path, paths))
        return;
    // The old set is gone from here on, even when no line of the new one loads.
    m_templates.Clear();
    LoadTemplatesWithProgress(this, m_templates, m_aliasTable, paths);
    RefreshValueBox();
}

void CEditorDlg::OnTemplateLoadSet() {
    std::string path;
    if (m_prompts.OpenPath(kSetFilter, path))
        LoadTemplateSet(path);
    else
        RefreshValueBox();
}

void CEditorDlg::OnTemplateSaveSet() {
    std::string path;
    if (m_prompts.SavePath(kSetFilter, kSetExtension, path))
        WriteTemplateSetFile(path, m_templates.Paths());
}

void CEditorDlg::OnTemplateEditSet() {
    CTemplateFilesDlg dialog(this, &m_templates, &m_aliasTable, m_prompts);
    dialog.exec();
    RefreshValueBox();
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

void CEditorDlg::OnSelChangedTree() {
    EndTypingRun();
    QTreeWidgetItem* item = m_tree->SelectedItem();
    const auto index = item ? item->data(0, CFieldTree::kItemIndexRole).toUInt() : 0;
    if (!item)
        // Nothing is selected (the tree was rebuilt): the panel must not go on showing a field
        // of a document that may be gone.
        m_panel->ShowNothing();
    else if (item->parent())
        m_panel->ShowField(m_document.m_fields[index], m_templates);
    else
        m_panel->ShowGroup(m_document.m_groups[index]);
}

void CEditorDlg::RefreshValueBox() {
    const int index = m_tree->SelectedField();
    if (index >= 0)
        m_panel->ShowValue(m_document.m_fields[static_cast<std::size_t>(index)], m_templates);
}

void CEditorDlg::ApplyValue(bool typing) {
    const int index = m_tree->SelectedField();
    if (index >= 0) {
        const CFieldEntry& field = m_document.m_fields[static_cast<std::size_t>(index)];
        CFieldEntry changed = field;
        m_valueBox->ApplyTo(changed);
        // An edit that empties the field is a step of its own, as is anything but typing.
        const bool merging = typing && changed.m_bPresent;
        if (!changed.SameValueAs(field)) {
            m_undoStack->push(new CFieldEditCommand(
                field, changed,
                merging ? CFieldEditCommand::Kind::Typing : CFieldEditCommand::Kind::Other,
                m_nTypingRun, [this](const CFieldEntry& value, bool fromHistory) {
                    SetFieldValue(value, fromHistory);
                }));
        }
        if (!merging)
            EndTypingRun();
    }
    UpdateTitle();
}

void CEditorDlg::SetFieldValue(const CFieldEntry& value, bool fromHistory) {
    m_document.m_fields[static_cast<std::size_t>(value.Index())] = value;
    m_tree->UpdateField(value, !fromHistory);
    if (fromHistory) {
        if (m_tree->SelectedField() == value.Index())
            RefreshValueBox();
        else
            m_tree->SelectField(value.Index());
        m_panel->ClearNote();
    }
    UpdateTitle();
}

void CEditorDlg::OnEditChangeValue() {
    m_panel->ClearNote();
    ApplyValue(true);
}

void CEditorDlg::OnSelEndOkValue(int index) {
    if (index < 0)
        return;
    // The box checked the picked text as it took it; a template's value is not the user's
    // typing, so nothing was refused.
    m_panel->ClearNote();
    const QByteArray bytes = m_valueBox->itemData(index, CValueComboBox::kBytesRole).toByteArray();
    m_valueBox->SetShownValue(
        std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())), true);
    ApplyValue(false);
}

void CEditorDlg::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (modifiers == Qt::NoModifier) {
        switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            // Enter applies the value; it never closes the window.
            ApplyValue();
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
    OpenFile(BytesOfPath(path));
}
