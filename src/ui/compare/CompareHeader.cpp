#include "CompareHeader.h"

#include "CompareModel.h"

CCompareHeader::CCompareHeader(Qt::Orientation orientation, QWidget* parent)
    : QHeaderView(orientation, parent) {
    connect(this, &QHeaderView::sectionCountChanged, this, &CCompareHeader::Forget);
}

QSize CCompareHeader::sectionSizeFromContents(int logicalIndex) const {
    if (m_size.isValid() || !model())
        return m_size.isValid() ? m_size : QHeaderView::sectionSizeFromContents(logicalIndex);
    // Across, the first section stands for all: it gives the header its height, and a column
    // fitted to its cells by a double click is at least as wide. Down, the one with the longest
    // label, lengths compared as characters, near enough for labels in one font.
    int longest = 0;
    if (orientation() == Qt::Vertical) {
        int length = -1;
        for (int section = 0; section < model()->rowCount(); ++section) {
            const int size = model()->headerData(section, orientation()).toString().size();
            if (size > length)
                longest = section, length = size;
        }
    }
    m_size = QHeaderView::sectionSizeFromContents(longest);
    // Room for the mark of a changed row, which comes and goes without a new layout.
    if (orientation() == Qt::Vertical)
        m_size.rwidth() += fontMetrics().horizontalAdvance(CCompareModel::kChangedMark);
    return m_size;
}
