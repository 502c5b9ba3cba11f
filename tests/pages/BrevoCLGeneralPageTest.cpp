// The Brevo "General" page against simulated Brevo cameras: what it reads and
// shows, and what each control sends. Answers no camera gives (a wrong echo,
// out-of-list values) come from a scripted camera at the end.

#include "PageTesting.h"
#include "SimPageTest.h"
#include "brevo/BrevoCLGeneralPage.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>

namespace {

const QByteArrayList kLoadOrder = {
    "VENDOR", "MODEL", "ID", "VERSION", "MANUFACTURER", "USER-ID", "WIDTH", "HEIGHT", "OFFSETX", "OFFSETY",
    "FRAMERATE", "FRAMERATE-ACTUAL", "FRAMERATE-AUTO", "TEMPERATURE", "USERSET-DEFAULT", "HBIN", "VBIN",
    "BAUDRATE", "TESTCHART", "SENSOR-TAP", "CAMERALINK-TAP", "HELP LED-MODE", "LED-MODE", "PIXEL-DEPTH",
    "VSUB-EXTERNAL-MODE", "VSUB-EXTERNAL",
    // Read after the fixed order, which never reads it.
    "DEFECT-CORRECTION"};

// Finding controls by what the user sees.
struct Controls {
    QWidget* page;
    QLineEdit* edit(const char* name) const { return findNamed<QLineEdit>(page, QString::fromLatin1(name)); }
    QComboBox* list(const char* name) const { return findNamed<QComboBox>(page, QString::fromLatin1(name)); }
    QAbstractButton* button(const char* text) const { return findButton(page, QString::fromLatin1(text)); }
    QLabel* label(const char* prefix) const { return findLabel(page, QString::fromLatin1(prefix)); }
    QSlider* vsub() const { return findNamed<QSlider>(page, QStringLiteral("VSUB Adjust slider")); }
};

class BrevoCLGeneralPage : public SimPageTest {
protected:
    BrevoCLGeneralPage() { useModel(QStringLiteral("PTM-R560CL")); }

    void openPage()
    {
        page = open<CBrevoCLGeneralPage>(4);
        ui.page = page.get();
        camera->clearRecord();
    }

    std::unique_ptr<Page> page;
    Controls ui{nullptr};
};

TEST_F(BrevoCLGeneralPage, OpeningReadsEveryValueInItsFixedOrderAndSendsNoSetting)
{
    page = open<CBrevoCLGeneralPage>(4);
    EXPECT_EQ(sent(), kLoadOrder);
}

TEST_F(BrevoCLGeneralPage, NoUserSetIsLoadedOrSavedBeforeTheUserPicksOne)
{
    openPage();
    ui.button("Save")->click();
    ui.button("Load")->click();
    EXPECT_TRUE(sent().isEmpty());
}

TEST_F(BrevoCLGeneralPage, RefreshReadsEverythingAgain)
{
    openPage();
    ui.button("Refresh")->click();
    EXPECT_EQ(sent(), kLoadOrder);
}

TEST_F(BrevoCLGeneralPage, ShowsWhatTheCameraReports)
{
    given("USER-ID station2");
    given("HEIGHT 2000");
    given("OFFSETY 4");
    given("FRAMERATE 12500000");
    given("FRAMERATE-AUTO 1");
    given("USERSET-DEFAULT 5");
    given("VBIN 2");
    given("TESTCHART 1");
    given("CAMERALINK-TAP 1");
    given("LED-MODE 2");
    given("PIXEL-DEPTH 24");
    given("VSUB-EXTERNAL-MODE 1");
    given("VSUB-EXTERNAL 100");
    const int height = reported("HEIGHT");
    const int offsetY = reported("OFFSETY"); // binning halves it
    openPage();

    EXPECT_EQ(ui.label("Vendor")->text(), QStringLiteral("Vendor=PK Camera Simulation"));
    EXPECT_EQ(ui.label("Model")->text(), QStringLiteral("Model=PTM-R560CL"));
    EXPECT_EQ(ui.label("ID")->text(), QStringLiteral("ID=R05604C0112"));
    EXPECT_EQ(ui.label("Version")->text(), QStringLiteral("Version=2.31.0"));
    EXPECT_EQ(ui.edit("ManufacturerInfo=")->text(), QStringLiteral("Brevo CL series, simulated"));
    EXPECT_EQ(ui.edit("User-ID")->text(), QStringLiteral("station2"));
    EXPECT_EQ(ui.edit("Width")->text(), QStringLiteral("2464"));
    EXPECT_EQ(ui.edit("Height")->text(), QString::number(height));
    EXPECT_EQ(ui.edit("OffsetX")->text(), QStringLiteral("0"));
    EXPECT_EQ(ui.edit("OffsetY")->text(), QString::number(offsetY));
    EXPECT_EQ(ui.edit("Frame Rate")->text(), QStringLiteral("12.500000"));
    EXPECT_TRUE(ui.button("FRATE-AUTO")->isChecked());
    EXPECT_FALSE(ui.edit("Frame Rate")->isEnabled());
    EXPECT_TRUE(ui.edit("Temperature")->text().endsWith(QStringLiteral(" degC")));
    EXPECT_EQ(ui.list("Userset Default")->currentText(), QStringLiteral("5"));
    EXPECT_TRUE(ui.button("H Binning")->isEnabled());
    EXPECT_FALSE(ui.button("H Binning")->isChecked());
    EXPECT_TRUE(ui.button("V Binning")->isChecked());
    EXPECT_EQ(ui.list("Baudrate")->currentText(), QString::number(kRate));
    EXPECT_TRUE(ui.button("Gray")->isChecked());
    EXPECT_TRUE(ui.button("Sensor-Tap 4")->isChecked());
    EXPECT_TRUE(ui.button("CameraLink-Tap 1")->isChecked());
    // The camera's own list replaces the template's, and its value picks the entry.
    QComboBox* led = ui.list("LED-MODE");
    QStringList leds;
    for (int i = 0; i < led->count(); ++i)
        leds << led->itemText(i);
    EXPECT_EQ(leds, (QStringList{" 0(OFF)", " 1(ON)", " 2(GPO1)", " 3(GPO2)", " 4(GPO3)"}));
    EXPECT_EQ(led->currentIndex(), 2);
    EXPECT_EQ(ui.list("PixelDepth=")->currentText(), QStringLiteral("24"));
    EXPECT_TRUE(ui.button("VSUB Adjust")->isChecked());
    EXPECT_EQ(ui.vsub()->value(), 100);
    EXPECT_NE(ui.label("100"), nullptr);
}

TEST_F(BrevoCLGeneralPage, ACameraWithoutBinningShowsBothBoxesGreyed)
{
    useModel(QStringLiteral("PTM-R140ML"));
    openPage();
    EXPECT_FALSE(ui.button("H Binning")->isEnabled());
    EXPECT_FALSE(ui.button("V Binning")->isEnabled());
    EXPECT_TRUE(ui.button("Sensor-Tap 1")->isChecked());
}

TEST_F(BrevoCLGeneralPage, RefusedReadsShowAsNotRead)
{
    camera->refuseCommand(QStringLiteral("MODEL"));
    camera->refuseCommand(QStringLiteral("TEMPERATURE"));
    camera->refuseCommand(QStringLiteral("LED-MODE"));
    camera->refuseCommand(QStringLiteral("DEFECT-CORRECTION"));
    openPage();
    EXPECT_EQ(ui.label("Model")->text(), QStringLiteral("Model=not read"));
    EXPECT_EQ(ui.edit("Temperature")->text(), QStringLiteral("not read"));
    EXPECT_EQ(ui.list("LED-MODE")->count(), 0);
    EXPECT_EQ(qobject_cast<QCheckBox*>(ui.button("White Defect Check"))->checkState(), Qt::PartiallyChecked);
}

TEST_F(BrevoCLGeneralPage, EnterSendsTheRegionOfInterestAndTheFrameRate)
{
    openPage();
    typeAndEnter(ui.edit("Width"), QStringLiteral("1024"));
    typeAndEnter(ui.edit("Height"), QStringLiteral("abc"));
    typeAndEnter(ui.edit("OffsetX"), QStringLiteral("-16"));
    typeAndEnter(ui.edit("OffsetY"), QStringLiteral("8"));
    typeAndEnter(ui.edit("Frame Rate"), QStringLiteral("29.97"));
    typeAndEnter(ui.edit("Frame Rate"), QStringLiteral("1.001"));
    typeAndEnter(ui.edit("Frame Rate"), QStringLiteral("fast"));
    typeAndEnter(ui.edit("Frame Rate"), QStringLiteral("3000"));

    // What is not a number goes nowhere; what the camera refuses is read
    // back, after asking for its reason.
    EXPECT_EQ(sent(), (QByteArrayList{"WIDTH 1024", "OFFSETX -16",
                                      "GET-LAST-ERROR", "OFFSETX", "OFFSETY 8", "GET-LAST-ERROR", "OFFSETY",
                                      "FRAMERATE 29970000", "GET-LAST-ERROR", "FRAMERATE", "FRAMERATE 1000999"}));
    EXPECT_EQ(reported("WIDTH"), 1024);
    EXPECT_EQ(reported("FRAMERATE"), 1000999);
    EXPECT_EQ(ui.edit("Height")->text(), QStringLiteral("abc"));
    EXPECT_EQ(ui.edit("OffsetX")->text(), QStringLiteral("0"));
    EXPECT_EQ(ui.edit("Frame Rate")->text(), QStringLiteral("3000"));
}

TEST_F(BrevoCLGeneralPage, TheUserIdGoesOutAsTypedAndClearEmptiesItOnceTheCameraDid)
{
    openPage();
    typeAndEnter(ui.edit("User-ID"), QString());
    typeAndEnter(ui.edit("User-ID"), QStringLiteral("cell9"));
    ui.button("Clear")->click();

    EXPECT_EQ(sent(), (QByteArrayList{"USER-ID ", "USER-ID cell9", "USER-ID-DELETE"}));
    EXPECT_EQ(ui.edit("User-ID")->text(), QString());
}

TEST_F(BrevoCLGeneralPage, FrameRateAutoUnlocksTheRateBeforeSendingAndReadsTheActualRate)
{
    given("FRAMERATE-AUTO 1");
    given("FRAMERATE 10000000");
    openPage();
    bool enabledWhenSent = false;
    camera->setLineObserver([&](qint64, const QByteArray& line) {
        if (line.startsWith("FRAMERATE-AUTO "))
            enabledWhenSent = ui.edit("Frame Rate")->isEnabled();
    });

    ui.button("FRATE-AUTO")->click();

    EXPECT_TRUE(enabledWhenSent);
    EXPECT_EQ(sent(), (QByteArrayList{"FRAMERATE-AUTO 0", "FRAMERATE-ACTUAL"}));
    EXPECT_EQ(ui.edit("Actual Frame rate")->text(), QStringLiteral("10.000000"));
}

TEST_F(BrevoCLGeneralPage, ChoosingABaudRateSendsOnlyThatRate)
{
    openPage();
    choose(ui.list("Baudrate"), QStringLiteral("115200"));
    EXPECT_EQ(sent(), QByteArrayList{"BAUDRATE 115200"});
}

TEST_F(BrevoCLGeneralPage, EnterInAListsEditFieldOrOnAButtonSendsNothing)
{
    openPage();
    QComboBox* baud = ui.list("Baudrate");
    baud->setEditText(QStringLiteral("230400"));
    pressKey(baud->lineEdit(), Qt::Key_Return);
    pressKey(ui.button("Save"), Qt::Key_Enter);
    pressKey(ui.vsub(), Qt::Key_Return);

    EXPECT_TRUE(sent().isEmpty());
    EXPECT_EQ(baud->count(), 6);
}

TEST_F(BrevoCLGeneralPage, EachControlSendsItsCommand)
{
    openPage();
    choose(ui.list("Userset selector"), QStringLiteral("3"));
    ui.button("Save")->click();
    choose(ui.list("Userset Default"), QStringLiteral("2"));
    choose(ui.list("LED-MODE"), 3);
    choose(ui.list("PixelDepth="), QStringLiteral("10"));
    ui.button("Color")->click();
    ui.button("H Binning")->click();
    ui.button("White Defect Check")->click();
    ui.button("Reset")->click();

    // The camera corrects its defects by default, as the box showed.
    EXPECT_EQ(sent(), (QByteArrayList{"USERSET-SAVE 3", "USERSET-DEFAULT 2", "LED-MODE 3", "PIXEL-DEPTH 10", "TESTCHART 2",
                                      "HBIN 2", "DEFECT-CORRECTION 0", "RESET"}));
}

TEST_F(BrevoCLGeneralPage, LoadingAUserSetDoesNotWaitForTheCamera)
{
    openPage();
    choose(ui.list("Userset selector"), QStringLiteral("Default"));
    const qint64 start = clock.nowUs();

    ui.button("Load")->click();

    EXPECT_EQ(clock.nowUs(), start);
    clock.sleepMs(500);
    ReadAvailable(connection); // the camera reads its line meanwhile
    EXPECT_EQ(sent(), QByteArrayList{"USERSET-LOAD 0"});
}

TEST_F(BrevoCLGeneralPage, FactoryDefaultStaysDisabledForItsWholeTransaction)
{
    openPage();
    bool enabledWhileRunning = true;
    camera->setLineObserver([&](qint64, const QByteArray&) { enabledWhileRunning = ui.button("FactoryDefault")->isEnabled(); });
    camera->setExtraLatencyUs(20000000); // the camera hangs after reading the line
    const qint64 start = clock.nowUs();

    ui.button("FactoryDefault")->click();

    EXPECT_FALSE(enabledWhileRunning);
    EXPECT_TRUE(ui.button("FactoryDefault")->isEnabled());
    EXPECT_GT(clock.nowUs() - start, 5000000); // its own time-out, longer than the usual second
    EXPECT_LE(clock.nowUs() - start, 6100000);
}

TEST_F(BrevoCLGeneralPage, FactoryDefaultWaitsForTheCamerasSlowAnswer)
{
    openPage();
    bool enabledWhileRunning = true;
    camera->setLineObserver([&](qint64, const QByteArray& line) {
        if (line == "FACTORY-DEFAULT")
            enabledWhileRunning = ui.button("FactoryDefault")->isEnabled();
    });
    const qint64 start = clock.nowUs();

    ui.button("FactoryDefault")->click();

    EXPECT_FALSE(enabledWhileRunning);
    EXPECT_GE(clock.nowUs() - start, 2000000); // the camera takes two seconds
    EXPECT_EQ(sent(), QByteArrayList{"FACTORY-DEFAULT"});
}

TEST_F(BrevoCLGeneralPage, TapRadiosShowWhatTheCameraAcceptedAfterAChange)
{
    useModel(QStringLiteral("PTM-R290CL"));
    openPage();
    EXPECT_TRUE(ui.button("Sensor-Tap 2")->isChecked());

    ui.button("Sensor-Tap 1")->click();
    EXPECT_EQ(sentSinceLastLook(), (QByteArrayList{"SENSOR-TAP 1", "SENSOR-TAP"}));
    EXPECT_TRUE(ui.button("Sensor-Tap 1")->isChecked());

    ui.button("Sensor-Tap 4")->click(); // two taps at most: refused
    EXPECT_EQ(sentSinceLastLook(), (QByteArrayList{"SENSOR-TAP 4", "GET-LAST-ERROR", "SENSOR-TAP", "SENSOR-TAP"}));
    EXPECT_TRUE(ui.button("Sensor-Tap 1")->isChecked());
    EXPECT_FALSE(ui.button("Sensor-Tap 4")->isChecked());

    ui.button("CameraLink-Tap 1")->click();
    EXPECT_EQ(sentSinceLastLook(), (QByteArrayList{"CAMERALINK-TAP 1", "CAMERALINK-TAP"}));
    EXPECT_TRUE(ui.button("CameraLink-Tap 1")->isChecked());
}

TEST_F(BrevoCLGeneralPage, TheDefectCheckOverrideSavesExposureAndGainAndRestoresThem)
{
    given("EXP 5000");
    given("GAIN 3");
    const int gain = reported("GAIN");
    openPage();

    ui.button("Change Exposure/Gain")->click();
    EXPECT_EQ(sentSinceLastLook(), (QByteArrayList{"DEFECT-PATTERN-SELECTOR 0", "EXP", "GAIN", "EXP 2000000", "GAIN 18"}));
    EXPECT_EQ(reported("EXP"), 2000000);

    ui.button("Change Exposure/Gain")->click();
    EXPECT_EQ(sentSinceLastLook(), (QByteArrayList{"EXP 5000", "GAIN " + QByteArray::number(gain)}));
    EXPECT_EQ(reported("EXP"), 5000);
}

TEST_F(BrevoCLGeneralPage, VsubAdjustShowsTheModeTheCameraReportsAfterTheClick)
{
    openPage();
    ui.button("VSUB Adjust")->click();
    EXPECT_EQ(sentSinceLastLook(), (QByteArrayList{"VSUB-EXTERNAL-MODE 1", "VSUB-EXTERNAL-MODE"}));
    EXPECT_TRUE(ui.button("VSUB Adjust")->isChecked());

    // A camera that refuses the mode and its report leaves it not read.
    camera->refuseCommand(QStringLiteral("VSUB-EXTERNAL-MODE"));
    ui.button("VSUB Adjust")->click();
    ui.button("VSUB Adjust")->click();
    EXPECT_EQ(qobject_cast<QCheckBox*>(ui.button("VSUB Adjust"))->checkState(), Qt::PartiallyChecked);
}

TEST_F(BrevoCLGeneralPage, DraggingTheVsubThumbSendsEachPositionAndKeysSendNothing)
{
    openPage();
    drag(ui.vsub(), {100, 120, 127});
    EXPECT_EQ(sentSinceLastLook(), (QByteArrayList{"VSUB-EXTERNAL 100", "VSUB-EXTERNAL 120", "VSUB-EXTERNAL 127"}));
    EXPECT_NE(ui.label("127"), nullptr);
    EXPECT_EQ(reported("VSUB-EXTERNAL"), 127);

    pressKey(ui.vsub(), Qt::Key_Left);
    pressKey(ui.vsub(), Qt::Key_PageDown);
    EXPECT_TRUE(sent().isEmpty());
    EXPECT_EQ(ui.vsub()->value(), 116);
}

// Answers a camera gives only when something is wrong on the line or in its
// firmware: a wrong echo or terminal line, values outside its lists.
class BrevoCLGeneralPageOddAnswers : public PageTest {
protected:
    std::unique_ptr<Page> page;
};

TEST_F(BrevoCLGeneralPageOddAnswers, AreShownAsTheQueriesReturnThem)
{
    camera->raw["FRAMERATE"] = "FRAMERATX\r1\rOK\r";
    camera->raw["TEMPERATURE"] = "TEMPERATURE\r41\rNG\r";
    camera->set("HBIN", 1);
    camera->set("SENSOR-TAP", 3);
    camera->set("TESTCHART", 5);
    camera->set("USERSET-DEFAULT", 17);
    camera->set("VSUB-EXTERNAL", 300);
    page = open<CBrevoCLGeneralPage>(4);
    const Controls ui{page.get()};

    // Answers that do not check out leave their values not read.
    EXPECT_EQ(ui.edit("Frame Rate")->text(), QString());
    EXPECT_EQ(ui.edit("Frame Rate")->placeholderText(), QStringLiteral("not read"));
    EXPECT_EQ(ui.edit("Temperature")->text(), QStringLiteral("not read"));
    EXPECT_TRUE(ui.button("H Binning")->isEnabled());
    EXPECT_FALSE(ui.button("H Binning")->isChecked());
    for (const char* tap : {"Sensor-Tap 1", "Sensor-Tap 2", "Sensor-Tap 4"})
        EXPECT_FALSE(ui.button(tap)->isChecked()) << tap;
    for (const char* chart : {"OFF", "Gray", "Color"})
        EXPECT_FALSE(ui.button(chart)->isChecked()) << chart;
    EXPECT_EQ(ui.list("Userset Default")->currentIndex(), -1);
    EXPECT_EQ(ui.vsub()->value(), 127);
    EXPECT_NE(ui.label("300"), nullptr);
}

// The defect check's override on a camera that refuses one of its lines
// (or will not report what it must restore): the check is all or nothing, so
// what it changed goes back, the box shows whether the bright exposure and
// gain are in force, and the refusal is reported.
struct DefectCheckRefusal {
    QByteArray line;   // the line the camera refuses
    bool switchingOff; // refused while switching the override off
    QByteArrayList lines; // of the last click
    bool checked;
};

void PrintTo(const DefectCheckRefusal& c, std::ostream* out)
{
    *out << c.line.constData() << (c.switchingOff ? " switching off" : "");
}

class BrevoCLGeneralPageDefectCheck : public PageTest, public ::testing::WithParamInterface<DefectCheckRefusal> {};

TEST_P(BrevoCLGeneralPageDefectCheck, PutsBackWhatItChangedAndReportsTheRefusal)
{
    const DefectCheckRefusal& c = GetParam();
    camera->set("EXP", 5000);
    camera->set("GAIN", 3);
    camera->raw[c.line] = c.line + "\rNG\r";
    auto page = open<CBrevoCLGeneralPage>(4);
    QAbstractButton* box = findButton(page.get(), QStringLiteral("Change Exposure/Gain"));
    QStringList reported;
    QObject::connect(&sendPath, &SendPath::refused, [&](const QByteArray& line, const QString&) { reported << line; });
    QObject::connect(&sendPath, &SendPath::inputRejected, [&](const QString& why) { reported << why; });
    if (c.switchingOff)
        box->click();
    camera->forgetLines();

    box->click();

    EXPECT_EQ(sent(), c.lines);
    EXPECT_EQ(reported.size(), 1);
    EXPECT_EQ(box->isChecked(), c.checked);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, BrevoCLGeneralPageDefectCheck,
    ::testing::Values(
        DefectCheckRefusal{"DEFECT-PATTERN-SELECTOR 0", false, {"DEFECT-PATTERN-SELECTOR 0", "GET-LAST-ERROR"}, false},
        DefectCheckRefusal{"GAIN", false, {"DEFECT-PATTERN-SELECTOR 0", "EXP", "GAIN"}, false},
        DefectCheckRefusal{"EXP 2000000", false,
                           {"DEFECT-PATTERN-SELECTOR 0", "EXP", "GAIN", "EXP 2000000", "GET-LAST-ERROR", "EXP"}, false},
        DefectCheckRefusal{"GAIN 18", false,
                           {"DEFECT-PATTERN-SELECTOR 0", "EXP", "GAIN", "EXP 2000000", "GAIN 18", "GET-LAST-ERROR",
                            "GAIN", "EXP 5000"},
                           false},
        DefectCheckRefusal{"EXP 5000", true, {"EXP 5000", "GET-LAST-ERROR", "EXP", "GAIN 3"}, true}),
    [](const auto& info) { return std::to_string(info.index); });

} // namespace
