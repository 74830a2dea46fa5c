#include "CompareHeader.h"

CCompareHeader::CCompareHeader(Qt::Orientation orientation, QWidget* parent)
    : QHeaderView(orientation, parent) {
    connect(this, &QHeaderView::sectionCountChanged, this, &CCompareHeader::Forget);
}

QSize CCompareHeader::sectionSizeFromContents(int logicalIndex) const {
    if (m_size.isValid() || !model())
        return m_size.isValid() ? m_size : QHeaderView::sectionSizeFromContents(logicalIndex);
    // The section with the longest label stands for all: lengths are compared as characters,
    // which is near enough for labels in one font.
    int longest = 0, length = -1;
    const int count =
        orientation() == Qt::Horizontal ? model()->columnCount() : model()->rowCount();
    for (int section = 0; section < count && orientation() == Qt::Vertical; ++section) {
        const int size = model()->headerData(section, orientation()).toString().size();
        if (size > length)
            longest = section, length = size;
    }
    m_size = QHeaderView::sectionSizeFromContents(longest);
    return m_size;
}
