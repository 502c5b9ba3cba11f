// Grids of number edits: how their cells are named and laid out, and which
// text counts as a value. What the cells show and send of their settings is
// tested with the pages that use them (LutPagesTest, BrevoCLDSPPageTest).

#include "CellGrid.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

const QStringList kColours = {"R", "G", "B"};

QStringList numbers(int count)
{
    QStringList labels;
    for (int i = 0; i < count; ++i)
        labels << QString::number(i);
    return labels;
}

TEST(CellGrid, NamesCellsByCaptionRowAndColumnInRowOrder)
{
    QWidget page;
    CellGrid matrix(&page, "Color matrix", kColours, kColours, -8192, 8191);
    ASSERT_EQ(matrix.cellCount(), 9);
    EXPECT_EQ(matrix.cell(0)->accessibleName(), "Color matrix R R");
    EXPECT_EQ(matrix.cell(1)->accessibleName(), "Color matrix R G");
    EXPECT_EQ(matrix.cell(2, 1)->accessibleName(), "Color matrix B G");
    EXPECT_EQ(matrix.cellOf(2, 1), 7);

    CellGrid points(&page, "WideLUT", numbers(17), {}, 0, 65535);
    EXPECT_EQ(points.columnCount(), 1);
    EXPECT_EQ(points.cell(16)->accessibleName(), "WideLUT 16");
}

struct TypedCase {
    const char* text;
    std::optional<int> value;
};

void PrintTo(const TypedCase& c, std::ostream* out)
{
    *out << '"' << c.text << '"';
}

class TypedText : public ::testing::TestWithParam<TypedCase> {};

TEST_P(TypedText, IsAValueOnlyAsAWholeNumberInRange)
{
    QWidget page;
    CellGrid grid(&page, "Cell", {"0"}, {"0"}, -8192, 8191);
    QLineEdit* cell = grid.cell(0);
    cell->setText(QString::fromLatin1(GetParam().text));
    EXPECT_EQ(grid.value(0), GetParam().value);
    EXPECT_EQ(cell->text(), QString::fromLatin1(GetParam().text)); // nothing is corrected
}

INSTANTIATE_TEST_SUITE_P(Texts, TypedText,
                         ::testing::Values(TypedCase{"0", 0}, TypedCase{"-8192", -8192}, TypedCase{"8191", 8191},
                                           TypedCase{"+12", 12}, TypedCase{"8192", std::nullopt},
                                           TypedCase{"-8193", std::nullopt}, TypedCase{"", std::nullopt},
                                           TypedCase{"-", std::nullopt}, TypedCase{"12x", std::nullopt},
                                           TypedCase{" 12", 12}, TypedCase{"1.5", std::nullopt},
                                           TypedCase{"99999999999999999999", std::nullopt}));

TEST(CellGrid, ShowsValuesRowByRowAndReadsOnlyWholeNumbersInRange)
{
    QWidget page;
    CellGrid grid(&page, "Point", {"1", "2"}, {"X", "Y"}, 0, 4095);
    grid.showAll({1, 2, 3});
    EXPECT_EQ(grid.value(1, 0), 3);
    EXPECT_EQ(grid.cell(1, 1)->text(), ""); // no value for it
    grid.cell(1)->setText("5000");
    EXPECT_EQ(grid.value(0, 1), std::nullopt);
}

TEST(CellGrid, ALongListIsLaidOutInBandsSideBySide)
{
    QWidget page;
    CellGrid grid(&page, "WideLUT", numbers(17), {}, 0, 65535);
    page.setLayout(grid.makeLayout(9));
    page.show();
    QCoreApplication::processEvents();
    EXPECT_GT(grid.cell(1)->y(), grid.cell(0)->y());
    EXPECT_EQ(grid.cell(9)->y(), grid.cell(0)->y());
    EXPECT_GE(grid.cell(9)->x(), grid.cell(8)->x() + grid.cell(8)->width());
    EXPECT_EQ(grid.cell(16)->y(), grid.cell(7)->y());
}

} // namespace
