// The Tovane "FrameBuffer" page: silent until "Refresh", what it shows for
// the camera's answers, and the camera's reasons under the averaging and
// wide-dynamic-range groups when it refuses them. Against the simulated
// PTM-TW640, and against a scripted camera for answers no simulated one
// gives.

#include "PageTesting.h"
#include "SimPageTest.h"
#include "tovane/TovaneFrameBufferPage.h"

#include <QGroupBox>
#include <QRadioButton>

namespace {

const QStringList kAveraging = {"1 Frame", "2 Frames", "4 Frames", "8 Frames", "16 Frames"};
const QStringList kTaps = {"0 (No conversion)", "TAP 1", "TAP2", "TAP3"};

// The caption of the checked button among these; empty when none is.
QString checkedOf(QWidget* page, const QStringList& captions)
{
    QString checked;
    for (const QString& caption : captions) {
        if (findButton(page, caption)->isChecked())
            checked += caption;
    }
    return checked;
}

// The reason shown inside the group of that title.
QLabel* reasonIn(QWidget* page, const QString& group)
{
    for (QGroupBox* box : page->findChildren<QGroupBox*>()) {
        if (box->title() == group)
            return box->findChild<QLabel*>();
    }
    ADD_FAILURE() << "no group " << group.toStdString();
    return nullptr;
}

class TovaneFrameBufferPage : public SimPageTest {
protected:
    TovaneFrameBufferPage() { useModel(QStringLiteral("PTM-TW640")); }

    void openPage() { page = open<CTovaneFrameBufferPage>(); }
    QAbstractButton* button(const char* caption) const { return findButton(page.get(), QString::fromLatin1(caption)); }
    QLabel* averagingReason() const { return reasonIn(page.get(), QStringLiteral("Frame Averaging")); }
    QLabel* wideReason() const { return reasonIn(page.get(), QStringLiteral("Wide Dynamic Range")); }

    std::unique_ptr<Page> page;
};

TEST_F(TovaneFrameBufferPage, NothingIsReadUntilRefreshWhichReadsInItsOrder)
{
    given("AVERAGE 4");
    given("FRM-OP-TAP 2");
    openPage();

    EXPECT_TRUE(sent().isEmpty());
    EXPECT_EQ(checkedOf(page.get(), kAveraging), QString());
    EXPECT_EQ(checkedOf(page.get(), kTaps), QString());
    EXPECT_EQ(averagingReason()->text(), QStringLiteral("---"));
    EXPECT_EQ(wideReason()->text(), QStringLiteral("---"));

    button("Refresh")->click();

    EXPECT_EQ(sent(), (QByteArrayList{"AVERAGE", "WIDED-ENABLE", "FRM-OP-TAP"}));
    EXPECT_EQ(checkedOf(page.get(), kAveraging), QStringLiteral("4 Frames"));
    EXPECT_FALSE(button("Enable")->isChecked());
    EXPECT_EQ(checkedOf(page.get(), kTaps), QStringLiteral("TAP2"));
    EXPECT_EQ(averagingReason()->text(), QStringLiteral("---")); // the load leaves the reasons alone
}

TEST_F(TovaneFrameBufferPage, ARefusedAveragingShowsTheCamerasReasonAndTheAveragingItKept)
{
    given("WIDED-ENABLE 1");
    openPage();

    button("8 Frames")->click();

    EXPECT_EQ(sent(), (QByteArrayList{"AVERAGE 8", "GET-LAST-ERROR", "AVERAGE"}));
    EXPECT_EQ(averagingReason()->text(), QStringLiteral("Not available with WDR"));
    EXPECT_EQ(checkedOf(page.get(), kAveraging), QStringLiteral("1 Frame"));
    EXPECT_EQ(wideReason()->text(), QStringLiteral("---"));
}

TEST_F(TovaneFrameBufferPage, AnAcceptedSettingEmptiesItsGroupsReason)
{
    given("WIDED-ENABLE 1");
    openPage();
    button("8 Frames")->click();
    given("WIDED-ENABLE 0");

    button("2 Frames")->click();

    EXPECT_EQ(sent(), QByteArrayList{"AVERAGE 2"});
    EXPECT_EQ(averagingReason()->text(), QString());
    EXPECT_EQ(reported("AVERAGE"), 2);
}

TEST_F(TovaneFrameBufferPage, ARefusedWideDynamicRangeShowsTheReasonInItsOwnGroup)
{
    given("AVERAGE 16");
    openPage();

    button("Enable")->click();

    EXPECT_EQ(sent(), (QByteArrayList{"WIDED-ENABLE 1", "GET-LAST-ERROR", "WIDED-ENABLE"}));
    EXPECT_EQ(wideReason()->text(), QStringLiteral("Not available with averaging"));
    EXPECT_FALSE(button("Enable")->isChecked());
    EXPECT_EQ(averagingReason()->text(), QStringLiteral("---"));
}

TEST_F(TovaneFrameBufferPage, TheTapButtonsSendTheirNumberAndARefusalShowsNothing)
{
    openPage();
    for (const QString& caption : kTaps)
        findButton(page.get(), caption)->click();
    EXPECT_EQ(sentSinceLastLook(), (QByteArrayList{"FRM-OP-TAP 0", "FRM-OP-TAP 1", "FRM-OP-TAP 2", "FRM-OP-TAP 3"}));

    camera->refuseCommand(QStringLiteral("FRM-OP-TAP"));
    button("TAP 1")->click();
    // The panel's status line reports the refusal; the page's own labels stay.
    EXPECT_EQ(sent(), (QByteArrayList{"FRM-OP-TAP 1", "GET-LAST-ERROR", "FRM-OP-TAP"}));
    EXPECT_EQ(averagingReason()->text(), QStringLiteral("---"));
    EXPECT_EQ(wideReason()->text(), QStringLiteral("---"));
}

// Answers no simulated camera gives.
struct LoadedCase {
    const char* average;
    const char* tap;
    const char* averagingShown;
    const char* tapShown;
};

void PrintTo(const LoadedCase& value, std::ostream* out)
{
    *out << "AVERAGE " << value.average << ", FRM-OP-TAP " << value.tap;
}

class FrameBufferAnswers : public PageTest, public ::testing::WithParamInterface<LoadedCase> {};

TEST_P(FrameBufferAnswers, AnAveragingTheGroupLacksShowsOneFrameAndAnUnknownTapNone)
{
    camera->set("AVERAGE", GetParam().average);
    camera->set("WIDED-ENABLE", 1);
    camera->set("FRM-OP-TAP", GetParam().tap);
    const std::unique_ptr<Page> page = open<CTovaneFrameBufferPage>();
    page->LoadFromCamera();

    EXPECT_EQ(checkedOf(page.get(), kAveraging), QString::fromLatin1(GetParam().averagingShown));
    EXPECT_EQ(checkedOf(page.get(), kTaps), QString::fromLatin1(GetParam().tapShown));
    EXPECT_TRUE(findButton(page.get(), QStringLiteral("Enable"))->isChecked());
}

INSTANTIATE_TEST_SUITE_P(Values, FrameBufferAnswers,
                         ::testing::Values(LoadedCase{"3", "4", "1 Frame", ""}, LoadedCase{"16", "0", "16 Frames", "0 (No conversion)"},
                                           LoadedCase{"0", "-1", "1 Frame", ""}, LoadedCase{"32", "3", "1 Frame", "TAP3"}));

} // namespace
