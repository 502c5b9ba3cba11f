// A table of regions: what a row sends and in which order its numbers go,
// what a load shows (also when a row's read fails), refusals, and typed
// values that must not reach the camera.

#include "PageTesting.h"
#include "RegionRows.h"

#include <QCheckBox>
#include <QPushButton>

namespace {

// Three rows with an extra column after the rectangle, as the area gain page
// has one.
class RegionSettings : public PageSettings {
public:
    RegionSettings(Connection& connection, const QString& title, const CatalogueContext&)
        : PageSettings(connection, title)
    {
        for (int row = 0; row < 3; ++row)
            rows << &numbers("AREA-GAIN", QStringLiteral("Area %1").arg(row), "%d %d %d %d %d %d", 6)
                         .indexed(QByteArray::number(row));
    }
    QList<Setting*> rows;
};

class RegionPage : public Page {
public:
    using Settings = RegionSettings;

    explicit RegionPage(PageContext context, QWidget* parent = nullptr) : Page(context, parent)
    {
        rows = new RegionRows(this, sendPath(),
                              {.rowCaption = QStringLiteral("Area"),
                               .columns = rectangleColumns() << RegionColumn{QStringLiteral("Gain"), 4, -100, 100}},
                              settingsAs<Settings>().rows);
        setAll = rows->makeSetAllButton(this);
    }

    RegionRows* rows;
    QPushButton* setAll;
};

enum Column { Left, Top, Width, Height, Gain };

class RegionRowsTest : public PageTest {
protected:
    // What the status line would say: why typed text was not sent, or the line refused.
    RegionRowsTest()
    {
        QObject::connect(&sendPath, &SendPath::inputRejected, [this](const QString& why) { statusText = why; });
        QObject::connect(&sendPath, &SendPath::refused, [this](const QByteArray& line, const QString&) {
            statusText = QStringLiteral("Refused: ") + QString::fromLatin1(line);
        });
    }
    QString said() const { return statusText; }

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
    QString statusText;
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

TEST_P(FailedRowRead, ShowsTheRowAsNotReadNeverAnotherRowsValues)
{
    camera->set("AREA-GAIN 0", "1 128 96 16 8 20");
    camera->set("AREA-GAIN 1", "1 64 32 0 4 7");
    camera->set("AREA-GAIN 2", "1 8 2 632 478 0");
    openPage();
    camera->raw["AREA-GAIN 1"] = GetParam();

    page->LoadFromCamera();

    EXPECT_EQ(box(1)->checkState(), Qt::PartiallyChecked);
    EXPECT_EQ(rowTexts(1), (QStringList{"", "", "", "", ""}));
    EXPECT_EQ(field(1, Gain)->placeholderText(), QStringLiteral("not read"));
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

TEST_F(RegionRowsTest, ARefusedRowIsReportedAndShowsWhatTheCameraHolds)
{
    camera->set("AREA-GAIN 1", "0 64 32 0 4 -3");
    openPage();
    typeRowOne();
    camera->raw["AREA-GAIN 1 1 300 640 10 20 -5"] = "AREA-GAIN 1 1 300 640 10 20 -5\rNG\r";
    typeAndEnter(field(1, Height), QStringLiteral("640"));
    EXPECT_EQ(sent(), (QByteArrayList{"AREA-GAIN 1 1 300 640 10 20 -5", "GET-LAST-ERROR", "AREA-GAIN 1"}));
    EXPECT_EQ(rowTexts(1), (QStringList{"0", "4", "64", "32", "-3"}));
    EXPECT_FALSE(box(1)->isChecked());
    EXPECT_EQ(said(), QStringLiteral("Refused: AREA-GAIN 1 1 300 640 10 20 -5"));
}

TEST_F(RegionRowsTest, ARowNotReadGoesOutOnlyOnceFilledAndItsBoxClicked)
{
    camera->refused << "AREA-GAIN";
    openPage();
    camera->refused.clear();
    const char* texts[] = {"10", "20", "300", "200", "-5"};
    for (int column = Left; column <= Gain; ++column)
        field(1, Column(column))->setText(QString::fromLatin1(texts[column]));
    typeAndEnter(field(1, Left), QStringLiteral("10"));
    EXPECT_TRUE(sent().isEmpty());
    EXPECT_EQ(said(), QStringLiteral("Area 1 Enable: not read; click it to choose; nothing sent"));

    box(1)->click();
    EXPECT_EQ(sent(), QByteArrayList{"AREA-GAIN 1 1 300 200 10 20 -5"});
    EXPECT_EQ(box(1)->checkState(), Qt::Checked);
}

TEST_F(RegionRowsTest, SetAllLeavesOutRowsNotReadAndSaysWhich)
{
    camera->set("AREA-GAIN 0", "1 128 96 16 8 20");
    camera->set("AREA-GAIN 2", "1 8 2 632 478 0");
    openPage(); // row 1 is not read
    region->setAll->click();
    EXPECT_EQ(sent(), (QByteArrayList{"AREA-GAIN 0 1 128 96 16 8 20", "AREA-GAIN 2 1 8 2 632 478 0"}));
    EXPECT_EQ(said(), QStringLiteral("Set All Params left out Area 1 (Left: nothing typed)"));
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
    void expectNothingOfRowOneSentAndTextsKept()
    {
        EXPECT_FALSE(sent().join('|').contains("AREA-GAIN 1 ")) << sent().join('|').toStdString();
        EXPECT_EQ(rowTexts(1), expected);
        EXPECT_EQ(page->focusWidget(), field(1, GetParam().column)); // the field at fault
        EXPECT_TRUE(field(1, GetParam().column)->property("invalidInput").toBool());
        const QStringList headings = {"Left", "Top", "Width", "Height", "Gain"};
        EXPECT_TRUE(said().contains(QStringLiteral("Area 1") + (said().startsWith("Set All") ? " (" : " ")
                                    + headings.at(GetParam().column) + QStringLiteral(": ")))
            << said().toStdString();
    }
    QStringList expected;
};

TEST_P(BadRowInput, EnterInTheRowSendsNothing)
{
    // Enter in another field of the row than the one at fault.
    const Column other = GetParam().column == Left ? Top : Left;
    field(1, other)->setFocus();
    pressKey(field(1, other), Qt::Key_Return);
    EXPECT_TRUE(sent().isEmpty());
    expectNothingOfRowOneSentAndTextsKept();
}

TEST_P(BadRowInput, SetAllSendsTheOtherRows)
{
    region->setAll->click();
    EXPECT_EQ(sent(), (QByteArrayList{"AREA-GAIN 0 0 64 48 0 0 0", "AREA-GAIN 2 0 64 48 0 0 0"}));
    expectNothingOfRowOneSentAndTextsKept();
}

TEST_P(BadRowInput, AClickOnTheBoxSendsNothingAndIsUndone)
{
    box(1)->click();
    EXPECT_TRUE(sent().isEmpty());
    expectNothingOfRowOneSentAndTextsKept();
    EXPECT_FALSE(box(1)->isChecked()); // as the camera has it
}

INSTANTIATE_TEST_SUITE_P(Values, BadRowInput,
                         // How each text is read is the business of readWholeNumber; here one of
                         // each kind: not a number, empty, below a column's limit, above it.
                         ::testing::Values(BadValue{Left, "12abc"}, BadValue{Top, ""}, BadValue{Width, "-8"},
                                           BadValue{Gain, "101"}));

} // namespace
