// The Tovane "General" page against a camera: what it reads and shows, and
// what each control sends.

#include "PageTesting.h"
#include "tovane/TovaneGeneralPage.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>

namespace {

const QByteArrayList kLoadOrder = {
    "VENDOR", "MODEL", "ID", "VERSION", "MANUFACTURER", "USER-ID", "WIDTH", "HEIGHT", "OFFSETX", "OFFSETY",
    "REVERSEX", "REVERSEY", "BASE-CLOCK", "CAMERALINK-TAP", "FRAMERATE", "FRAMERATE-ACTUAL", "FRAMERATE-AUTO",
    "TEMPERATURE", "USERSET-DEFAULT", "HBIN", "VBIN", "TESTCHART", "POWER-STATUS", "PIXEL-DEPTH", "BAUDRATE",
    "BAUDRATE-TMP", "BAUDRATE-SAVE"};

class TovaneGeneralPageTest : public PageTest {
protected:
    TovaneGeneralPageTest()
    {
        camera->set("VENDOR", "PTM");
        camera->set("MODEL", "PTM-TW640");
        camera->set("ID", "0012345");
        camera->set("VERSION", "1.02");
        camera->set("MANUFACTURER", "2021-04 line 3");
        camera->set("USER-ID", "inspection A");
        camera->set("WIDTH", 640);
        camera->set("HEIGHT", 512);
        camera->set("OFFSETX", 16);
        camera->set("OFFSETY", -8);
        camera->set("REVERSEX", 1);
        camera->set("REVERSEY", 0);
        camera->set("BASE-CLOCK", 1);
        camera->set("CAMERALINK-TAP", 2);
        camera->set("FRAMERATE", 29970000);
        camera->set("FRAMERATE-ACTUAL", 0);
        camera->set("FRAMERATE-AUTO", 0);
        camera->set("TEMPERATURE", 45);
        camera->set("USERSET-DEFAULT", 3);
        camera->set("HBIN", 2);
        camera->set("VBIN", 1);
        camera->set("TESTCHART", 2);
        camera->set("POWER-STATUS", "12V normal");
        camera->set("PIXEL-DEPTH", 12);
        camera->set("BAUDRATE", 115200);
        camera->set("BAUDRATE-TMP", 57600);
        camera->set("BAUDRATE-SAVE", 921600);
    }

    void openPage()
    {
        page = open<CTovaneGeneralPage>();
        camera->forgetLines();
    }

    QLineEdit* edit(const char* name) { return findNamed<QLineEdit>(page.get(), QString::fromLatin1(name)); }
    QComboBox* list(const char* name) { return findNamed<QComboBox>(page.get(), QString::fromLatin1(name)); }
    QAbstractButton* button(const char* text) { return findButton(page.get(), QString::fromLatin1(text)); }

    std::unique_ptr<Page> page;
};

TEST_F(TovaneGeneralPageTest, OpeningReadsEveryValueInItsFixedOrderAndSendsNoSetting)
{
    page = open<CTovaneGeneralPage>();
    EXPECT_EQ(sent(), kLoadOrder);
}

TEST_F(TovaneGeneralPageTest, RefreshReadsEverythingAgain)
{
    openPage();
    button("Refresh")->click();
    EXPECT_EQ(sent(), kLoadOrder);
}

TEST_F(TovaneGeneralPageTest, ShowsWhatTheCameraAnswered)
{
    openPage();
    QWidget* p = page.get();

    EXPECT_EQ(findLabel(p, "Vendor")->text(), QStringLiteral("Vendor=PTM"));
    EXPECT_EQ(findLabel(p, "Model")->text(), QStringLiteral("Model=PTM-TW640"));
    EXPECT_EQ(findLabel(p, "ID=")->text(), QStringLiteral("ID=0012345"));
    EXPECT_EQ(findLabel(p, "Version")->text(), QStringLiteral("Version=1.02"));
    EXPECT_NE(findLabel(p, "2021-04 line 3"), nullptr);
    EXPECT_EQ(edit("UserDefinedName")->text(), QStringLiteral("inspection A"));
    EXPECT_EQ(findLabel(p, "Width")->text(), QStringLiteral("Width = 640"));
    EXPECT_EQ(findLabel(p, "Height")->text(), QStringLiteral("Height = 512"));
    EXPECT_EQ(edit("OffsetX")->text(), QStringLiteral("16"));
    EXPECT_EQ(edit("OffsetY")->text(), QStringLiteral("-8"));
    EXPECT_TRUE(button("ImageReverseX")->isChecked());
    EXPECT_FALSE(button("ImageReverseY")->isChecked());
    EXPECT_TRUE(button("65MHz")->isChecked());
    EXPECT_EQ(list("CameraLink Taps(1/2/3/4/8/10)")->currentText(), QStringLiteral("2"));
    EXPECT_EQ(edit("Frame Rate")->text(), QStringLiteral("29.970000"));
    EXPECT_TRUE(edit("Frame Rate")->isEnabled());
    EXPECT_EQ(edit("Actucal Frame rate")->text(), QStringLiteral("0.000000"));
    EXPECT_FALSE(button("FRATE-AUTO")->isChecked());
    EXPECT_NE(findLabel(p, "45 degC"), nullptr);
    EXPECT_EQ(list("Userset Default")->currentText(), QStringLiteral("3"));
    EXPECT_TRUE(button("H Binning")->isChecked());
    EXPECT_FALSE(button("V Binning")->isChecked());
    EXPECT_TRUE(button("ColorBar")->isChecked());
    EXPECT_NE(findLabel(p, "12V normal"), nullptr);
    EXPECT_EQ(list("PixelDepth")->currentText(), QStringLiteral("12"));
    EXPECT_EQ(list("Normal(Need reboot)")->currentText(), QStringLiteral("115200"));
    EXPECT_EQ(list("Temporarily(immediate)")->currentText(), QStringLiteral("57600"));
    EXPECT_EQ(list("Expanded(Need reboot)")->currentIndex(), 8);
}

TEST_F(TovaneGeneralPageTest, OnlyTheNormalBaudRateAndNoDefectControlsAreVisible)
{
    openPage();
    page->show();
    EXPECT_TRUE(list("Normal(Need reboot)")->isVisible());
    EXPECT_FALSE(list("Temporarily(immediate)")->isVisible());
    EXPECT_FALSE(list("Expanded(Need reboot)")->isVisible());
    for (const char* hidden : {"Temporarily(immediate)", "Expanded(Need reboot)", "Read CCF file again adter reboot.",
                               "Defect Threshold", "Defect Ratio"})
        EXPECT_FALSE(findLabel(page.get(), hidden)->isVisible()) << hidden;
    EXPECT_FALSE(button("Check WhitePixel")->isVisible());
    EXPECT_FALSE(button("Check BlackPixel")->isVisible());
}

TEST_F(TovaneGeneralPageTest, FailedReadsShowTheQueryFailureValues)
{
    camera->refused << "VENDOR" << "WIDTH" << "HBIN" << "VBIN";
    camera->raw["HEIGHT"] = "HEIGHX\r512\rOK\r";
    camera->set("TESTCHART", 3);
    camera->set("BASE-CLOCK", 7);
    camera->set("PIXEL-DEPTH", 10);
    openPage();
    QWidget* p = page.get();

    EXPECT_EQ(findLabel(p, "Vendor")->text(), QStringLiteral("Vendor="));
    EXPECT_EQ(findLabel(p, "Width")->text(), QStringLiteral("Width = 0"));
    EXPECT_EQ(findLabel(p, "Height")->text(), QStringLiteral("Height = -1"));
    // A camera without binning shows both boxes greyed.
    EXPECT_FALSE(button("H Binning")->isEnabled());
    EXPECT_FALSE(button("V Binning")->isEnabled());
    for (const char* chart : {"OFF", "Grayscale", "ColorBar"})
        EXPECT_FALSE(button(chart)->isChecked()) << chart;
    EXPECT_TRUE(button("85MHz")->isChecked());
    // An unknown depth leaves the list as it was.
    EXPECT_EQ(list("PixelDepth")->currentText(), QStringLiteral("8"));
}

TEST_F(TovaneGeneralPageTest, EnterSendsTheOffsetsAndTheFrameRate)
{
    openPage();
    typeAndEnter(edit("OffsetX"), QStringLiteral("-12"));
    typeAndEnter(edit("OffsetY"), QStringLiteral("40"));
    typeAndEnter(edit("Frame Rate"), QStringLiteral("29.97"));
    typeAndEnter(edit("Frame Rate"), QStringLiteral("0.5"));

    EXPECT_EQ(sent(), (QByteArrayList{"OFFSETX -12", "OFFSETY 40", "FRAMERATE 29970000", "FRAMERATE 500000"}));
}

TEST_F(TovaneGeneralPageTest, AFrameRateThatIsNotANumberOrTooLargeSendsNothing)
{
    openPage();
    typeAndEnter(edit("Frame Rate"), QStringLiteral("thirty"));
    typeAndEnter(edit("Frame Rate"), QStringLiteral("5000"));
    EXPECT_TRUE(sent().isEmpty());
}

TEST_F(TovaneGeneralPageTest, EnterInTheNameOrAnyOtherControlSendsNothing)
{
    openPage();
    typeAndEnter(edit("UserDefinedName"), QStringLiteral("new name"));
    pressKey(list("PixelDepth"), Qt::Key_Return);
    pressKey(button("Reboot"), Qt::Key_Return);
    EXPECT_TRUE(sent().isEmpty());
}

TEST_F(TovaneGeneralPageTest, FrameRateAutoSendsItsStateAndLocksTheRate)
{
    openPage();
    button("FRATE-AUTO")->click();
    EXPECT_FALSE(edit("Frame Rate")->isEnabled());
    button("FRATE-AUTO")->click();
    EXPECT_TRUE(edit("Frame Rate")->isEnabled());
    EXPECT_EQ(sent(), (QByteArrayList{"FRAMERATE-AUTO 1", "FRAMERATE-AUTO 0"}));
}

TEST_F(TovaneGeneralPageTest, EachControlSendsItsCommand)
{
    openPage();
    button("V Binning")->click();
    button("H Binning")->click();
    button("ImageReverseY")->click();
    choose(list("PixelDepth"), QStringLiteral("16"));
    button("Grayscale")->click();
    button("Grayscale")->click();
    button("OFF")->click();
    choose(list("CameraLink Taps(1/2/3/4/8/10)"), QStringLiteral("10"));
    choose(list("Userset selector"), QStringLiteral("Default"));
    button("Load")->click();
    choose(list("Userset selector"), QStringLiteral("5"));
    button("Save")->click();
    button("Reboot")->click();
    choose(list("Normal(Need reboot)"), QStringLiteral("115200"));

    EXPECT_EQ(sent(), (QByteArrayList{"VBIN 2", "HBIN 1", "REVERSEY 1", "PIXEL-DEPTH 16", "TESTCHART 1", "TESTCHART 1",
                                      "TESTCHART 0", "CAMERALINK-TAP 10", "USERSET-LOAD 0", "USERSET-SAVE 5", "RESET",
                                      "BAUDRATE 115200"}));
}

TEST_F(TovaneGeneralPageTest, DisplayOnlyControlsSendNothing)
{
    openPage();
    choose(list("Userset Default"), QStringLiteral("7"));
    button("45MHz")->click();
    typeAndEnter(edit("Actucal Frame rate"), QStringLiteral("3"));
    EXPECT_TRUE(sent().isEmpty());
}

} // namespace
