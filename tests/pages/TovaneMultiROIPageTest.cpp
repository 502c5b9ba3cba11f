// The Tovane "MultiROI" page against the simulated PTM-TW640: its load order,
// the rows it sends, refusals read back, and the "Enable All" switch with the
// camera's reason when it refuses.

#include "RegionPageTest.h"
#include "tovane/TovaneMultiROIPage.h"

#include <QCoreApplication>

namespace {

const QByteArrayList kLoadOrder = QByteArrayList{"MULTI-ROI-ENABLE", "MULTI-ROI-AREA-HIGHLIGHT"}
    + eachRow("MULTI-ROI", 8);

class TovaneMultiROIPage : public RegionPageTest<CTovaneMultiROIPage> {
protected:
    QLineEdit* roi(int row, const char* column) const { return field("ROI", row, column); }
    QCheckBox* enable(int row) const { return box(QStringLiteral("ROI %1 Enable").arg(row)); }
    QCheckBox* enableAll() const { return box(QStringLiteral("MultiROI Enable All")); }
    QCheckBox* highlight() const { return box(QStringLiteral("Highlight Selected Area")); }
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

    // Beyond the 640 x 480 sensor: refused, and the row shows what the
    // camera kept.
    EXPECT_EQ(sent(), (QByteArrayList{"MULTI-ROI 2 1 640 480 100 50", "GET-LAST-ERROR", "MULTI-ROI 2"}));
    EXPECT_EQ(roi(2, "Left")->text(), QStringLiteral("0"));
    EXPECT_EQ(roi(2, "Width")->text(), QStringLiteral("160"));
    EXPECT_FALSE(enable(2)->isChecked());
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

TEST_F(TovaneMultiROIPage, ARefusedEnableAllIsReadBackAndExplainedBesideItAndTheHighlightReadBack)
{
    given("MULTI-ROI-AREA-HIGHLIGHT 1");
    openPage();
    watchStatus();
    highlight()->setChecked(false);

    enableAll()->click(); // no area is enabled

    EXPECT_EQ(sent(), (QByteArrayList{"MULTI-ROI-ENABLE 1", "GET-LAST-ERROR", "MULTI-ROI-ENABLE",
                                      "MULTI-ROI-AREA-HIGHLIGHT"}));
    EXPECT_FALSE(enableAll()->isChecked());
    EXPECT_EQ(findLabel(page.get(), QStringLiteral("No area"))->text(), QStringLiteral("No area enabled"));
    EXPECT_EQ(status, QStringLiteral("MULTI-ROI-ENABLE 1 / No area enabled"));
    EXPECT_TRUE(highlight()->isChecked());
}

TEST_F(TovaneMultiROIPage, TheReasonGoesOnceTheCameraTakesTheSwitchSoASuccessNeverShowsAnOldFailure)
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

TEST_F(TovaneMultiROIPage, ARefusedHighlightIsReportedAndReadBackWithoutTouchingTheSwitchesReason)
{
    openPage();
    watchStatus();
    camera->refuseCommand(QStringLiteral("MULTI-ROI-AREA-HIGHLIGHT"));
    highlight()->click();
    EXPECT_EQ(sent(), (QByteArrayList{"MULTI-ROI-AREA-HIGHLIGHT 1", "GET-LAST-ERROR", "MULTI-ROI-AREA-HIGHLIGHT"}));
    EXPECT_EQ(status, QStringLiteral("MULTI-ROI-AREA-HIGHLIGHT 1 / Refused"));
    // The camera no longer reports it either: neither on nor off.
    EXPECT_EQ(highlight()->checkState(), Qt::PartiallyChecked);
    EXPECT_EQ(findLabel(page.get(), QStringLiteral("---"))->text(), QStringLiteral("---"));
}

TEST_F(TovaneMultiROIPage, RowsTheCameraDoesNotReportShowAsNotRead)
{
    given("MULTI-ROI 1 1 320 240 16 8");
    openPage();
    camera->refuseCommand(QStringLiteral("MULTI-ROI"));
    findButton(page.get(), QStringLiteral("Refresh"))->click();
    EXPECT_EQ(enable(1)->checkState(), Qt::PartiallyChecked);
    EXPECT_EQ(roi(1, "Width")->text(), QString());
    EXPECT_EQ(roi(1, "Left")->text(), QString());
    EXPECT_EQ(roi(1, "Left")->placeholderText(), QStringLiteral("not read"));
}

TEST_F(TovaneMultiROIPage, SetAllSendsEveryRowButTheOneHoldingTextAndSaysWhy)
{
    openPage();
    watchStatus();
    roi(6, "Height")->setText(QStringLiteral("tall"));
    typeAndEnter(roi(6, "Left"), QStringLiteral("8"));
    EXPECT_TRUE(sent().isEmpty());
    EXPECT_EQ(status, QStringLiteral("ROI 6 Height: \"tall\" is not a whole number; nothing sent"));

    findButton(page.get(), QStringLiteral("Set All Params"))->click();
    QByteArrayList expected;
    for (int row : {0, 1, 2, 3, 4, 5, 7})
        expected << "MULTI-ROI " + QByteArray::number(row) + " 0 160 120 0 0";
    EXPECT_EQ(sent(), expected);
    EXPECT_EQ(roi(6, "Height")->text(), QStringLiteral("tall"));
    EXPECT_EQ(roi(6, "Left")->text(), QStringLiteral("8"));
    EXPECT_EQ(status, QStringLiteral("Set All Params left out ROI 6 (Height: \"tall\" is not a whole number)"));
}

TEST_F(TovaneMultiROIPage, SetAllWaitsForTheExchangeInProgress)
{
    openPage();
    // A click that comes while the page reads the camera goes out after it.
    camera->setLineObserver([&](qint64, const QByteArray& line) {
        if (line == "MULTI-ROI 3")
            findButton(page.get(), QStringLiteral("Set All Params"))->click();
    });
    page->LoadFromCamera();
    camera->setLineObserver({});
    EXPECT_EQ(sentSinceLastLook(), kLoadOrder);
    QCoreApplication::processEvents();
    EXPECT_EQ(sent().size(), 8);
    EXPECT_EQ(sent().first(), "MULTI-ROI 0 0 160 120 0 0");
}

} // namespace
