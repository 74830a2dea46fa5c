#include "EditorDlg.h"

#include "AboutDlg.h"
#include "ByteText.h"
#include "TemplateFilesDlg.h"
#include "TemplateLoading.h"
#include "TemplateSetFile.h"
#include "UnusedLinesBar.h"
#include "UnusedLinesDlg.h"
#include "ValueComboBox.h"
#include "ValueText.h"

#include <QApplication>
#include <QDesktopServices>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPixmap>
#include <QTreeWidget>
#include <QUrl>

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
constexpr int kImageSize = 12;

std::string FieldItemText(const CFieldEntry& field) {
    return field.m_bPresent ? FieldLine(field.Name(), field) : field.Name() + " = ";
}

int ItemIndexOf(const QTreeWidgetItem* item) {
    return item->data(0, CEditorDlg::kItemIndexRole).toInt();
}

bool IsItemBold(const QTreeWidgetItem* item) {
    return item->font(0).bold();
}

int ImageOf(FieldType type) {
    switch (type) {
    case FieldType::String:
        return CEditorDlg::kStringImage;
    case FieldType::Float:
        return CEditorDlg::kFloatImage;
    case FieldType::Integer:
        return CEditorDlg::kIntegerImage;
    }
    return CEditorDlg::kStringImage;
}

} // namespace

CEditorDlg::CEditorDlg(IPrompts& prompts, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
      m_prompts(prompts), m_shortcuts(*this) {
    m_previousHandler =
        SetMessageHandler([this](const std::string& text) { m_prompts.Message(text); });
    setWindowTitle(QStringLiteral("Tarnwick"));
    CreateMenus();
    CreateControls();
}

CEditorDlg::~CEditorDlg() {
    SetMessageHandler(std::move(m_previousHandler));
}

void CEditorDlg::CreateMenus() {
    m_menuBar = new QMenuBar(this);
    auto add = [this](QMenu* menu, const char* text, void (CEditorDlg::*handler)()) {
        QAction* action = menu->addAction(QString::fromLatin1(text));
        connect(action, &QAction::triggered, this, handler);
    };
    QMenu* file = m_menuBar->addMenu(QStringLiteral("&File"));
    add(file, "&New\tCtrl-N", &CEditorDlg::OnFileNew);
    add(file, "&Open...\tCtrl-O", &CEditorDlg::OnFileOpen);
    file->addSeparator();
    add(file, "&Save\tCtrl-S", &CEditorDlg::OnFileSave);
    add(file, "Save &As...", &CEditorDlg::OnFileSaveAs);
    file->addSeparator();
    add(file, "E&xit", &CEditorDlg::OnFileExit);
    QMenu* templates = m_menuBar->addMenu(QStringLiteral("&Template"));
    add(templates, "&Load Set...", &CEditorDlg::OnTemplateLoadSet);
    add(templates, "&Save Set...", &CEditorDlg::OnTemplateSaveSet);
    add(templates, "&Edit Set...", &CEditorDlg::OnTemplateEditSet);
    QMenu* help = m_menuBar->addMenu(QStringLiteral("&Help"));
    add(help, "&About Tarnwick...", &CEditorDlg::OnHelpAbout);
    add(help, "&Tarnwick Web Site...", &CEditorDlg::OnHelpProgramWebSite);
    add(help, "&Brindlemoor Web Site...", &CEditorDlg::OnHelpGroupWebSite);
}

// Sizes are kept in dialog units of the window's font, so the arrangement holds whatever font
// the desktop gives.
int CEditorDlg::Dlu(int x) const {
    return (x * m_nBaseX + 2) / 4;
}

int CEditorDlg::DluY(int y) const {
    return (y * m_nBaseY + 4) / 8;
}

void CEditorDlg::CreateControls() {
    // The font's own average width: measuring a sample text would cost more than the rest of
    // the window's start.
    const QFontMetrics metrics = fontMetrics();
    m_nBaseX = metrics.averageCharWidth();
    m_nBaseY = metrics.height();

    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("tree"));
    m_tree->setHeaderHidden(true);
    m_tree->setColumnCount(1);
    m_tree->setIconSize(QSize(kImageSize, kImageSize));
    m_tree->setUniformRowHeights(true);
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Long values scroll sideways instead of being shortened with an ellipsis.
    m_tree->header()->setStretchLastSection(false);
    m_tree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_tree->setMinimumWidth(Dlu(120));
    m_treeBoldFont = m_tree->font();
    m_treeBoldFont.setBold(true);

    m_valueBox = new CValueComboBox(this);
    m_valueBox->setObjectName(QStringLiteral("valueBox"));
    setTabOrder(m_tree, m_valueBox);
    connect(m_tree, &QTreeWidget::itemSelectionChanged, this, &CEditorDlg::OnSelChangedTree);
    connect(m_valueBox, &CValueComboBox::EditChanged, this, &CEditorDlg::OnEditChangeValue);
    connect(m_valueBox, qOverload<int>(&QComboBox::activated), this, &CEditorDlg::OnSelEndOkValue);

    auto label = [this](const char* name, const char* text) {
        auto* made = new QLabel(QString::fromLatin1(text), this);
        made->setObjectName(QString::fromLatin1(name));
        made->setTextFormat(Qt::PlainText);
        return made;
    };
    m_fieldCaption = label("fieldCaption", "Field:");
    m_typeCaption = label("typeCaption", "Type:");
    m_descriptionCaption = label("descriptionCaption", "Description:");
    m_fieldText = label("fieldText", "");
    m_typeText = label("typeText", "");
    m_descriptionText = label("descriptionText", "");
    // A long name is cut off at the panel's edge rather than widening the window.
    m_fieldText->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_typeText->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_descriptionText->setWordWrap(true);
    m_descriptionText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_descriptionText->setIndent(Dlu(12));
    m_noteText = label("noteText", "");
    m_noteText->setWordWrap(true);

    m_logo = new QLabel(this);
    m_logo->setObjectName(QStringLiteral("logo"));
    m_logo->setPixmap(QPixmap(QStringLiteral(":/logo.ppm")));

    auto* fields = new QGridLayout;
    fields->setContentsMargins(Dlu(11), 0, 0, DluY(4));
    fields->setHorizontalSpacing(0);
    fields->setVerticalSpacing(DluY(3));
    fields->setColumnMinimumWidth(0, Dlu(38));
    fields->setColumnStretch(1, 1);
    fields->addWidget(m_valueBox, 0, 0, 1, 2);
    fields->setRowMinimumHeight(1, DluY(17) - fields->verticalSpacing());
    fields->addWidget(m_fieldCaption, 1, 0, Qt::AlignBottom);
    fields->addWidget(m_fieldText, 1, 1, Qt::AlignBottom);
    fields->addWidget(m_typeCaption, 2, 0);
    fields->addWidget(m_typeText, 2, 1);
    fields->addWidget(m_descriptionCaption, 3, 0, 1, 2);
    fields->addWidget(m_descriptionText, 4, 0, 1, 2);
    fields->addWidget(m_noteText, 5, 0, 1, 2);
    fields->setRowStretch(4, 1);

    auto* panel = new QWidget(this);
    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    panelLayout->setSpacing(0);
    panelLayout->addLayout(fields, 1);
    panelLayout->addWidget(m_logo, 0, Qt::AlignRight | Qt::AlignBottom);
    panel->setFixedWidth(std::max(Dlu(168), m_logo->pixmap().width()));

    m_unusedBar = new CUnusedLinesBar(this);
    connect(m_unusedBar, &CUnusedLinesBar::ShowRequested, this, &CEditorDlg::OnShowUnusedLines);
    auto* left = new QVBoxLayout;
    left->setSpacing(DluY(3));
    left->addWidget(m_tree, 1);
    left->addWidget(m_unusedBar);

    auto* root = new QHBoxLayout(this);
    root->setMenuBar(m_menuBar);
    root->setContentsMargins(Dlu(7), DluY(7), Dlu(7), DluY(7));
    root->setSpacing(Dlu(4));
    root->addLayout(left, 1);
    root->addWidget(panel, 0);

    resize(Dlu(371), DluY(231) + m_menuBar->sizeHint().height());
}

void CEditorDlg::setVisible(bool visible) {
    if (visible && !m_bInitialised)
        Initialise();
    QDialog::setVisible(visible);
}

void CEditorDlg::Initialise() {
    if (m_bInitialised)
        return;
    m_bInitialised = true;

    // The icon is read once for the application; every window shares it.
    if (QApplication::windowIcon().isNull())
        QApplication::setWindowIcon(QIcon(QStringLiteral(":/tarnwick.png")));
    setWindowIcon(QApplication::windowIcon());

    if (!m_aliasTable.LoadFromCurrentFolder())
        m_prompts.Message("Error loading alias file 'alias.txt'.\nNo tank aliases will be used.");

    m_document.Reset();
    UpdateTitle();

    // From here on Ctrl+N, Ctrl+O and Ctrl+S reach the File commands.
    m_shortcuts.Install();

    const QPixmap strip(QStringLiteral(":/tree-images.png"));
    for (int i = 0; i < kImageCount; ++i) {
        const QPixmap image = strip.copy(i * kImageSize, 0, kImageSize, kImageSize);
        QIcon icon(image);
        // A selected item keeps its picture; the style would tint it otherwise.
        icon.addPixmap(image, QIcon::Selected);
        m_imageList[i] = icon;
    }
    BuildTree();

    m_boldFont = m_fieldText->font();
    m_boldFont.setBold(true);
    for (QLabel* caption : {m_fieldCaption, m_typeCaption, m_descriptionCaption})
        caption->setFont(m_boldFont);

    m_fieldText->clear();
    m_typeText->clear();
    m_descriptionText->clear();

    m_tree->setFocus();

    if (!m_strStartPath.empty())
        OpenDocument(m_strStartPath);
}

void CEditorDlg::UpdateTitle() {
    QString title = QStringLiteral("Tarnwick - [") + TextOfBytes(m_document.m_strPath) +
                    (m_document.m_bModified ? QStringLiteral(" *]") : QStringLiteral("]"));
    // Qt reads "[*]" in a title as the modified mark; a path may hold it literally.
    title.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    setWindowTitle(title);
}

QTreeWidgetItem* CEditorDlg::MakeFieldItem(int fieldIndex) const {
    const CFieldEntry& field = m_document.m_fields[static_cast<std::size_t>(fieldIndex)];
    auto* item = new QTreeWidgetItem(QStringList(TextOfBytes(FieldItemText(field))));
    item->setIcon(0, m_imageList[ImageOf(field.Type())]);
    item->setData(0, kItemIndexRole, fieldIndex);
    SetItemBold(item, field.m_bPresent != 0);
    return item;
}

void CEditorDlg::SetItemBold(QTreeWidgetItem* item, bool bold) const {
    if (bold)
        item->setFont(0, m_treeBoldFont);
    else
        item->setData(0, Qt::FontRole, QVariant());
}

void CEditorDlg::BuildTree() {
    m_tree->clear();
    // Items are made apart from the tree and handed over in one step, which spares the view
    // an update for each of them.
    QList<QTreeWidgetItem*> groups;
    groups.reserve(static_cast<qsizetype>(m_document.m_groups.size()));
    for (const CFieldGroup& group : m_document.m_groups) {
        auto* groupItem = new QTreeWidgetItem(QStringList(TextOfBytes(group.m_strName)));
        groupItem->setIcon(0, m_imageList[kFolderImage]);
        groupItem->setData(0, kItemIndexRole, group.m_nIndex);
        QList<QTreeWidgetItem*> fields;
        for (int j = group.m_nFirstField; j < group.m_nEndField; ++j)
            fields.append(MakeFieldItem(j));
        groupItem->addChildren(fields);
        groups.append(groupItem);
    }
    m_tree->addTopLevelItems(groups);
    UpdateGroupBold();
}

void CEditorDlg::UpdateGroupBold() {
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* group = m_tree->topLevelItem(i);
        bool bold = false;
        for (int j = 0; j < group->childCount() && !bold; ++j)
            bold = group->child(j)->font(0).bold();
        if (group->font(0).bold() != bold)
            SetItemBold(group, bold);
    }
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

int CEditorDlg::SaveDocument() {
    SaveStyle style = SaveStyle::Layout;
    if (!m_document.IsUntitled())
        return ChooseSaveStyle(style) ? m_document.Save(style) : 0;
    std::string path;
    if (!m_prompts.SavePath(kTankFilter, kTankExtension, path))
        return 0;
    return m_document.SaveAs(path);
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
        UpdateTitle();
        UpdateUnusedLines();
        return saved;
    }
    case IPrompts::Answer::No:
        return 1;
    case IPrompts::Answer::Cancel:
        break;
    }
    return 0;
}

void CEditorDlg::OnFileNew() {
    if (!PromptSaveChanges())
        return;
    m_document.Reset();
    m_saveStyle.reset();
    BuildTree();
    UpdateTitle();
    UpdateUnusedLines();
}

void CEditorDlg::OpenDocument(const std::string& path) {
    // A failed open leaves the document as it was, and with it the answer about its lines.
    if (m_document.Load(path))
        m_saveStyle.reset();
    else
        m_prompts.Message(FormatText("Error loading tank file '%s'.", path));
    BuildTree();
    UpdateTitle();
    UpdateUnusedLines();
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

void CEditorDlg::OnFileSave() {
    if (m_document.IsUntitled()) {
        OnFileSaveAs();
        return;
    }
    if (SaveStyle style; ChooseSaveStyle(style))
        m_document.Save(style);
    UpdateTitle();
    UpdateUnusedLines();
}

void CEditorDlg::OnFileSaveAs() {
    SaveStyle style = SaveStyle::Layout;
    std::string path;
    if (ChooseSaveStyle(style) && m_prompts.SavePath(kTankFilter, kTankExtension, path))
        m_document.SaveAs(path, style);
    UpdateTitle();
    UpdateUnusedLines();
}

void CEditorDlg::OnFileExit() {
    if (!PromptSaveChanges())
        return;
    QDialog::reject();
}

void CEditorDlg::reject() {
    OnFileExit();
}

void CEditorDlg::OnTemplateLoadSet() {
    std::string path;
    if (!m_prompts.OpenPath(kSetFilter, path)) {
        RefreshValueBox();
        return;
    }
    std::vector<std::string> paths;
    if (!ReadTemplateSetFile(path, paths))
        return;
    // The old set is gone from here on, even when no line of the new one loads.
    m_templates.Clear();
    LoadTemplatesWithProgress(this, m_templates, m_aliasTable, paths);
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
    QDesktopServices::openUrl(QUrl(QStringLiteral(TARNWICK_PROGRAM_URL)));
}

void CEditorDlg::OnHelpGroupWebSite() {
    QDesktopServices::openUrl(QUrl(QStringLiteral(TARNWICK_GROUP_URL)));
}

QTreeWidgetItem* CEditorDlg::SelectedItem() const {
    const QList<QTreeWidgetItem*> selected = m_tree->selectedItems();
    return selected.isEmpty() ? nullptr : selected.front();
}

void CEditorDlg::SetShownValue(const std::string& bytes, bool present) {
    m_strShownBytes = bytes;
    m_bShownPresent = present;
    m_shownText = TextOfBytes(bytes);
    m_valueBox->SetEditText(m_shownText);
}

void CEditorDlg::OnSelChangedTree() {
    m_noteText->clear();
    QTreeWidgetItem* item = SelectedItem();
    if (!item) {
        // Nothing is selected (the tree was rebuilt): the panel must not go on showing a field
        // of a document that may be gone.
        ClearValueBox();
        m_valueBox->setEnabled(true);
        m_valueBox->RefuseCharacters({}, {});
        m_fieldText->clear();
        m_typeText->clear();
        m_descriptionText->clear();
        return;
    }
    const int index = ItemIndexOf(item);
    if (item->parent()) {
        const CFieldEntry& field = m_document.m_fields[static_cast<std::size_t>(index)];
        FillValueBox(index, field);
        m_valueBox->setEnabled(true);
        if (field.Type() == FieldType::String)
            m_valueBox->RefuseCharacters(QString::fromLatin1(kUnstorableChars),
                                         [this](QChar c) { OnValueRefused(c); });
        else
            m_valueBox->RefuseCharacters({}, {});
        static const char* const kTypeTexts[] = {"String Value", "Float Value", "Integer Value"};
        m_typeText->setText(kTypeTexts[static_cast<std::size_t>(field.Type())]);
        m_fieldText->setText(TextOfBytes(field.Name()));
        m_descriptionText->setText(TextOfBytes(field.Description()));
    } else {
        const CFieldGroup& group = m_document.m_groups[static_cast<std::size_t>(index)];
        ClearValueBox();
        m_valueBox->setEnabled(false);
        m_typeText->setText(QStringLiteral("Group Header"));
        m_fieldText->setText(TextOfBytes(group.m_strName));
        m_descriptionText->setText(TextOfBytes(group.m_strDescription));
    }
}

void CEditorDlg::OnValueRefused(QChar c) {
    const std::string why = "A String value " + UnstorableCharReason(c.toLatin1()) + ".";
    m_noteText->setText(QString::fromLatin1(why));
}

void CEditorDlg::FillValueBox(int fieldIndex, const CFieldEntry& entry) {
    ClearValueBox();
    SetShownValue(entry.m_bPresent ? FormatValue(entry) : std::string(), entry.m_bPresent != 0);
    std::vector<CValueComboBox::Item> items;
    items.reserve(m_templates.Size());
    for (std::size_t i = 0; i < m_templates.Size(); ++i) {
        const CTankFile& tankFile = m_templates.At(i);
        const CFieldEntry& field = tankFile.m_fields[static_cast<std::size_t>(fieldIndex)];
        if (!field.m_bPresent)
            continue;
        const std::string value = FormatValue(field);
        const std::string& label =
            tankFile.m_strAlias.empty() ? tankFile.m_strFileName : tankFile.m_strAlias;
        items.push_back({TextOfBytes(value), TextOfBytes(label),
                         QByteArray(value.data(), static_cast<qsizetype>(value.size())),
                         // A float would round integers beyond 2^24 together.
                         field.Type() == FieldType::Float ? static_cast<double>(field.m_fValue)
                                                          : static_cast<double>(field.m_nValue)});
    }
    m_valueBox->SetItems(std::move(items), entry.Type() == FieldType::String
                                               ? CValueComboBox::Order::Text
                                               : CValueComboBox::Order::Number);
}

void CEditorDlg::ClearValueBox() {
    SetShownValue({}, false);
    m_valueBox->ResetContent();
}

void CEditorDlg::RefreshValueBox() {
    QTreeWidgetItem* item = SelectedItem();
    if (!item || !item->parent())
        return;
    const int index = ItemIndexOf(item);
    FillValueBox(index, m_document.m_fields[static_cast<std::size_t>(index)]);
}

void CEditorDlg::ApplyValue() {
    QTreeWidgetItem* item = SelectedItem();
    if (item && item->parent()) {
        CFieldEntry& field = m_document.m_fields[static_cast<std::size_t>(ItemIndexOf(item))];
        const bool wasBold = IsItemBold(item);
        m_document.m_bModified = 1;
        const QString text = m_valueBox->EditText();
        if (text == m_shownText && m_bShownPresent && text.isEmpty()) {
            // An empty String shown as it is (a present "" or a template's "") stays present:
            // Enter or a pick must not remove a value the user never touched.
            field.m_strValue.clear();
            field.m_bPresent = true;
        } else {
            ApplyTypedValue(field, text == m_shownText ? m_strShownBytes : BytesOfText(text));
        }
        // The item shows the value as stored (a Float rounded to single precision), so it never
        // shows what will not be saved. A value just removed reads "name =".
        const std::string itemText = field.m_bPresent ? FieldItemText(field) : field.Name() + " =";
        item->setText(0, TextOfBytes(itemText));
        const bool bold = field.m_bPresent != 0;
        SetItemBold(item, bold);
        if (bold != wasBold)
            UpdateGroupBold();
    }
    UpdateTitle();
}

void CEditorDlg::OnEditChangeValue() {
    m_noteText->clear();
    ApplyValue();
}

void CEditorDlg::OnSelEndOkValue(int index) {
    if (index < 0)
        return;
    // The box checked the picked text as it took it; a template's value is not the user's
    // typing, so nothing was refused.
    m_noteText->clear();
    const QByteArray bytes = m_valueBox->itemData(index, CValueComboBox::kBytesRole).toByteArray();
    SetShownValue(std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())), true);
    ApplyValue();
}

void CEditorDlg::keyPressEvent(QKeyEvent* event) {
    // Enter applies the value; it never closes the window (Escape goes through reject()).
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        ApplyValue();
        return;
    }
    QDialog::keyPressEvent(event);
}
