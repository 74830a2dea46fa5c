#include "UnusedLinesDlg.h"

#include "ByteText.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QTreeWidget>
#include <QVBoxLayout>

CUnusedLinesDlg::CUnusedLinesDlg(QWidget* parent, const std::vector<CUnusedLine>& lines)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Unused Lines"));
    auto* list = new QTreeWidget(this);
    list->setObjectName(QStringLiteral("unusedLines"));
    list->setHeaderLabels(
        {QStringLiteral("Line"), QStringLiteral("Reason"), QStringLiteral("Text")});
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(lines.size()));
    for (const CUnusedLine& line : lines) {
        auto* item = new QTreeWidgetItem(
            {QString::number(line.number), TextOfBytes(line.reason), TextOfBytes(line.text)});
        item->setTextAlignment(0, Qt::AlignRight | Qt::AlignVCenter);
        items.append(item);
    }
    list->addTopLevelItems(items);
    list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list);
    layout->addWidget(buttons);
    resize(fontMetrics().averageCharWidth() * 100, fontMetrics().height() * 24);
}
