#include "ValueComboBox.h"
#include "UiTestSupport.h"

#include <QAbstractItemDelegate>
#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QLineEdit>
#include <QPainter>
#include <QScreen>
#include <QSignalSpy>
#include <QStyleOptionViewItem>
#include <QTest>
#include <QToolTip>

#include <set>

namespace {

constexpr int kWidth = 200;
constexpr int kHeight = 20;
const QColor kUntouched(1, 2, 3);

class ValueComboBoxTest : public ::testing::Test {
protected:
    ValueComboBoxTest() {
        m_font = m_box.font();
        // Without antialiasing every pixel of a glyph has the text colour exactly.
        m_font.setStyleStrategy(QFont::NoAntialias);
        m_colours = m_box.palette();
    }

    // Paints item index into a fresh image with the item rectangle rect.
    QImage Paint(int index, bool current, QRect rect = QRect(0, 0, kWidth, kHeight)) {
        QImage image(kWidth, kHeight, QImage::Format_RGB32);
        image.fill(kUntouched);
        QPainter painter(&image);
        QStyleOptionViewItem option;
        option.rect = rect;
        option.font = m_font;
        option.state =
            QStyle::State_Enabled | (current ? QStyle::State_Selected : QStyle::State_None);
        m_box.itemDelegate()->paint(&painter, option, m_box.model()->index(index, 0));
        return image;
    }

    // What text looks like drawn alone in rect on background in colour, clipped to rect.
    QImage Reference(const QString& text, bool bold, QRect rect, QColor background, QColor colour) {
        QImage image(kWidth, kHeight, QImage::Format_RGB32);
        image.fill(kUntouched);
        QPainter painter(&image);
        QFont font = m_font;
        font.setBold(bold);
        painter.setFont(font);
        painter.setPen(colour);
        painter.fillRect(rect, background);
        painter.setClipRect(rect);
        painter.drawText(rect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
        return image.copy(rect);
    }

    static std::set<QRgb> Colours(const QImage& image) {
        std::set<QRgb> colours;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                colours.insert(image.pixel(x, y));
        return colours;
    }

    CValueComboBox m_box;
    QFont m_font;
    QPalette m_colours;
};

} // namespace

TEST_F(ValueComboBoxTest, ItemsStaySortedByTextIgnoringCaseAndNeverReplaceTheEditText) {
    m_box.SetEditText(QStringLiteral("typed"));
    for (const char* text : {"9", "10", "cherry", "Banana", "apple", "9"})
        m_box.AddString(QString::fromLatin1(text), QStringLiteral("T") + QString::fromLatin1(text));
    EXPECT_EQ(ListedValues(m_box), (std::vector<ListedValue>{{"10", "T10"},
                                                             {"9", "T9"},
                                                             {"9", "T9"},
                                                             {"apple", "Tapple"},
                                                             {"Banana", "TBanana"},
                                                             {"cherry", "Tcherry"}}));
    EXPECT_EQ(m_box.EditText(), "typed");
    EXPECT_EQ(m_box.currentIndex(), -1);

    m_box.ResetContent();
    EXPECT_EQ(m_box.count(), 0);
    EXPECT_EQ(m_box.EditText(), "typed");
}

TEST_F(ValueComboBoxTest, OnlyTheUsersEditsAreReported) {
    QSignalSpy edits(&m_box, &CValueComboBox::EditChanged);
    m_box.SetEditText(QStringLiteral("from the program"));
    m_box.AddString(QStringLiteral("1"), QStringLiteral("T1"));
    EXPECT_EQ(edits.count(), 0);
    m_box.lineEdit()->clear();
    QTest::keyClicks(m_box.lineEdit(), QStringLiteral("25"));
    ASSERT_EQ(edits.count(), 2);
    EXPECT_EQ(edits.at(1).at(0).toString(), "25");
}

TEST_F(ValueComboBoxTest, ItemShowsTheBoldLabelOnTheLeftHalfAndTheValueOnTheRight) {
    m_box.AddString(QStringLiteral("1500"), QStringLiteral("T1"));
    const QRect left(0, 0, kWidth / 2, kHeight);
    const QRect right(kWidth / 2, 0, kWidth / 2, kHeight);
    const QColor window = m_colours.color(QPalette::Base);
    const QColor windowText = m_colours.color(QPalette::Text);
    const QColor highlight = m_colours.color(QPalette::Highlight);
    const QColor highlightText = m_colours.color(QPalette::HighlightedText);

    const QImage plain = Paint(0, false);
    EXPECT_EQ(plain.copy(left), Reference("[T1]", true, left, window, windowText));
    EXPECT_NE(plain.copy(left), Reference("[T1]", false, left, window, windowText));
    EXPECT_EQ(plain.copy(right), Reference("1500", false, right, window, windowText));
    EXPECT_EQ(Colours(plain), (std::set<QRgb>{window.rgb(), windowText.rgb()}));

    const QImage current = Paint(0, true);
    EXPECT_EQ(current.copy(left), Reference("[T1]", true, left, highlight, highlightText));
    EXPECT_EQ(current.copy(right), Reference("1500", false, right, highlight, highlightText));
    EXPECT_EQ(Colours(current), (std::set<QRgb>{highlight.rgb(), highlightText.rgb()}));

    // The colours are the ones the box was made with.
    QPalette changed = m_box.palette();
    changed.setColor(QPalette::Highlight, Qt::red);
    changed.setColor(QPalette::Base, Qt::green);
    m_box.setPalette(changed);
    EXPECT_EQ(Paint(0, true), current);
    EXPECT_EQ(Paint(0, false), plain);
}

TEST_F(ValueComboBoxTest, AValueIsCutAtItsHalfAndACutLabelEndsInAnEllipsis) {
    const QString longLabel = QStringLiteral("AVeryLongTemplateAliasIndeed");
    const QString longValue = QStringLiteral("a value far too long for its half of the item");
    m_box.AddString(longValue, longLabel);
    m_box.AddString(QString(), longLabel);
    const QColor window = m_colours.color(QPalette::Base);
    const QColor windowText = m_colours.color(QPalette::Text);

    // In a 120 pixel item: the label keeps its brackets and ends in an ellipsis a gap before
    // 60, the value stops at 120, nothing beyond.
    const QRect item(0, 0, 120, kHeight);
    const QImage image = Paint(1, false, item);
    const QRect left(0, 0, 60, kHeight);
    const QRect right(60, 0, 60, kHeight);
    QFont bold = m_font;
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    const QString cut = metrics.elidedText(longLabel, Qt::ElideRight,
                                           60 - CValueItemDelegate::kLabelGap -
                                               metrics.horizontalAdvance(QStringLiteral("[]")));
    ASSERT_TRUE(cut.endsWith(QChar(0x2026)));
    EXPECT_EQ(image.copy(left), Reference("[" + cut + "]", true, left, window, windowText));
    EXPECT_EQ(image.copy(right), Reference(longValue, false, right, window, windowText));
    EXPECT_EQ(Colours(image.copy(120, 0, kWidth - 120, kHeight)), std::set<QRgb>{kUntouched.rgb()});

    // An empty value leaves the right half bare: the label does not run into it.
    EXPECT_EQ(Colours(Paint(0, false, item).copy(right)), std::set<QRgb>{window.rgb()});
    // An item without a label leaves the left half bare.
    m_box.AddString(QStringLiteral("7"), QString()); // sorts between "" and the long value
    EXPECT_EQ(Colours(Paint(1, false, item).copy(left)), std::set<QRgb>{window.rgb()});
}

TEST_F(ValueComboBoxTest, TheListShowsManyRowsWideEnoughForItsItemsAsTheScreenAllows) {
    const QString longLabel = QStringLiteral("a_template_with_a_rather_long_file_name.odf");
    const QString longValue = QStringLiteral("a String value longer than any label here, too");
    const QString hugeLabel = QStringLiteral("wide").repeated(200);
    std::vector<CValueComboBox::Item> items;
    for (int i = 0; i < 40; ++i)
        items.push_back({QString::number(i), QStringLiteral("t%1.odf").arg(i), {}});
    items.push_back({longValue, QStringLiteral("t.odf"), {}});
    items.push_back({QStringLiteral("x"), longLabel, {}});
    m_box.show();
    QAbstractItemView* list = m_box.view();
    // The tooltip over row, or an empty text when it shows none.
    const auto toolTip = [list](int row) {
        const QModelIndex index = list->model()->index(row, 0);
        list->scrollTo(index);
        const QPoint at = list->visualRect(index).center();
        QHelpEvent event(QEvent::ToolTip, at, list->viewport()->mapToGlobal(at));
        QApplication::sendEvent(list->viewport(), &event);
        const QString text = QToolTip::isVisible() ? QToolTip::text() : QString();
        QToolTip::hideText();
        return text.toStdString();
    };

    m_box.SetItems(items);
    m_box.showPopup();
    // Sorted by text, the long value and the long label are the last two rows.
    ASSERT_EQ(m_box.itemText(40), longValue);
    ASSERT_EQ(m_box.Label(41), longLabel);
    EXPECT_GE(list->indexAt(QPoint(0, list->viewport()->height() - 1)).row(),
              CValueComboBox::kVisibleRows - 1);
    EXPECT_GE(list->viewport()->width() / 2,
              QFontMetrics(list->font()).horizontalAdvance(longValue));
    EXPECT_EQ(toolTip(41), "");
    m_box.hidePopup();

    // A label wider than the screen: the list fills the screen's width, and the label, cut,
    // shows whole in its tooltip.
    items.push_back({QStringLiteral("y"), hugeLabel, {}});
    m_box.SetItems(items);
    m_box.showPopup();
    const QRect screen = m_box.screen()->availableGeometry();
    EXPECT_EQ(list->window()->width(), screen.width());
    EXPECT_TRUE(screen.contains(list->window()->geometry()));
    EXPECT_EQ(toolTip(41), "");
    EXPECT_NE(toolTip(42).find(hugeLabel.toStdString()), std::string::npos);
    m_box.hidePopup();
}
