#pragma once

#include <QHeaderView>

// A header of the comparison whose sections all take the size of one: its height across, the
// longest label's width down. Qt would measure up to two hundred sections' texts each time the
// table lays itself out, which for a thousand templates takes longer than the rest of opening the
// window.
class CCompareHeader : public QHeaderView {
    Q_OBJECT
public:
    explicit CCompareHeader(Qt::Orientation orientation, QWidget* parent = nullptr);

    // The sizes are measured anew at the next layout (the model's headers changed).
    void Forget() { m_size = QSize(); }

protected:
    QSize sectionSizeFromContents(int logicalIndex) const override;

private:
    mutable QSize m_size;
};
