// The Brevo "Exposure" page against simulated Brevo cameras: what it reads
// and shows, what each control sends (down to the blanks and carriage returns
// on the wire), the exposure poll and the software trigger. Lists no camera
// gives (entries without a number, look-alike numbers) come from a scripted
// camera at the end.

#include "PageTesting.h"
#include "SimPageTest.h"
#include "brevo/BrevoCLExposurePage.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QPushButton>

namespace {

const QByteArrayList kLoadOrder = {
    "AE", "EXP", "TRG-DLY", "TRG-MODE", "TRG-POL", "TRG-CTRL", "HELP TRG-SRC", "TRG-SRC", "EXP-MODE", "TRG-INH",
    "TRG-SHIFT", "TRIGGER-RANGE", "TRIGGER-RANGE-LOWERLIMIT", "TRIGGER-RANGE-UPPERLIMIT", "SP-TRG-MODE ",
    "HELP SP-TRG-SRC ", "SP-TRG-SRC ", "SP-TRG-F-CNT ", "SP-TRG-POL "};

const QStringList kCameraSources = {" 0(SoftTrigger)", " 7(Pin#7)", " 10(Pin#10)", " 11(Pin#11)",
                                    " 101(CC1)",       " 102(CC2)", " 103(CC3)",   " 104(CC4)"};

QStringList items(const QComboBox* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->itemText(i);
    return texts;
}

// Finding controls by what the user sees.
struct Controls {
    QWidget* page;
    QLineEdit* edit(const char* name) const { return findNamed<QLineEdit>(page, QString::fromLatin1(name)); }
    QComboBox* list(const char* name) const { return findNamed<QComboBox>(page, QString::fromLatin1(name)); }
    QAbstractButton* button(const char* text) const { return findButton(page, QString::fromLatin1(text)); }
    QLineEdit* width() const { return edit("SoftTrigger width"); }
    QAbstractButton* fire() const { return button("Fire SoftTrigger"); }
};

class BrevoCLExposurePage : public SimPageTest {
protected:
    BrevoCLExposurePage() { useModel(QStringLiteral("PTM-R560CL")); }

    void openPage()
    {
        page = open<CBrevoCLExposurePage>();
        ui.page = page.get();
        camera->clearRecord();
    }

    // The bytes the camera received, carriage returns included.
    QByteArray wireToCamera() const
    {
        QByteArray bytes;
        for (const auto& byte : camera->record().bytes) {
            if (byte.direction == SimulatedCamera::Direction::ToCamera)
                bytes += byte.byte;
        }
        return bytes;
    }

    void pulseMode()
    {
        choose(ui.list("EXP-MODE"), QStringLiteral("1:PulseWidth"));
        camera->clearRecord();
    }

    std::unique_ptr<Page> page;
    Controls ui{nullptr};
};

// ---------------------------------------------------------------- loading

class BrevoCLExposurePageOnEveryModel : public BrevoCLExposurePage, public ::testing::WithParamInterface<const char*> {};

TEST_P(BrevoCLExposurePageOnEveryModel, OpeningReadsEveryValueInItsFixedOrderAndShowsTheCamerasSourceLists)
{
    useModel(QString::fromLatin1(GetParam()));
    page = open<CBrevoCLExposurePage>();
    ui.page = page.get();

    EXPECT_EQ(sent(), kLoadOrder);
    EXPECT_EQ(items(ui.list("Source")), kCameraSources);
    EXPECT_EQ(items(ui.list("Trigger source")), kCameraSources);
    EXPECT_EQ(ui.list("Source")->currentText(), QStringLiteral(" 0(SoftTrigger)"));
    EXPECT_EQ(ui.edit("ExposureTime")->text(), QStringLiteral("10000"));
    EXPECT_EQ(ui.list("Number of frames")->currentText(), QStringLiteral("2"));
}

// The mono model has every exposure and trigger command of the colour ones.
INSTANTIATE_TEST_SUITE_P(Brevo, BrevoCLExposurePageOnEveryModel,
                         ::testing::Values("PTM-R560CL", "PTM-R290CL", "PTM-R140ML"),
                         [](const auto& info) {
                             return QString::fromLatin1(info.param).remove(QLatin1Char('-')).toStdString();
                         });

TEST_F(BrevoCLExposurePage, RefreshReadsEverythingAgain)
{
    openPage();
    ui.button("Refresh")->click();
    EXPECT_EQ(sent(), kLoadOrder);
}

TEST_F(BrevoCLExposurePage, ShowsWhatTheCameraReports)
{
    given("EXP 4321");
    given("AE 2");
    given("TRG-DLY 250");
    given("TRG-MODE 1");
    given("TRG-CTRL 1");
    given("TRG-SRC 102");
    given("EXP-MODE 1");
    given("TRG-SHIFT 1");
    given("TRIGGER-RANGE 1");
    given("TRIGGER-RANGE-LOWERLIMIT 100");
    given("TRIGGER-RANGE-UPPERLIMIT 90000");
    given("SP-TRG-MODE 2");
    given("SP-TRG-SRC 11");
    given("SP-TRG-F-CNT 12");
    given("SP-TRG-POL 1");
    openPage();

    EXPECT_EQ(ui.list("Auto Exposure")->currentText(), QStringLiteral("2:Continuous"));
    // Continuous exposure control is moving the time from 4321 toward 20000.
    EXPECT_GT(ui.edit("ExposureTime")->text().toInt(), 4321);
    EXPECT_LT(ui.edit("ExposureTime")->text().toInt(), 20000);
    EXPECT_EQ(ui.edit("Trigger Delay")->text(), QStringLiteral("250"));
    EXPECT_TRUE(ui.button("TriggerMode")->isChecked());
    EXPECT_FALSE(ui.button("TriggerPolarity")->isChecked());
    EXPECT_TRUE(ui.button("TriggerControl")->isChecked());
    EXPECT_EQ(ui.list("Source")->currentText(), QStringLiteral(" 102(CC2)"));
    EXPECT_EQ(ui.list("EXP-MODE")->currentText(), QStringLiteral("1:PulseWidth"));
    EXPECT_FALSE(ui.button("Trigger Inhibit")->isChecked());
    EXPECT_TRUE(ui.button("TriggerShift")->isChecked());
    EXPECT_TRUE(ui.button("TriggerRange")->isChecked());
    EXPECT_EQ(ui.edit("Lower")->text(), QStringLiteral("100"));
    EXPECT_EQ(ui.edit("Upper")->text(), QStringLiteral("90000"));
    EXPECT_EQ(ui.list("Special Trigger Mode")->currentText(), QStringLiteral("2:Sequential mode"));
    EXPECT_EQ(ui.list("Trigger source")->currentText(), QStringLiteral(" 11(Pin#11)"));
    EXPECT_EQ(ui.list("Number of frames")->currentText(), QStringLiteral("12"));
    EXPECT_TRUE(ui.button("Trigger Polarity")->isChecked());
    EXPECT_EQ(ui.width()->text(), QStringLiteral("100"));
}

TEST_F(BrevoCLExposurePage, RefusedReadsShowAsNotRead)
{
    camera->refuseCommand(QStringLiteral("EXP"));
    camera->refuseCommand(QStringLiteral("TRG-SRC"));
    camera->refuseCommand(QStringLiteral("SP-TRG-F-CNT"));
    openPage();
    EXPECT_EQ(ui.edit("ExposureTime")->text(), QString());
    EXPECT_EQ(ui.edit("ExposureTime")->placeholderText(), QStringLiteral("not read"));
    EXPECT_EQ(ui.list("Source")->count(), 0); // an empty choice list empties the list
    EXPECT_EQ(ui.list("Number of frames")->currentIndex(), -1);
    EXPECT_EQ(ui.list("Number of frames")->count(), 15);
}

// ---------------------------------------------------------------- sending

TEST_F(BrevoCLExposurePage, EnterSendsTheExposureTheDelayAndTheRangeLimits)
{
    openPage();
    typeAndEnter(ui.edit("ExposureTime"), QStringLiteral("5000"));
    typeAndEnter(ui.edit("Trigger Delay"), QStringLiteral("-3"));
    typeAndEnter(ui.edit("Lower"), QStringLiteral("abc"));
    typeAndEnter(ui.edit("Upper"), QStringLiteral("20000"));
    typeAndEnter(ui.width(), QStringLiteral("300")); // no command of its own

    // The camera refuses a negative delay; its own is read back. Text that is
    // not a number goes nowhere.
    EXPECT_EQ(sent(), (QByteArrayList{"EXP 5000", "TRG-DLY -3", "GET-LAST-ERROR", "TRG-DLY",
                                      "TRIGGER-RANGE-UPPERLIMIT 20000"}));
    EXPECT_EQ(ui.edit("Trigger Delay")->text(), QStringLiteral("0"));
    EXPECT_EQ(ui.edit("Lower")->text(), QStringLiteral("abc"));
    EXPECT_EQ(reported("EXP"), 5000);
    EXPECT_EQ(reported("TRIGGER-RANGE-UPPERLIMIT"), 20000);
}

TEST_F(BrevoCLExposurePage, EachTriggerControlSendsItsCommand)
{
    openPage();
    choose(ui.list("Auto Exposure"), QStringLiteral("2:Continuous"));
    ui.button("TriggerMode")->click();
    choose(ui.list("Source"), QStringLiteral(" 10(Pin#10)"));
    ui.button("TriggerPolarity")->click();
    ui.button("TriggerControl")->click();
    ui.button("TriggerRange")->click();
    ui.button("TriggerMode")->click();

    EXPECT_EQ(sent(), (QByteArrayList{"AE 2", "TRG-MODE 1", "TRG-SRC 10", "TRG-POL 1", "TRG-CTRL 1", "TRIGGER-RANGE 1",
                                      "TRG-MODE 0"}));
    EXPECT_EQ(reported("TRG-SRC"), 10);
}

TEST_F(BrevoCLExposurePage, SpecialTriggerCommandsPutTwoBlanksBeforeTheValue)
{
    openPage();
    choose(ui.list("Special Trigger Mode"), QStringLiteral("1:Bulk mode"));
    choose(ui.list("Number of frames"), QStringLiteral("12"));
    choose(ui.list("Trigger source"), QStringLiteral(" 101(CC1)"));
    ui.button("Trigger Polarity")->click();

    EXPECT_EQ(sent(), (QByteArrayList{"SP-TRG-MODE  1", "SP-TRG-F-CNT  12", "SP-TRG-SRC  101", "SP-TRG-POL  1"}));
    EXPECT_EQ(reported("SP-TRG-MODE"), 1);
    EXPECT_EQ(reported("SP-TRG-F-CNT"), 12);
    EXPECT_EQ(reported("SP-TRG-SRC"), 101);
}

TEST_F(BrevoCLExposurePage, ExposureModeInhibitAndShiftCarryACarriageReturnOfTheirOwn)
{
    openPage();
    choose(ui.list("EXP-MODE"), QStringLiteral("1:PulseWidth"));
    ui.button("Trigger Inhibit")->click();
    ui.button("TriggerShift")->click();
    const QByteArray wire = wireToCamera();
    // What follows still reads cleanly: the empty line's answer is dropped.
    EXPECT_EQ(QueryInt(connection, "TRG-INH"), 1);
    EXPECT_EQ(QueryInt(connection, "TRG-SHIFT"), 1);
    EXPECT_EQ(QueryInt(connection, "EXP-MODE"), 1);

    EXPECT_EQ(wire, QByteArray("EXP-MODE 1\r\rTRG-INH 1\r\rTRG-SHIFT 1\r\r"));
}

// ---------------------------------------------------------------- exposure poll

TEST_F(BrevoCLExposurePage, AutoExposureOnceRefreshesTheTimeEveryTwoSecondsWhileShown)
{
    given("EXP 10000");
    openPage();
    page->show();
    ASSERT_NE(page->polling(), nullptr);
    EXPECT_TRUE(page->polling()->isActive());
    EXPECT_EQ(page->polling()->intervalMs(), 2000);

    page->polling()->tick(); // auto exposure off: nothing is read
    EXPECT_TRUE(sent().isEmpty());

    choose(ui.list("Auto Exposure"), QStringLiteral("1:Once"));
    EXPECT_EQ(sentSinceLastLook(), QByteArrayList{"AE 1"});
    clock.sleepMs(2000);
    page->polling()->tick();
    EXPECT_EQ(sentSinceLastLook(), QByteArrayList{"EXP"});
    const int halfway = ui.edit("ExposureTime")->text().toInt();
    EXPECT_GT(halfway, 10000);
    EXPECT_LT(halfway, 20000);

    clock.sleepMs(2000); // the camera has settled and left "Once"
    page->polling()->tick();
    EXPECT_EQ(sentSinceLastLook(), QByteArrayList{"EXP"});
    EXPECT_EQ(ui.edit("ExposureTime")->text(), QStringLiteral("20000"));

    choose(ui.list("Auto Exposure"), QStringLiteral("0:OFF"));
    EXPECT_EQ(sentSinceLastLook(), QByteArrayList{"AE 0"});
    page->polling()->tick();
    EXPECT_TRUE(sent().isEmpty());
    EXPECT_TRUE(page->polling()->isActive()); // the refreshing stops, the timer does not
}

TEST_F(BrevoCLExposurePage, ThePollRunsOnlyWhileTheTabIsShown)
{
    given("AE 2");
    openPage();
    EXPECT_FALSE(page->polling()->isActive());
    page->show();
    EXPECT_TRUE(page->polling()->isActive());
    page->hide();
    EXPECT_FALSE(page->polling()->isActive());
    page->show();
    EXPECT_GT(page->polling()->remainingMs(), 1950);

    // Auto exposure read at load is enough to poll.
    page->polling()->tick();
    EXPECT_EQ(sent(), QByteArrayList{"EXP"});
}

// ---------------------------------------------------------------- software trigger

TEST_F(BrevoCLExposurePage, AnEdgeTriggerIsWrittenOnceWithoutWaiting)
{
    openPage();
    const qint64 start = clock.nowUs();

    ui.fire()->click();

    EXPECT_EQ(clock.nowUs(), start);
    clock.sleepMs(100);
    ReadAvailable(connection); // the camera reads its line meanwhile
    EXPECT_EQ(sent(), QByteArrayList{"TRG-SOFT 1"});
}

struct PulseCase {
    const char* typed;
    std::optional<int> widthMs; // none: nothing fires
};

class BrevoCLExposurePagePulse : public BrevoCLExposurePage, public ::testing::WithParamInterface<PulseCase> {};

TEST_P(BrevoCLExposurePagePulse, HoldsTheTriggerHighForTheTypedWidthAtLeast)
{
    openPage();
    pulseMode();
    ui.width()->setText(QString::fromLatin1(GetParam().typed));

    ui.fire()->click();

    EXPECT_TRUE(ui.fire()->isEnabled());
    if (!GetParam().widthMs) {
        EXPECT_TRUE(sent().isEmpty());
        EXPECT_EQ(ui.width()->text(), QString::fromLatin1(GetParam().typed));
        return;
    }
    EXPECT_EQ(sent(), (QByteArrayList{"TRG-SOFT 1", "TRG-SOFT 0"}));
    const qint64 highUs = readAtUs("TRG-SOFT 0") - readAtUs("TRG-SOFT 1");
    const qint64 widthUs = qint64(*GetParam().widthMs) * 1000;
    EXPECT_GE(highUs, widthUs);
    EXPECT_LT(highUs, widthUs + 5000); // plus one answer and one line on the wire
}

// A width is a whole number of milliseconds up to a minute; anything else fires nothing.
INSTANTIATE_TEST_SUITE_P(Widths, BrevoCLExposurePagePulse,
                         ::testing::Values(PulseCase{"100", 100}, PulseCase{"1", 1}, PulseCase{"2500", 2500},
                                           PulseCase{"0", 0}, PulseCase{"60000", 60000}, PulseCase{"-5", {}},
                                           PulseCase{"long", {}}, PulseCase{"", {}}, PulseCase{"2.5", {}},
                                           PulseCase{"250000", {}}, PulseCase{"99999999999", {}}),
                         [](const auto& info) {
                             return "w" + QString::fromLatin1(info.param.typed).replace(QLatin1Char('-'), QLatin1String("minus")).replace(QLatin1Char('.'), QLatin1Char('_')).toStdString()
                                 + "ms";
                         });

TEST_F(BrevoCLExposurePage, TheWindowLivesDuringAPulseButNothingElseGoesOutInsideIt)
{
    openPage();
    pulseMode();
    ui.width()->setText(QStringLiteral("1000"));
    page->show();
    EventsDuringPauses events;
    bool enabledDuringPulse = true;
    int ticks = 0;
    events.onRun = [&] {
        if (events.runs != 3)
            return;
        enabledDuringPulse = ui.fire()->isEnabled();
        ui.fire()->click();                                        // ignored
        page->polling()->tick();                                   // held back
        typeAndEnter(ui.edit("ExposureTime"), QStringLiteral("777")); // goes out after the pulse
        ++ticks;
    };

    ui.fire()->click();

    EXPECT_EQ(ticks, 1);
    EXPECT_FALSE(enabledDuringPulse);
    EXPECT_GE(events.runs, 1000 / LongOperation::kSliceMs);
    EXPECT_EQ(sent(), (QByteArrayList{"TRG-SOFT 1", "TRG-SOFT 0"}));
    EXPECT_GE(readAtUs("TRG-SOFT 0") - readAtUs("TRG-SOFT 1"), 1000000);
    EXPECT_TRUE(ui.fire()->isEnabled());
    QCoreApplication::processEvents();
    EXPECT_EQ(sent(), (QByteArrayList{"TRG-SOFT 1", "TRG-SOFT 0", "EXP 777"}));
}

TEST_F(BrevoCLExposurePage, ClosingThePanelDuringAPulseStillEndsThePulse)
{
    openPage();
    pulseMode();
    EventsDuringPauses events;
    events.onRun = [&] {
        if (events.runs == 1)
            page.reset();
    };

    ui.fire()->click();

    EXPECT_EQ(page, nullptr);
    EXPECT_EQ(sent(), (QByteArrayList{"TRG-SOFT 1", "TRG-SOFT 0"}));
}

TEST_F(BrevoCLExposurePage, TheExposureModeReadAtLoadDecidesHowTheTriggerFires)
{
    given("EXP-MODE 1");
    openPage();
    ui.fire()->click();
    EXPECT_EQ(sentSinceLastLook(), (QByteArrayList{"TRG-SOFT 1", "TRG-SOFT 0"}));

    choose(ui.list("EXP-MODE"), QStringLiteral("0:Edge"));
    ui.fire()->click();
    clock.sleepMs(100);
    ReadAvailable(connection);
    EXPECT_EQ(sentSinceLastLook(), (QByteArrayList{"EXP-MODE 0", "", "TRG-SOFT 1"}));
}

// ---------------------------------------------------------------- lists no camera gives

class BrevoCLExposurePageOddLists : public PageTest {
protected:
    void openWith(const QByteArrayList& sources, int source)
    {
        camera->choices["TRG-SRC"] = sources;
        camera->choices["SP-TRG-SRC "] = sources;
        camera->set("TRG-SRC", source);
        camera->set("SP-TRG-SRC ", source);
        page = open<CBrevoCLExposurePage>();
        ui.page = page.get();
        camera->forgetLines();
    }

    std::unique_ptr<Page> page;
    Controls ui{nullptr};
};

TEST_F(BrevoCLExposurePageOddLists, TheParenthesisMustFollowTheNumberDirectly)
{
    openWith({" 17(Pin#17)", " 1(Pin#1)", " 7(Pin#7)"}, 1);
    EXPECT_EQ(ui.list("Source")->currentIndex(), 1);
    EXPECT_EQ(ui.list("Trigger source")->currentIndex(), 1);

    openWith({" 17(Pin#17)", " 1(Pin#1)", " 7(Pin#7)"}, 7);
    EXPECT_EQ(ui.list("Source")->currentIndex(), 2);

    openWith({" 17(Pin#17)", " 1(Pin#1)"}, 3);
    EXPECT_EQ(ui.list("Source")->currentIndex(), -1);
    EXPECT_EQ(ui.list("Trigger source")->currentIndex(), -1);
}

TEST_F(BrevoCLExposurePageOddLists, AnEntryThatDoesNotBeginWithANumberSendsNothing)
{
    openWith({" 0(SoftTrigger)", " Pin(7)", " (CC1)"}, 0);
    choose(ui.list("Source"), 1);
    choose(ui.list("Trigger source"), 2);
    choose(ui.list("Source"), 0);
    choose(ui.list("Trigger source"), 0);

    EXPECT_EQ(sent(), (QByteArrayList{"TRG-SRC 0", "SP-TRG-SRC  0"}));
}

TEST_F(BrevoCLExposurePageOddLists, ARefusedSoftTriggerIsReportedAndThePulseStillEnds)
{
    camera->set("EXP-MODE", 1);
    camera->raw["TRG-SOFT 1"] = "TRG-SOFT 1\rNG\r";
    openWith({" 0(SoftTrigger)"}, 0);
    QByteArrayList refused;
    QObject::connect(&sendPath, &SendPath::refused, [&](const QByteArray& line, const QString&) { refused << line; });

    ui.fire()->click();

    EXPECT_EQ(sent(), (QByteArrayList{"TRG-SOFT 1", "GET-LAST-ERROR", "TRG-SOFT 0"}));
    EXPECT_EQ(refused, QByteArrayList{"TRG-SOFT 1"});
}

} // namespace
