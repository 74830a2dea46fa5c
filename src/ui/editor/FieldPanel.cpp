#include "FieldPanel.h"

#include "ByteText.h"
#include "DialogUnits.h"
#include "FieldEntry.h"
#include "FieldGroup.h"
#include "Message.h"
#include "OtherKeys.h"
#include "TankFile.h"
#include "TemplateList.h"
#include "ValueComboBox.h"
#include "ValueStats.h"
#include "ValueStrip.h"
#include "ValueText.h"

#include <QGridLayout>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

CFieldPanel::CFieldPanel(QWidget* parent) : QWidget(parent), m_valueBox(new CValueComboBox(this)) {
    const CDialogUnits units(fontMetrics());
    m_valueBox->setObjectName(QStringLiteral("valueBox"));

    auto label = [this](const char* name, const char* text) {
        auto* made = new QLabel(QString::fromLatin1(text), this);
        made->setObjectName(QString::fromLatin1(name));
        made->setTextFormat(Qt::PlainText);
        return made;
    };
    QLabel* fieldCaption = label("fieldCaption", "Field:");
    QLabel* typeCaption = label("typeCaption", "Type:");
    QLabel* descriptionCaption = label("descriptionCaption", "Description:");
    QFont bold = fieldCaption->font();
    bold.setBold(true);
    for (QLabel* caption : {fieldCaption, typeCaption, descriptionCaption})
        caption->setFont(bold);
    m_fieldText = label("fieldText", "");
    m_typeText = label("typeText", "");
    m_descriptionText = label("descriptionText", "");
    // A long name is cut off at the panel's edge rather than widening the window.
    m_fieldText->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_typeText->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    // "Text (a key the editor does not know)" is longer than the panel is wide.
    m_typeText->setWordWrap(true);
    m_descriptionText->setWordWrap(true);
    m_descriptionText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_descriptionText->setIndent(units.X(12));
    m_strip = new CValueStrip(this);
    m_statsText = label("statsText", "");
    m_statsText->setWordWrap(true);
    HideStats();
    m_noteText = label("noteText", "");
    m_noteText->setWordWrap(true);

    auto* logo = new QLabel(this);
    logo->setObjectName(QStringLiteral("logo"));
    logo->setPixmap(QPixmap(QStringLiteral(":/logo.ppm")));

    auto* fields = new QGridLayout;
    fields->setContentsMargins(units.X(11), 0, 0, units.Y(4));
    fields->setHorizontalSpacing(0);
    fields->setVerticalSpacing(units.Y(3));
    fields->setColumnMinimumWidth(0, units.X(38));
    fields->setColumnStretch(1, 1);
    fields->addWidget(m_valueBox, 0, 0, 1, 2);
    fields->setRowMinimumHeight(1, units.Y(17) - fields->verticalSpacing());
    fields->addWidget(fieldCaption, 1, 0, Qt::AlignBottom);
    fields->addWidget(m_fieldText, 1, 1, Qt::AlignBottom);
    fields->addWidget(typeCaption, 2, 0);
    fields->addWidget(m_typeText, 2, 1);
    fields->addWidget(descriptionCaption, 3, 0, 1, 2);
    fields->addWidget(m_descriptionText, 4, 0, 1, 2);
    fields->addWidget(m_strip, 5, 0, 1, 2);
    fields->addWidget(m_statsText, 6, 0, 1, 2);
    fields->addWidget(m_noteText, 7, 0, 1, 2);
    fields->setRowStretch(4, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(fields, 1);
    layout->addWidget(logo, 0, Qt::AlignRight | Qt::AlignBottom);
    // As narrow as this and no narrower at first; the user may widen it (the window's split).
    setMinimumWidth(std::max(units.X(168), logo->pixmap().width()));
    resize(minimumWidth(), height());
    connect(m_valueBox, &CValueComboBox::EditChanged, this, &CFieldPanel::UpdateWarning);
    connect(m_strip, &CValueStrip::TemplateClicked, this, &CFieldPanel::TemplateClicked);
}

void CFieldPanel::ShowTexts(const QString& name, const QString& type, const QString& description) {
    m_fieldText->setText(name);
    m_typeText->setText(type);
    m_descriptionText->setText(description);
}

void CFieldPanel::ClearValueBox() {
    m_valueBox->ClearShownValue();
    m_valueBox->ResetContent();
    // What the program shows is always a number, or no field at all.
    m_valueBox->SetWarning({});
}

void CFieldPanel::UpdateWarning(const QString& text) {
    if (m_nFieldIndex < 0)
        return;
    CFieldEntry stored(m_nFieldIndex);
    const std::string bytes = BytesOfText(text);
    if (text.isEmpty() || IsExactNumber(stored.Type(), bytes)) {
        m_valueBox->SetWarning({});
        return;
    }
    ApplyTypedValue(stored, bytes);
    m_valueBox->SetWarning(QLatin1Char('\'') + text + QStringLiteral("' is read as ") +
                           TextOfBytes(FormatValue(stored)) + QLatin1Char('.'));
}

void CFieldPanel::ShowValue(const CFieldEntry& field, const CTemplateList& templates) {
    ClearValueBox();
    m_valueBox->SetShownValue(field);
    const auto index = static_cast<std::size_t>(field.Index());
    std::vector<CValueComboBox::Item> items;
    items.reserve(templates.Size());
    for (std::size_t i = 0; i < templates.Size(); ++i) {
        const CTankFile& tankFile = templates.At(i);
        const CFieldEntry& given = tankFile.m_fields[index];
        if (!given.m_bPresent)
            continue;
        items.push_back({TextOfBytes(FormatValue(given)), TextOfBytes(tankFile.Label()),
                         static_cast<int>(i), NumberOf(given)});
    }
    ShowStats(field, templates, items);
    m_valueBox->SetItems(std::move(items), field.Type() == FieldType::String
                                               ? CValueComboBox::Order::Text
                                               : CValueComboBox::Order::Number);
}

void CFieldPanel::HideStats() {
    m_strip->hide();
    m_statsText->hide();
}

void CFieldPanel::ShowOwnValue(const CFieldEntry& field) {
    if (!m_strip->isHidden())
        m_strip->SetOwn(field.m_bPresent ? std::optional(NumberOf(field)) : std::nullopt);
}

void CFieldPanel::ShowStats(const CFieldEntry& field, const CTemplateList& templates,
                            const std::vector<CValueComboBox::Item>& items) {
    std::vector<const CFieldEntry*> values = TemplateValues(templates, field.Index());
    if (values.size() < 2) {
        HideStats();
        return;
    }
    // The list's items are the dots: the same templates, texts and numbers.
    std::vector<CValueStrip::CValue> dots;
    dots.reserve(items.size());
    for (const CValueComboBox::Item& item : items)
        dots.push_back({item.number, item.text, item.label, item.source});
    m_strip->SetValues(std::move(dots),
                       field.m_bPresent ? std::optional(NumberOf(field)) : std::nullopt);
    const CValueStats stats = StatsOf(std::move(values));
    const std::string line =
        FormatText(FormatText(FormatText(FormatNumber("%d templates: min %s, median %s, max %s",
                                                      static_cast<long long>(stats.m_nCount)),
                                         FormatValue(*stats.m_pMin)),
                              FormatValue(*stats.m_pMedian)),
                   FormatValue(*stats.m_pMax));
    m_statsText->setText(TextOfBytes(line));
    m_strip->show();
    m_statsText->show();
}

void CFieldPanel::ShowField(const CFieldEntry& field, const CTemplateList& templates,
                            TextEncoding encoding) {
    ClearNote();
    ShowValue(field, templates);
    m_nFieldIndex = field.Index();
    m_valueBox->setEnabled(true);
    m_valueBox->SetEncoding(encoding);
    if (field.Type() == FieldType::String) {
        m_valueBox->RefuseCharacters(
            [encoding](char32_t c) { return !StringCanTake(encoding, c); },
            [this, encoding](char32_t c) { ShowNote(WhyStringCannotTake(encoding, c)); });
    } else {
        m_valueBox->RefuseCharacters({}, {});
    }
    ShowTexts(TextOfBytes(field.Name()),
              QString::fromLatin1(TypeName(field.Type())) + QStringLiteral(" Value"),
              TextOfBytes(field.Description()));
}

void CFieldPanel::ShowOtherKeyValue(const COtherKey& key, const CTemplateList& templates) {
    ClearValueBox();
    m_valueBox->SetShownText(key.present ? std::string(key.value) : std::string());
    std::vector<CValueComboBox::Item> items;
    for (std::size_t i = 0; i < templates.Size(); ++i) {
        const CTankFile& tankFile = templates.At(i);
        const int at = tankFile.m_otherKeys.Find(key.group, key.name);
        if (at < 0)
            continue;
        const COtherKey given = tankFile.m_otherKeys.At(static_cast<std::size_t>(at));
        if (given.present)
            items.push_back(
                {TextOfBytes(given.value), TextOfBytes(tankFile.Label()), static_cast<int>(i)});
    }
    m_valueBox->SetItems(std::move(items), CValueComboBox::Order::Text);
    HideStats();
}

void CFieldPanel::ShowOtherKey(const COtherKey& key, const CTemplateList& templates,
                               TextEncoding encoding) {
    m_nFieldIndex = -1;
    ClearNote();
    ShowOtherKeyValue(key, templates);
    m_valueBox->setEnabled(true);
    m_valueBox->SetEncoding(encoding);
    m_valueBox->RefuseCharacters(
        [encoding](char32_t c) { return !RawValueCanTake(encoding, c); },
        [this, encoding](char32_t c) { ShowNote(WhyRawValueCannotTake(encoding, c)); });
    ShowTexts(TextOfBytes(key.name), QStringLiteral("Text (a key the editor does not know)"), {});
}

void CFieldPanel::ShowOtherGroup(std::string_view name) {
    m_nFieldIndex = -1;
    ClearNote();
    ClearValueBox();
    HideStats();
    m_valueBox->setEnabled(false);
    ShowTexts(TextOfBytes(name), QStringLiteral("Group Header (a group the editor does not know)"),
              {});
}

void CFieldPanel::ShowGroup(const CFieldGroup& group) {
    m_nFieldIndex = -1;
    ClearNote();
    ClearValueBox();
    HideStats();
    m_valueBox->setEnabled(false);
    ShowTexts(TextOfBytes(group.m_strName), QStringLiteral("Group Header"),
              TextOfBytes(group.m_strDescription));
}

void CFieldPanel::ShowNothing() {
    m_nFieldIndex = -1;
    ClearNote();
    ClearValueBox();
    HideStats();
    m_valueBox->setEnabled(true);
    m_valueBox->RefuseCharacters({}, {});
    ShowTexts({}, {}, {});
}

void CFieldPanel::ShowNote(const std::string& why) {
    m_noteText->setText(QString::fromUtf8(why + '.'));
}

void CFieldPanel::ClearNote() {
    m_noteText->clear();
}
