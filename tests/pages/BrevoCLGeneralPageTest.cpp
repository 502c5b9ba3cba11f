// The Brevo "General" page against a camera: what it reads and shows, and
// what each control sends.

#include "PageTesting.h"
#include "brevo/BrevoCLGeneralPage.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>

namespace {

const QByteArrayList kLoadOrder = {
    "VENDOR", "MODEL", "ID", "VERSION", "MANUFACTURER", "USER-ID", "WIDTH", "HEIGHT", "OFFSETX", "OFFSETY",
    "FRAMERATE", "FRAMERATE-ACTUAL", "FRAMERATE-AUTO", "TEMPERATURE", "USERSET-DEFAULT", "HBIN", "VBIN",
    "BAUDRATE", "TESTCHART", "SENSOR-TAP", "CAMERALINK-TAP", "HELP LED-MODE", "LED-MODE", "PIXEL-DEPTH",
    "VSUB-EXTERNAL-MODE", "VSUB-EXTERNAL"};

class BrevoCLGeneralPageTest : public PageTest {
protected:
    BrevoCLGeneralPageTest()
    {
        camera->set("VENDOR", "PTM");
        camera->set("MODEL", "PTM-R560CL");
        camera->set("ID", "B0042");
        camera->set("VERSION", "2.10");
        camera->set("MANUFACTURER", "lot 7");
        camera->set("USER-ID", "station 2");
        camera->set("WIDTH", 2048);
        camera->set("HEIGHT", 1088);
        camera->set("OFFSETX", 0);
        camera->set("OFFSETY", 4);
        camera->set("FRAMERATE", 30000000);
        camera->set("FRAMERATE-ACTUAL", 29990000);
        camera->set("FRAMERATE-AUTO", 1);
        camera->set("TEMPERATURE", 41);
        camera->set("USERSET-DEFAULT", 0);
        camera->set("HBIN", 1);
        camera->set("VBIN", 2);
        camera->set("BAUDRATE", 9600);
        camera->set("TESTCHART", 0);
        camera->set("SENSOR-TAP", 4);
        camera->set("CAMERALINK-TAP", 2);
        camera->choices["LED-MODE"] = {" 0(OFF)", " 1(ON)", " 2(GPO1)"};
        camera->set("LED-MODE", 1);
        camera->set("PIXEL-DEPTH", 24);
        camera->set("VSUB-EXTERNAL-MODE", 1);
        camera->set("VSUB-EXTERNAL", 64);
        camera->set("EXP", 5000);
        camera->set("GAIN", 3);
    }

    void openPage()
    {
        page = open<CBrevoCLGeneralPage>(4);
        camera->forgetLines();
    }

    QLineEdit* edit(const char* name) { return findNamed<QLineEdit>(page.get(), QString::fromLatin1(name)); }
    QComboBox* list(const char* name) { return findNamed<QComboBox>(page.get(), QString::fromLatin1(name)); }
    QAbstractButton* button(const char* text) { return findButton(page.get(), QString::fromLatin1(text)); }
    QSlider* vsub() { return findNamed<QSlider>(page.get(), QStringLiteral("VSUB Adjust")); }

    std::unique_ptr<Page> page;
};

TEST_F(BrevoCLGeneralPageTest, OpeningReadsEveryValueInItsFixedOrderAndSendsNoSetting)
{
    page = open<CBrevoCLGeneralPage>(4);
    EXPECT_EQ(sent(), kLoadOrder);
}

TEST_F(BrevoCLGeneralPageTest, RefreshReadsEverythingAgain)
{
    openPage();
    button("Refresh")->click();
    EXPECT_EQ(sent(), kLoadOrder);
}

TEST_F(BrevoCLGeneralPageTest, ShowsWhatTheCameraAnswered)
{
    openPage();
    QWidget* p = page.get();

    EXPECT_EQ(findLabel(p, "Vendor")->text(), QStringLiteral("Vendor=PTM"));
    EXPECT_EQ(findLabel(p, "Model")->text(), QStringLiteral("Model=PTM-R560CL"));
    EXPECT_EQ(findLabel(p, "ID")->text(), QStringLiteral("ID=B0042"));
    EXPECT_EQ(findLabel(p, "Version")->text(), QStringLiteral("Version=2.10"));
    EXPECT_EQ(edit("ManufacturerInfo=")->text(), QStringLiteral("lot 7"));
    EXPECT_EQ(edit("User-ID")->text(), QStringLiteral("station 2"));
    EXPECT_EQ(edit("Width")->text(), QStringLiteral("2048"));
    EXPECT_EQ(edit("Height")->text(), QStringLiteral("1088"));
    EXPECT_EQ(edit("OffsetY")->text(), QStringLiteral("4"));
    EXPECT_EQ(edit("Frame Rate")->text(), QStringLiteral("30.000000"));
    EXPECT_EQ(edit("Actucal Frame rate")->text(), QStringLiteral("29.990000"));
    EXPECT_TRUE(button("FRATE-AUTO")->isChecked());
    EXPECT_FALSE(edit("Frame Rate")->isEnabled());
    EXPECT_EQ(edit("Temperature")->text(), QStringLiteral("41 degC"));
    EXPECT_EQ(list("Userset Default")->currentText(), QStringLiteral("Default"));
    EXPECT_TRUE(button("H Binning")->isEnabled());
    EXPECT_FALSE(button("H Binning")->isChecked());
    EXPECT_TRUE(button("V Binning")->isChecked());
    EXPECT_EQ(list("Baudrate")->currentText(), QStringLiteral("9600"));
    EXPECT_TRUE(button("OFF")->isChecked());
    EXPECT_TRUE(button("Sensor-Tap 4")->isChecked());
    EXPECT_TRUE(button("CameraLinkr-Tap 2")->isChecked());
    QComboBox* led = list("LED-MODE");
    EXPECT_EQ(led->count(), 3);
    EXPECT_EQ(led->currentText(), QStringLiteral(" 1(ON)"));
    EXPECT_EQ(list("PixelDepth=")->currentText(), QStringLiteral("24"));
    EXPECT_TRUE(button("VSUB Adjust")->isChecked());
    EXPECT_EQ(vsub()->value(), 64);
    EXPECT_NE(findLabel(p, "64"), nullptr);
}

TEST_F(BrevoCLGeneralPageTest, FailedReadsShowTheQueryFailureValues)
{
    camera->refused << "MODEL" << "HBIN";
    camera->raw["FRAMERATE"] = "FRAMERATX\r1\rOK\r";
    camera->raw["TEMPERATURE"] = "TEMPERATURE\r41\rNG\r";
    camera->set("SENSOR-TAP", 3);
    camera->set("TESTCHART", 5);
    camera->set("USERSET-DEFAULT", 17);
    camera->set("VSUB-EXTERNAL", 300);
    openPage();

    EXPECT_EQ(findLabel(page.get(), "Model")->text(), QStringLiteral("Model="));
    EXPECT_EQ(edit("Frame Rate")->text(), QStringLiteral("-0.000001"));
    EXPECT_EQ(edit("Temperature")->text(), QStringLiteral("-1 degC"));
    EXPECT_FALSE(button("H Binning")->isEnabled());
    EXPECT_TRUE(button("V Binning")->isEnabled());
    for (const char* tap : {"Sensor-Tap 1", "Sensor-Tap 2", "Sensor-Tap 4"})
        EXPECT_FALSE(button(tap)->isChecked()) << tap;
    for (const char* chart : {"OFF", "Gray", "Color"})
        EXPECT_FALSE(button(chart)->isChecked()) << chart;
    EXPECT_EQ(list("Userset Default")->currentIndex(), -1);
    EXPECT_EQ(vsub()->value(), 127);
    EXPECT_NE(findLabel(page.get(), "300"), nullptr);
}

TEST_F(BrevoCLGeneralPageTest, EnterSendsTheRegionOfInterestAndTheFrameRate)
{
    openPage();
    typeAndEnter(edit("Width"), QStringLiteral("1024"));
    typeAndEnter(edit("Height"), QStringLiteral("abc"));
    typeAndEnter(edit("OffsetX"), QStringLiteral("-16"));
    typeAndEnter(edit("OffsetY"), QStringLiteral("8"));
    edit("Frame Rate")->setEnabled(true);
    typeAndEnter(edit("Frame Rate"), QStringLiteral("29.97"));
    typeAndEnter(edit("Frame Rate"), QStringLiteral("1.001"));
    typeAndEnter(edit("Frame Rate"), QStringLiteral("fast"));

    EXPECT_EQ(sent(), (QByteArrayList{"WIDTH 1024", "HEIGHT 0", "OFFSETX -16", "OFFSETY 8", "FRAMERATE 29970000",
                                      "FRAMERATE 1000999"}));
}

TEST_F(BrevoCLGeneralPageTest, TheUserIdGoesOutAsTypedAndClearDoesNotTouchTheBox)
{
    openPage();
    typeAndEnter(edit("User-ID"), QString());
    typeAndEnter(edit("User-ID"), QStringLiteral("cell 9"));
    button("Clear")->click();

    EXPECT_EQ(port->received, QByteArray("USER-ID \rUSER-ID cell 9\rUSER-ID-DELETE\r"));
    EXPECT_EQ(edit("User-ID")->text(), QStringLiteral("cell 9"));
}

TEST_F(BrevoCLGeneralPageTest, FrameRateAutoUnlocksTheRateBeforeSendingAndReadsTheActualRate)
{
    openPage();
    bool enabledWhenSent = false;
    camera->onLine = [&](const QByteArray& line) {
        if (line.startsWith("FRAMERATE-AUTO "))
            enabledWhenSent = edit("Frame Rate")->isEnabled();
    };
    camera->set("FRAMERATE-ACTUAL", 25000000);

    button("FRATE-AUTO")->click();

    EXPECT_TRUE(enabledWhenSent);
    EXPECT_EQ(sent(), (QByteArrayList{"FRAMERATE-AUTO 0", "FRAMERATE-ACTUAL"}));
    EXPECT_EQ(edit("Actucal Frame rate")->text(), QStringLiteral("25.000000"));
}

TEST_F(BrevoCLGeneralPageTest, EnterInAListsEditFieldOrOnAButtonSendsNothing)
{
    openPage();
    QComboBox* baud = list("Baudrate");
    baud->setEditText(QStringLiteral("230400"));
    pressKey(baud->lineEdit(), Qt::Key_Return);
    pressKey(button("Save"), Qt::Key_Enter);
    pressKey(vsub(), Qt::Key_Return);

    EXPECT_TRUE(sent().isEmpty());
    EXPECT_EQ(baud->count(), 6);
}

TEST_F(BrevoCLGeneralPageTest, ChoosingABaudRateSendsOnlyThatRate)
{
    openPage();
    choose(list("Baudrate"), QStringLiteral("115200"));
    EXPECT_EQ(sent(), QByteArrayList{"BAUDRATE 115200"});
}

TEST_F(BrevoCLGeneralPageTest, EachControlSendsItsCommand)
{
    openPage();
    choose(list("Userset selector"), QStringLiteral("3"));
    button("Save")->click();
    choose(list("Userset Default"), QStringLiteral("2"));
    choose(list("LED-MODE"), 2);
    choose(list("PixelDepth="), QStringLiteral("10"));
    button("Color")->click();
    button("H Binning")->click();
    button("V Binning")->click();
    button("White Defect Check")->click();
    button("Reset")->click();

    EXPECT_EQ(sent(), (QByteArrayList{"USERSET-SAVE 3", "USERSET-DEFAULT 2", "LED-MODE 2", "PIXEL-DEPTH 10",
                                      "TESTCHART 2", "HBIN 2", "VBIN 1", "DEFECT-CORRECTION 1", "RESET"}));
}

TEST_F(BrevoCLGeneralPageTest, LoadingAUserSetDoesNotWaitForTheCamera)
{
    openPage();
    camera->silent << "USERSET-LOAD";
    choose(list("Userset selector"), QStringLiteral("Default"));
    const qint64 start = clock.nowUs();

    button("Load")->click();

    EXPECT_EQ(sent(), QByteArrayList{"USERSET-LOAD 0"});
    EXPECT_EQ(clock.nowUs(), start);
}

TEST_F(BrevoCLGeneralPageTest, FactoryDefaultStaysDisabledForItsWholeTransaction)
{
    openPage();
    camera->silent << "FACTORY-DEFAULT";
    bool enabledWhileRunning = true;
    camera->onLine = [&](const QByteArray&) { enabledWhileRunning = button("FactoryDefault")->isEnabled(); };
    const qint64 start = clock.nowUs();

    button("FactoryDefault")->click();

    EXPECT_EQ(sent(), QByteArrayList{"FACTORY-DEFAULT"});
    EXPECT_FALSE(enabledWhileRunning);
    EXPECT_TRUE(button("FactoryDefault")->isEnabled());
    EXPECT_GT(clock.nowUs() - start, 5000000); // the 5-second time-out, not the usual one
}

TEST_F(BrevoCLGeneralPageTest, TapRadiosShowWhatTheCameraAcceptedAfterAChange)
{
    openPage();
    button("Sensor-Tap 2")->click();
    EXPECT_EQ(sentSinceLastLook(), (QByteArrayList{"SENSOR-TAP 2", "SENSOR-TAP"}));
    EXPECT_TRUE(button("Sensor-Tap 2")->isChecked());

    camera->raw["SENSOR-TAP 1"] = "SENSOR-TAP 1\rNG\r";
    button("Sensor-Tap 1")->click();
    EXPECT_EQ(sentSinceLastLook(), (QByteArrayList{"SENSOR-TAP 1", "SENSOR-TAP"}));
    EXPECT_TRUE(button("Sensor-Tap 2")->isChecked());
    EXPECT_FALSE(button("Sensor-Tap 1")->isChecked());

    button("CameraLinkr-Tap 1")->click();
    EXPECT_EQ(sentSinceLastLook(), (QByteArrayList{"CAMERALINK-TAP 1", "CAMERALINK-TAP"}));
    EXPECT_TRUE(button("CameraLinkr-Tap 1")->isChecked());
}

TEST_F(BrevoCLGeneralPageTest, TheDefectCheckOverrideSavesExposureAndGainAndRestoresThem)
{
    openPage();
    button("Change Exposure/Gain")->click();
    EXPECT_EQ(sentSinceLastLook(), (QByteArrayList{"DEFECT-PATTERN-SELECTOR 0", "EXP", "GAIN", "EXP 2000000", "GAIN 18"}));

    button("Change Exposure/Gain")->click();
    EXPECT_EQ(sentSinceLastLook(), (QByteArrayList{"EXP 5000", "GAIN 3"}));
}

TEST_F(BrevoCLGeneralPageTest, VsubAdjustShowsTheModeTheCameraReportsAfterTheClick)
{
    openPage();
    camera->raw["VSUB-EXTERNAL-MODE 0"] = "VSUB-EXTERNAL-MODE 0\rNG\r";

    button("VSUB Adjust")->click();

    EXPECT_EQ(sent(), (QByteArrayList{"VSUB-EXTERNAL-MODE 0", "VSUB-EXTERNAL-MODE"}));
    EXPECT_TRUE(button("VSUB Adjust")->isChecked());
}

TEST_F(BrevoCLGeneralPageTest, DraggingTheVsubThumbSendsEachPositionAndKeysSendNothing)
{
    openPage();
    drag(vsub(), {100, 120, 127});
    EXPECT_EQ(sentSinceLastLook(), (QByteArrayList{"VSUB-EXTERNAL 100", "VSUB-EXTERNAL 120", "VSUB-EXTERNAL 127"}));
    EXPECT_NE(findLabel(page.get(), "127"), nullptr);

    pressKey(vsub(), Qt::Key_Left);
    pressKey(vsub(), Qt::Key_PageDown);
    EXPECT_TRUE(sent().isEmpty());
    EXPECT_EQ(vsub()->value(), 116);
}

} // namespace
