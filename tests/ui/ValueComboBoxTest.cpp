#include "ValueComboBox.h"
#include "EditorFixture.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QScreen>

#include <set>

namespace {

const QColor kUntouched(1, 2, 3);

// The colours in the columns [from, to) of image.
std::set<QRgb> Colours(const QImage& image, int from, int to) {
    std::set<QRgb> colours;
    for (int x = from; x < to; ++x)
        for (int y = 0; y < image.height(); ++y)
            colours.insert(image.pixel(x, y));
    return colours;
}

} // namespace

TEST(ValueComboBoxTest, AnItemShowsItsBoldLabelAndItsValueEachCutAtItsHalf) {
    CValueComboBox box;
    const QPalette palette = box.palette();
    const QRgb base = palette.color(QPalette::Base).rgb(),
               text = palette.color(QPalette::Text).rgb();
    const QString longLabel = QStringLiteral("AVeryLongTemplateAliasIndeed");
    // Sorted: "", "1500", "7", the long value.
    box.SetItems({{QStringLiteral("a value far too long for its half of the item"), longLabel, {}},
                  {QString(), longLabel, {}},
                  {QStringLiteral("7"), QString(), {}},
                  {QStringLiteral("1500"), QStringLiteral("WWWW"), {}}});
    QFont font = box.font();
    // Without antialiasing every pixel of a glyph has the text colour exactly.
    font.setStyleStrategy(QFont::NoAntialias);
    auto paint = [&](int row, int width, bool current) {
        QImage image(200, 20, QImage::Format_RGB32);
        image.fill(kUntouched);
        QPainter painter(&image);
        QStyleOptionViewItem option;
        option.rect = QRect(0, 0, width, 20);
        option.font = font;
        option.state = current ? QStyle::State_Selected : QStyle::State_None;
        box.itemDelegate()->paint(&painter, option, box.model()->index(row, 0));
        return image;
    };

    const QImage plain = paint(1, 200, false);
    EXPECT_EQ(Colours(plain, 0, 200), (std::set<QRgb>{base, text}));
    EXPECT_EQ(Colours(paint(1, 200, true), 0, 200),
              (std::set<QRgb>{palette.color(QPalette::Highlight).rgb(),
                              palette.color(QPalette::HighlightedText).rgb()}));
    // The label is bold: its ink reaches past where the plain font would end.
    int right = 99;
    while (right > 0 && Colours(plain, right, right + 1) == std::set<QRgb>{base})
        --right;
    EXPECT_GT(right, QFontMetrics(font).horizontalAdvance(QStringLiteral("[WWWW]")));
    EXPECT_LT(right, 100 - CValueItemDelegate::kLabelGap);
    EXPECT_TRUE(Colours(plain, 100, 200).contains(text));

    // In a 120 pixel item a long label ends, in an ellipsis, a gap before the half, and the
    // value at the item's end. An empty value or no label leaves its half bare.
    const QImage cut = paint(3, 120, false);
    EXPECT_TRUE(Colours(cut, 0, 60 - CValueItemDelegate::kLabelGap).contains(text));
    EXPECT_EQ(Colours(cut, 60 - CValueItemDelegate::kLabelGap, 60), std::set<QRgb>{base});
    EXPECT_TRUE(Colours(cut, 60, 120).contains(text));
    EXPECT_EQ(Colours(cut, 120, 200), std::set<QRgb>{kUntouched.rgb()});
    EXPECT_EQ(Colours(paint(0, 120, false), 60, 120), std::set<QRgb>{base});
    EXPECT_EQ(Colours(paint(2, 120, false), 0, 60), std::set<QRgb>{base});
}

TEST(ValueComboBoxTest, TheListShowsManyRowsWideEnoughForItsItemsAsTheScreenAllows) {
    CValueComboBox box;
    const QString longLabel = QStringLiteral("a_template_with_a_rather_long_file_name.odf");
    const QString longValue = QStringLiteral("a String value longer than any label here, too");
    std::vector<CValueComboBox::Item> items;
    for (int i = 0; i < 40; ++i)
        items.push_back({QString::number(i), QStringLiteral("t%1.odf").arg(i), {}});
    items.push_back({longValue, QStringLiteral("t.odf"), {}});
    items.push_back({QStringLiteral("x"), longLabel, {}});
    box.show();
    QAbstractItemView* list = box.view();
    // The tooltip over row, or an empty text when it shows none.
    const auto toolTip = [list](int row) {
        const QModelIndex index = list->model()->index(row, 0);
        list->scrollTo(index);
        return ToolTipAt(list->viewport(), list->visualRect(index).center());
    };

    // Sorted by text, the long value and the long label are the last two rows.
    box.SetItems(items);
    box.showPopup();
    EXPECT_GE(list->indexAt(QPoint(0, list->viewport()->height() - 1)).row(), 19);
    const int longWidth = QFontMetrics(list->font()).horizontalAdvance(longValue);
    // Wide enough for the longest value in its half, and no wider than the rows need.
    EXPECT_GE(list->viewport()->width() / 2, longWidth);
    EXPECT_LT(list->viewport()->width(), 3 * longWidth);
    EXPECT_EQ(toolTip(41), "");
    // In a narrower row the value keeps to its half and is cut there.
    const auto* delegate = static_cast<const CValueItemDelegate*>(box.itemDelegate());
    EXPECT_TRUE(
        delegate->ShownTexts(list->font(), longWidth * 3 / 2, list->model()->index(40, 0)).cut);
    box.hidePopup();

    // A label wider than the screen: the list fills the screen's width, and the label, cut,
    // shows whole in its tooltip.
    const QString hugeLabel = QStringLiteral("wide").repeated(200);
    items.push_back({QStringLiteral("y"), hugeLabel, {}});
    box.SetItems(items);
    box.showPopup();
    const QRect screen = box.screen()->availableGeometry();
    EXPECT_EQ(list->window()->width(), screen.width());
    EXPECT_TRUE(screen.contains(list->window()->geometry()));
    EXPECT_EQ(toolTip(41), "");
    EXPECT_NE(toolTip(42).find(hugeLabel.toStdString()), std::string::npos);
    box.hidePopup();

    // A value wider than twice the screen: every row still fits the list and shows its label and
    // its value; the long one is cut with an ellipsis and whole in its tooltip, beside its label.
    const QString hugeValue = QStringLiteral("value ").repeated(300);
    items.push_back({hugeValue, QStringLiteral("huge.odf"), {}});
    box.SetItems(items);
    box.showPopup();
    list->scrollToBottom();
    int rows = 0;
    for (int row = 0; row < box.count(); ++row) {
        const QModelIndex index = box.model()->index(row, 0);
        const QRect rect = list->visualRect(index);
        if (rect.top() < 0 || rect.bottom() >= list->viewport()->height())
            continue;
        ++rows;
        EXPECT_LE(rect.width(), list->viewport()->width()) << "row " << row;
        const auto shown = delegate->ShownTexts(list->font(), rect.width(), index);
        const QString label = "[" + index.data(CValueComboBox::kLabelRole).toString() + "]";
        if (index.data().toString() == hugeValue) {
            EXPECT_TRUE(shown.value.startsWith(QStringLiteral("value value")) &&
                        shown.value.endsWith(QChar(0x2026)))
                << shown.value.toStdString();
            EXPECT_EQ(shown.label, "[huge.odf]");
            const std::string tip = toolTip(row);
            EXPECT_NE(tip.find("[huge.odf]"), std::string::npos);
            EXPECT_NE(tip.find(hugeValue.trimmed().toStdString()), std::string::npos);
        } else if (label.size() < 20) {
            EXPECT_EQ(shown.label + " " + shown.value, label + " " + index.data().toString());
        }
    }
    EXPECT_GE(rows, 19);
    box.hidePopup();
}
