// The Tovane "MultiROI" page against the simulated PTM-TW640: its load order,
// the rows it sends, and the "Enable All" switch with the camera's reason
// when it refuses.

#include "RegionPageTest.h"
#include "tovane/TovaneMultiROIPage.h"

namespace {

const QByteArrayList kLoadOrder = QByteArrayList{"MULTI-ROI-ENABLE", "MULTI-ROI-AREA-HIGHLIGHT"}
    + eachRow("MULTI-ROI", 8);

class TovaneMultiROIPage : public RegionPageTest<CTovaneMultiROIPage> {
protected:
    QLineEdit* roi(int row, const char* column) const { return field("ROI", row, column); }
    QAbstractButton* enable(int row) const { return box(QStringLiteral("ROI %1 Enable").arg(row)); }
    QAbstractButton* enableAll() const { return box(QStringLiteral("MultiROI Enable All")); }
    QAbstractButton* highlight() const { return box(QStringLiteral("Highlight Selected Area")); }
};

TEST_F(TovaneMultiROIPage, OpeningAndRefreshReadTheSwitchesThenEveryRowAndSendNoSetting)
{
    page = open<CTovaneMultiROIPage>();
    EXPECT_EQ(sentSinceLastLook(), kLoadOrder);
    findButton(page.get(), QStringLiteral("Refresh"))->click();
    EXPECT_EQ(sent(), kLoadOrder);
}

TEST_F(TovaneMultiROIPage, ShowsTheSwitchesAndEachRowsRectangleInItsColumns)
{
    given("MULTI-ROI 3 1 320 240 16 8");
    given("MULTI-ROI-ENABLE 1");
    given("MULTI-ROI-AREA-HIGHLIGHT 1");
    openPage();

    EXPECT_TRUE(enableAll()->isChecked());
    EXPECT_TRUE(highlight()->isChecked());
    EXPECT_TRUE(enable(3)->isChecked());
    EXPECT_EQ(roi(3, "Left")->text(), QStringLiteral("16"));
    EXPECT_EQ(roi(3, "Top")->text(), QStringLiteral("8"));
    EXPECT_EQ(roi(3, "Width")->text(), QStringLiteral("320"));
    EXPECT_EQ(roi(3, "Height")->text(), QStringLiteral("240"));
    EXPECT_FALSE(enable(4)->isChecked());
    EXPECT_EQ(roi(4, "Width")->text(), QStringLiteral("160"));
}

TEST_F(TovaneMultiROIPage, EnterInTopSendsTheRowWithWidthHeightLeftTopAfterItsIndexAndEnable)
{
    openPage();
    enable(2)->setChecked(true);
    roi(2, "Left")->setText(QStringLiteral("100"));
    roi(2, "Width")->setText(QStringLiteral("640"));
    roi(2, "Height")->setText(QStringLiteral("480"));
    typeAndEnter(roi(2, "Top"), QStringLiteral("50"));

    EXPECT_EQ(sent(), QByteArrayList{"MULTI-ROI 2 1 640 480 100 50"});
    // Beyond the 640 x 480 sensor: refused, and the row keeps what was typed.
    EXPECT_EQ(roi(2, "Left")->text(), QStringLiteral("100"));
    EXPECT_EQ(QueryText(connection, "MULTI-ROI 2"), "0 160 120 0 0");
}

TEST_F(TovaneMultiROIPage, SetAllSendsTheEightRowsAreaZeroFirstEachWithItsBox)
{
    openPage();
    enable(5)->setChecked(true);
    roi(5, "Left")->setText(QStringLiteral("480"));
    findButton(page.get(), QStringLiteral("Set All Params"))->click();

    QByteArrayList expected;
    for (int row = 0; row < 8; ++row)
        expected << "MULTI-ROI " + QByteArray::number(row) + (row == 5 ? " 1 160 120 480 0" : " 0 160 120 0 0");
    EXPECT_EQ(sentSinceLastLook(), expected);
    EXPECT_EQ(QueryText(connection, "MULTI-ROI 5"), "1 160 120 480 0");
}

TEST_F(TovaneMultiROIPage, ARefusedEnableAllIsClearedThenExplainedAfterHalfASecondAndTheHighlightReadBack)
{
    given("MULTI-ROI-AREA-HIGHLIGHT 1");
    openPage();
    highlight()->setChecked(false);

    enableAll()->click(); // no area is enabled

    EXPECT_EQ(sent(), (QByteArrayList{"MULTI-ROI-ENABLE 1", "GET-LAST-ERROR", "MULTI-ROI-AREA-HIGHLIGHT"}));
    EXPECT_FALSE(enableAll()->isChecked());
    EXPECT_EQ(findLabel(page.get(), QStringLiteral("No area"))->text(), QStringLiteral("No area enabled"));
    EXPECT_GE(readAtUs("GET-LAST-ERROR") - readAtUs("MULTI-ROI-ENABLE 1"), 500000);
    EXPECT_TRUE(highlight()->isChecked());
}

TEST_F(TovaneMultiROIPage, TheReasonIsEmptiedBeforeEachSendSoASuccessNeverShowsAnOldFailure)
{
    openPage();
    QLabel* reason = findLabel(page.get(), QStringLiteral("---"));
    enableAll()->click();
    EXPECT_EQ(reason->text(), QStringLiteral("No area enabled"));

    enable(0)->click();
    camera->clearRecord();
    enableAll()->click();

    EXPECT_EQ(sent(), (QByteArrayList{"MULTI-ROI-ENABLE 1", "MULTI-ROI-AREA-HIGHLIGHT"}));
    EXPECT_TRUE(enableAll()->isChecked());
    EXPECT_EQ(reason->text(), QString());
}

TEST_F(TovaneMultiROIPage, ARefusedHighlightIsClearedWithoutAMessage)
{
    openPage();
    camera->refuseCommand(QStringLiteral("MULTI-ROI-AREA-HIGHLIGHT"));
    highlight()->click();
    EXPECT_EQ(sent(), QByteArrayList{"MULTI-ROI-AREA-HIGHLIGHT 1"});
    EXPECT_FALSE(highlight()->isChecked());
    EXPECT_EQ(findLabel(page.get(), QStringLiteral("---"))->text(), QStringLiteral("---"));
}

TEST_F(TovaneMultiROIPage, RowsTheCameraDoesNotReportShowNothing)
{
    given("MULTI-ROI 1 1 320 240 16 8");
    openPage();
    camera->refuseCommand(QStringLiteral("MULTI-ROI"));
    findButton(page.get(), QStringLiteral("Refresh"))->click();
    EXPECT_FALSE(enable(1)->isChecked());
    EXPECT_EQ(roi(1, "Width")->text(), QString());
    EXPECT_EQ(roi(1, "Left")->text(), QString());
}

TEST_F(TovaneMultiROIPage, ARowHoldingTextSendsNothing)
{
    openPage();
    roi(6, "Height")->setText(QStringLiteral("tall"));
    typeAndEnter(roi(6, "Left"), QStringLiteral("8"));
    findButton(page.get(), QStringLiteral("Set All Params"))->click();
    EXPECT_TRUE(sent().isEmpty());
    EXPECT_EQ(roi(6, "Height")->text(), QStringLiteral("tall"));
}

} // namespace
