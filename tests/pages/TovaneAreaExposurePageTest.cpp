// The Tovane "AreaExposure" page against the simulated PTM-TW640: sixteen
// rows between the switch and the two exposure times in its load, what each
// field sends, and the camera's reason when it refuses the switch.

#include "RegionPageTest.h"
#include "tovane/TovaneAreaExposurePage.h"

namespace {

class TovaneAreaExposurePage : public RegionPageTest<CTovaneAreaExposurePage> {
protected:
    QLineEdit* area(int row, const char* column) const { return field("Area", row, column); }
    QCheckBox* enable(int row) const { return box(QStringLiteral("Area %1 Enable").arg(row)); }
    QCheckBox* enableAll() const { return box(QStringLiteral("AreaExposure Enable All")); }
    QLineEdit* normalTime() const { return edit(QStringLiteral("Normal Exposure Time")); }
    QLineEdit* areaTime() const { return edit(QStringLiteral("Exposure Time for selected area")); }
};

TEST_F(TovaneAreaExposurePage, OpeningReadsTheSwitchTheRowsThenBothTimes)
{
    given("EXP 20000");
    given("AREA-EXPOSURE-TIME 750");
    given("AREA-EXPOSURE 12 1 300 200 10 20");

    page = open<CTovaneAreaExposurePage>();

    EXPECT_EQ(sent(), (QByteArrayList{"AREA-EXPOSURE-ENABLE"} + eachRow("AREA-EXPOSURE", 16)
                       + QByteArrayList{"EXP", "AREA-EXPOSURE-TIME"}));
    EXPECT_EQ(normalTime()->text(), QStringLiteral("20000"));
    EXPECT_EQ(areaTime()->text(), QStringLiteral("750"));
    EXPECT_TRUE(enable(12)->isChecked());
    EXPECT_EQ(area(12, "Left")->text(), QStringLiteral("10"));
    EXPECT_EQ(area(12, "Height")->text(), QStringLiteral("200"));
}

TEST_F(TovaneAreaExposurePage, EnterInLeftSendsTheRowInWireOrder)
{
    openPage();
    enable(0)->setChecked(true);
    area(0, "Top")->setText(QStringLiteral("20"));
    area(0, "Width")->setText(QStringLiteral("300"));
    area(0, "Height")->setText(QStringLiteral("200"));
    typeAndEnter(area(0, "Left"), QStringLiteral("10"));

    EXPECT_EQ(sentSinceLastLook(), QByteArrayList{"AREA-EXPOSURE 0 1 300 200 10 20"});
    EXPECT_EQ(QueryText(connection, "AREA-EXPOSURE 0"), "1 300 200 10 20");
}

TEST_F(TovaneAreaExposurePage, EachTimeFieldSendsItsOwnWordAndNothingElse)
{
    openPage();
    typeAndEnter(areaTime(), QStringLiteral("5000"));
    EXPECT_EQ(sentSinceLastLook(), QByteArrayList{"AREA-EXPOSURE-TIME 5000"});
    typeAndEnter(normalTime(), QStringLiteral("12000"));
    EXPECT_EQ(sentSinceLastLook(), QByteArrayList{"EXP 12000"});
    EXPECT_EQ(reported("AREA-EXPOSURE-TIME"), 5000);

    // 0 is below the camera's range: refused, and the field shows the time kept.
    typeAndEnter(areaTime(), QStringLiteral("0"));
    EXPECT_EQ(sent(), (QByteArrayList{"AREA-EXPOSURE-TIME 0", "GET-LAST-ERROR", "AREA-EXPOSURE-TIME"}));
    EXPECT_EQ(areaTime()->text(), QStringLiteral("5000"));
}

TEST_F(TovaneAreaExposurePage, ATimeThatIsNotAWholeNonNegativeNumberSendsNothingAndStays)
{
    openPage();
    for (const char* text : {"fast", "", "-1", "5e3", "99999999999"}) {
        typeAndEnter(areaTime(), QString::fromLatin1(text));
        typeAndEnter(normalTime(), QString::fromLatin1(text));
        EXPECT_EQ(areaTime()->text(), QString::fromLatin1(text));
        EXPECT_EQ(normalTime()->text(), QString::fromLatin1(text));
    }
    EXPECT_TRUE(sent().isEmpty());
}

TEST_F(TovaneAreaExposurePage, SetAllSendsSixteenRowsAreaZeroFirst)
{
    openPage();
    findButton(page.get(), QStringLiteral("Set All Params"))->click();
    QByteArrayList expected;
    for (int row = 0; row < 16; ++row)
        expected << "AREA-EXPOSURE " + QByteArray::number(row) + " 0 64 48 0 0";
    EXPECT_EQ(sent(), expected);
}

TEST_F(TovaneAreaExposurePage, ARefusedSwitchShowsTheReasonAndALaterSuccessEmptiesIt)
{
    openPage();
    QLabel* reason = findLabel(page.get(), QStringLiteral("---"));

    enableAll()->click(); // no area is enabled
    EXPECT_EQ(sentSinceLastLook(), (QByteArrayList{"AREA-EXPOSURE-ENABLE 1", "GET-LAST-ERROR", "AREA-EXPOSURE-ENABLE"}));
    EXPECT_FALSE(enableAll()->isChecked());
    EXPECT_EQ(reason->text(), QStringLiteral("No area enabled"));

    enable(2)->click();
    enableAll()->click();
    EXPECT_EQ(sent(), (QByteArrayList{"AREA-EXPOSURE 2 1 64 48 0 0", "AREA-EXPOSURE-ENABLE 1"}));
    EXPECT_TRUE(enableAll()->isChecked());
    EXPECT_EQ(reason->text(), QString());
}

} // namespace
