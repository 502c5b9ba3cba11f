// A table of regions: what a row sends and in which order its numbers go,
// what a load shows (also when a row's read fails), and typed values that
// must not reach the camera.

#include "PageTesting.h"
#include "RegionRows.h"

#include <QCheckBox>
#include <QPushButton>

namespace {

// Three rows with an extra column after the rectangle, as the area gain page
// has one.
class RegionPage : public Page {
public:
    explicit RegionPage(PageContext context, QWidget* parent = nullptr) : Page(context, parent)
    {
        rows = new RegionRows(this, connection(), bind(),
                              {.word = "AREA-GAIN", .rowCaption = QStringLiteral("Area"), .rows = 3,
                               .columns = rectangleColumns() << RegionColumn{QStringLiteral("Gain"), 4, -100, 100}});
        setAll = rows->makeSetAllButton(this);
        rows->declareLoad(load());
    }

    RegionRows* rows;
    QPushButton* setAll;
};

enum Column { Left, Top, Width, Height, Gain };

class RegionRowsTest : public PageTest {
protected:
    void openPage()
    {
        page = open<RegionPage>();
        region = static_cast<RegionPage*>(page.get());
        camera->forgetLines();
    }

    QLineEdit* field(int row, Column column) const { return region->rows->field(row, column); }
    QCheckBox* box(int row) const { return region->rows->enableBox(row); }

    // Row 1 ticked, Left 10, Top 20, Width 300, Height 200, Gain -5.
    void typeRowOne()
    {
        box(1)->setChecked(true);
        const char* texts[] = {"10", "20", "300", "200", "-5"};
        for (int column = Left; column <= Gain; ++column)
            field(1, Column(column))->setText(QString::fromLatin1(texts[column]));
    }

    QStringList rowTexts(int row) const
    {
        QStringList texts;
        for (int column = Left; column <= Gain; ++column)
            texts << field(row, Column(column))->text();
        return texts;
    }

    std::unique_ptr<Page> page;
    RegionPage* region = nullptr;
};

TEST_F(RegionRowsTest, LoadingReadsEachRowInOrderAndShowsEachValueInItsColumn)
{
    camera->set("AREA-GAIN 0", "1 128 96 16 8 20");
    camera->set("AREA-GAIN 1", "0 64 32 0 4 -3");
    camera->set("AREA-GAIN 2", "1 8 2 632 478 0");

    page = open<RegionPage>();
    region = static_cast<RegionPage*>(page.get());

    EXPECT_EQ(sent(), (QByteArrayList{"AREA-GAIN 0", "AREA-GAIN 1", "AREA-GAIN 2"}));
    EXPECT_TRUE(box(0)->isChecked());
    EXPECT_EQ(rowTexts(0), (QStringList{"16", "8", "128", "96", "20"}));
    EXPECT_FALSE(box(1)->isChecked());
    EXPECT_EQ(rowTexts(1), (QStringList{"0", "4", "64", "32", "-3"}));
    EXPECT_TRUE(box(2)->isChecked());
    EXPECT_EQ(rowTexts(2), (QStringList{"632", "478", "8", "2", "0"}));
}

// Answers to "AREA-GAIN 1" that do not check out.
class FailedRowRead : public RegionRowsTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(FailedRowRead, ShowsEmptyFieldsAndAClearedBoxNeverAnotherRowsValues)
{
    camera->set("AREA-GAIN 0", "1 128 96 16 8 20");
    camera->set("AREA-GAIN 1", "1 64 32 0 4 7");
    camera->set("AREA-GAIN 2", "1 8 2 632 478 0");
    openPage();
    camera->raw["AREA-GAIN 1"] = GetParam();

    page->LoadFromCamera();

    EXPECT_FALSE(box(1)->isChecked());
    EXPECT_EQ(rowTexts(1), (QStringList{"", "", "", "", ""}));
    EXPECT_EQ(rowTexts(0), (QStringList{"16", "8", "128", "96", "20"}));
    EXPECT_EQ(rowTexts(2), (QStringList{"632", "478", "8", "2", "0"}));
}

INSTANTIATE_TEST_SUITE_P(Answers, FailedRowRead,
                         ::testing::Values("AREA-GAIN 1\rNG\r",                  // refused
                                           "AREA-GAIN 1\r1 64 32 0\rOK\r",       // too few values
                                           "AREA-GAIN 0\r1 64 32 0 4 7\rOK\r",   // another row's answer
                                           "AREA-GAIN 1\r1 64 32 0 4 7\rNG\r")); // not "OK"

TEST_F(RegionRowsTest, EnterInAnyFieldOfARowSendsTheRowWithTheRectangleInWireOrder)
{
    openPage();
    typeRowOne();
    for (int column = Left; column <= Gain; ++column) {
        field(1, Column(column))->setFocus();
        pressKey(field(1, Column(column)), Qt::Key_Return);
    }
    EXPECT_EQ(sent(), QByteArrayList(5, "AREA-GAIN 1 1 300 200 10 20 -5"));
}

TEST_F(RegionRowsTest, TheEnableBoxSendsItsRowWithTheNewState)
{
    openPage();
    typeRowOne();
    box(1)->click();
    box(1)->click();
    EXPECT_EQ(sent(), (QByteArrayList{"AREA-GAIN 1 0 300 200 10 20 -5", "AREA-GAIN 1 1 300 200 10 20 -5"}));
}

TEST_F(RegionRowsTest, SetAllSendsEveryRowFirstToLastEachWithItsOwnBox)
{
    camera->set("AREA-GAIN 0", "1 128 96 16 8 20");
    camera->set("AREA-GAIN 1", "0 64 32 0 4 -3");
    camera->set("AREA-GAIN 2", "1 8 2 632 478 0");
    openPage();
    region->setAll->click();
    EXPECT_EQ(sent(), (QByteArrayList{"AREA-GAIN 0 1 128 96 16 8 20", "AREA-GAIN 1 0 64 32 0 4 -3",
                                      "AREA-GAIN 2 1 8 2 632 478 0"}));
}

TEST_F(RegionRowsTest, ARefusedRowKeepsWhatTheUserTyped)
{
    openPage();
    typeRowOne();
    camera->refused << "AREA-GAIN";
    typeAndEnter(field(1, Width), QStringLiteral("640"));
    EXPECT_EQ(sent(), QByteArrayList{"AREA-GAIN 1 1 640 200 10 20 -5"});
    EXPECT_EQ(rowTexts(1), (QStringList{"10", "20", "640", "200", "-5"}));
    EXPECT_TRUE(box(1)->isChecked());
}

TEST_F(RegionRowsTest, FieldsAreNamedByRowAndColumn)
{
    openPage();
    EXPECT_EQ(box(2)->accessibleName(), QStringLiteral("Area 2 Enable"));
    EXPECT_EQ(field(0, Left)->accessibleName(), QStringLiteral("Area 0 Left"));
    EXPECT_EQ(field(2, Height)->accessibleName(), QStringLiteral("Area 2 Height"));
    EXPECT_EQ(field(1, Gain)->accessibleName(), QStringLiteral("Area 1 Gain"));
}

// A value in row 1 that must not go out: which field holds it and what.
struct BadValue {
    Column column;
    const char* text;
};

void PrintTo(const BadValue& value, std::ostream* out)
{
    *out << "column " << value.column << " \"" << value.text << '"';
}

class BadRowInput : public RegionRowsTest, public ::testing::WithParamInterface<BadValue> {
protected:
    void SetUp() override
    {
        for (const char* row : {"AREA-GAIN 0", "AREA-GAIN 1", "AREA-GAIN 2"})
            camera->set(row, "0 64 48 0 0 0");
        openPage();
        typeRowOne();
        field(1, GetParam().column)->setText(QString::fromLatin1(GetParam().text));
        expected = rowTexts(1);
    }
    void expectNothingSentAndTextsKept()
    {
        EXPECT_TRUE(sent().isEmpty());
        EXPECT_EQ(rowTexts(1), expected);
        EXPECT_EQ(page->focusWidget(), field(1, GetParam().column)); // the field at fault
    }
    QStringList expected;
};

TEST_P(BadRowInput, EnterInTheRowSendsNothing)
{
    // Enter in another field of the row than the one at fault.
    const Column other = GetParam().column == Left ? Top : Left;
    field(1, other)->setFocus();
    pressKey(field(1, other), Qt::Key_Return);
    expectNothingSentAndTextsKept();
}

TEST_P(BadRowInput, SetAllSendsNoRowAtAll)
{
    region->setAll->click();
    expectNothingSentAndTextsKept();
}

TEST_P(BadRowInput, AClickOnTheBoxSendsNothingAndIsUndone)
{
    box(1)->click();
    expectNothingSentAndTextsKept();
    EXPECT_TRUE(box(1)->isChecked());
}

INSTANTIATE_TEST_SUITE_P(Values, BadRowInput,
                         // How each text is read is the business of readWholeNumber; here one of
                         // each kind: not a number, empty, below a column's limit, above it.
                         ::testing::Values(BadValue{Left, "12abc"}, BadValue{Top, ""}, BadValue{Width, "-8"},
                                           BadValue{Gain, "101"}));

} // namespace
