// The Tovane "AreaGain" page against the simulated PTM-TW640M: sixteen rows
// read in order, the gain after the rectangle on the wire, and the switch for
// area gain as a whole.

#include "RegionPageTest.h"
#include "tovane/TovaneAreaGainPage.h"

namespace {

class TovaneAreaGainPage : public RegionPageTest<CTovaneAreaGainPage> {
protected:
    TovaneAreaGainPage() : RegionPageTest("PTM-TW640M") {}

    QLineEdit* area(int row, const char* column) const { return field("Area", row, column); }
    QCheckBox* enable(int row) const { return box(QStringLiteral("Area %1 Enable").arg(row)); }
    QCheckBox* enableAll() const { return box(QStringLiteral("AreaGain Enable All")); }
};

TEST_F(TovaneAreaGainPage, OpeningReadsTheSwitchThenTheSixteenRowsAndShowsEachInItsColumns)
{
    given("AREA-GAIN 3 1 128 96 16 8 20");
    given("AREA-GAIN 15 0 64 32 0 0 12");

    page = open<CTovaneAreaGainPage>();

    EXPECT_EQ(sent(), (QByteArrayList{"AREA-GAIN-ENABLE"} + eachRow("AREA-GAIN", 16)));
    EXPECT_TRUE(enable(3)->isChecked());
    EXPECT_EQ(area(3, "Left")->text(), QStringLiteral("16"));
    EXPECT_EQ(area(3, "Top")->text(), QStringLiteral("8"));
    EXPECT_EQ(area(3, "Width")->text(), QStringLiteral("128"));
    EXPECT_EQ(area(3, "Height")->text(), QStringLiteral("96"));
    EXPECT_EQ(area(3, "Gain")->text(), QStringLiteral("20"));
    EXPECT_FALSE(enable(15)->isChecked());
    EXPECT_EQ(area(15, "Height")->text(), QStringLiteral("32"));
    EXPECT_EQ(area(15, "Gain")->text(), QStringLiteral("12"));
    EXPECT_EQ(area(0, "Width")->text(), QStringLiteral("64"));
    // A file of settings keeps the row as the camera gave it.
    EXPECT_EQ(pageSettings.back()->find("AREA-GAIN 3")->fileLine(), "AREA-GAIN 3 1 128 96 16 8 20");
}

TEST_F(TovaneAreaGainPage, EnterInGainSendsTheRowWithTheGainLast)
{
    openPage();
    area(15, "Width")->setText(QStringLiteral("64"));
    area(15, "Height")->setText(QStringLiteral("32"));
    typeAndEnter(area(15, "Gain"), QStringLiteral("12"));

    EXPECT_EQ(sentSinceLastLook(), QByteArrayList{"AREA-GAIN 15 0 64 32 0 0 12"});
    EXPECT_EQ(QueryText(connection, "AREA-GAIN 15"), "0 64 32 0 0 12");
}

TEST_F(TovaneAreaGainPage, SetAllSendsSixteenRowsAreaZeroFirst)
{
    openPage();
    enable(9)->setChecked(true);
    findButton(page.get(), QStringLiteral("Set All Params"))->click();

    QByteArrayList expected;
    for (int row = 0; row < 16; ++row)
        expected << "AREA-GAIN " + QByteArray::number(row) + (row == 9 ? " 1" : " 0") + " 64 48 0 0 0";
    EXPECT_EQ(sent(), expected);
}

TEST_F(TovaneAreaGainPage, ARefusedEnableAllIsReportedAndReadBackAndKeptWhenAccepted)
{
    openPage();
    watchStatus();
    enableAll()->click(); // no area is enabled
    EXPECT_EQ(sentSinceLastLook(), (QByteArrayList{"AREA-GAIN-ENABLE 1", "GET-LAST-ERROR", "AREA-GAIN-ENABLE"}));
    EXPECT_FALSE(enableAll()->isChecked());
    EXPECT_EQ(status, QStringLiteral("AREA-GAIN-ENABLE 1 / No area enabled"));

    enable(4)->click();
    enableAll()->click();
    EXPECT_EQ(sent(), (QByteArrayList{"AREA-GAIN 4 1 64 48 0 0 0", "AREA-GAIN-ENABLE 1"}));
    EXPECT_TRUE(enableAll()->isChecked());
    EXPECT_EQ(reported("AREA-GAIN-ENABLE"), 1);
}

} // namespace
