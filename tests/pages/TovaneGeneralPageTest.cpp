// The Tovane "General" page against a simulated PTM-TW640: what it reads and
// shows, and what each control sends. Answers no camera gives (a wrong echo,
// out-of-list values) come from a scripted camera at the end.

#include "PageTesting.h"
#include "SimPageTest.h"
#include "tovane/TovaneGeneralPage.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>

namespace {

const QByteArrayList kLoadOrder = {
    "VENDOR", "MODEL", "ID", "VERSION", "MANUFACTURER", "USER-ID", "WIDTH", "HEIGHT", "OFFSETX", "OFFSETY",
    "REVERSEX", "REVERSEY", "BASE-CLOCK", "CAMERALINK-TAP", "FRAMERATE", "FRAMERATE-ACTUAL", "FRAMERATE-AUTO",
    "TEMPERATURE", "USERSET-DEFAULT", "HBIN", "VBIN", "TESTCHART", "POWER-STATUS", "PIXEL-DEPTH", "BAUDRATE",
    "BAUDRATE-TMP", "BAUDRATE-SAVE"};

// Finding controls by what the user sees.
struct Controls {
    QWidget* page;
    QLineEdit* edit(const char* name) const { return findNamed<QLineEdit>(page, QString::fromLatin1(name)); }
    QComboBox* list(const char* name) const { return findNamed<QComboBox>(page, QString::fromLatin1(name)); }
    QAbstractButton* button(const char* text) const { return findButton(page, QString::fromLatin1(text)); }
    QLabel* label(const char* prefix) const { return findLabel(page, QString::fromLatin1(prefix)); }
};

bool shows(QWidget* page, const QRegularExpression& text)
{
    for (QLabel* label : page->findChildren<QLabel*>()) {
        if (text.match(label->text()).hasMatch())
            return true;
    }
    return false;
}

class TovaneGeneralPage : public SimPageTest {
protected:
    TovaneGeneralPage() { useModel(QStringLiteral("PTM-TW640")); }

    void openPage()
    {
        page = open<CTovaneGeneralPage>();
        ui.page = page.get();
        camera->clearRecord();
    }

    std::unique_ptr<Page> page;
    Controls ui{nullptr};
};

TEST_F(TovaneGeneralPage, OpeningReadsEveryValueInItsFixedOrderAndSendsNoSetting)
{
    page = open<CTovaneGeneralPage>();
    EXPECT_EQ(sent(), kLoadOrder);
}

TEST_F(TovaneGeneralPage, RefreshReadsEverythingAgain)
{
    openPage();
    ui.button("Refresh")->click();
    EXPECT_EQ(sent(), kLoadOrder);
}

TEST_F(TovaneGeneralPage, ShowsWhatTheCameraReports)
{
    given("USER-ID inspection");
    given("HBIN 2");
    given("HEIGHT 400");
    given("OFFSETY 8");
    given("REVERSEX 1");
    given("BASE-CLOCK 1");
    given("CAMERALINK-TAP 10");
    given("FRAMERATE 29970000");
    given("USERSET-DEFAULT 3");
    given("TESTCHART 2");
    given("PIXEL-DEPTH 12");
    given("BAUDRATE-SAVE 921600");
    const int width = reported("WIDTH");
    openPage();

    EXPECT_EQ(ui.label("Vendor")->text(), QStringLiteral("Vendor=PK Camera Simulation"));
    EXPECT_EQ(ui.label("Model")->text(), QStringLiteral("Model=PTM-TW640"));
    EXPECT_EQ(ui.label("ID=")->text(), QStringLiteral("ID=TW0640C1027"));
    EXPECT_EQ(ui.label("Version")->text(), QStringLiteral("Version=1.07.3"));
    EXPECT_NE(ui.label("Tovane VGA series, simulated"), nullptr);
    EXPECT_EQ(ui.edit("UserDefinedName")->text(), QStringLiteral("inspection"));
    EXPECT_EQ(ui.label("Width")->text(), QStringLiteral("Width = %1").arg(width));
    EXPECT_EQ(ui.label("Height")->text(), QStringLiteral("Height = 400"));
    EXPECT_EQ(ui.edit("OffsetX")->text(), QStringLiteral("0"));
    EXPECT_EQ(ui.edit("OffsetY")->text(), QStringLiteral("8"));
    EXPECT_TRUE(ui.button("ImageReverseX")->isChecked());
    EXPECT_FALSE(ui.button("ImageReverseY")->isChecked());
    EXPECT_TRUE(ui.button("65MHz")->isChecked());
    EXPECT_EQ(ui.list("CameraLink Taps(1/2/3/4/8/10)")->currentText(), QStringLiteral("10"));
    EXPECT_EQ(ui.edit("Frame Rate")->text(), QStringLiteral("29.970000"));
    EXPECT_TRUE(ui.edit("Frame Rate")->isEnabled());
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d+\\.\\d{6}$")).match(ui.edit("Actual Frame rate")->text()).hasMatch());
    EXPECT_FALSE(ui.button("FRATE-AUTO")->isChecked());
    EXPECT_TRUE(shows(page.get(), QRegularExpression(QStringLiteral("^(3[6-9]|4[0-4]) degC$")))); // warming up
    EXPECT_EQ(ui.list("Userset Default")->currentText(), QStringLiteral("3"));
    EXPECT_TRUE(ui.button("H Binning")->isEnabled());
    EXPECT_TRUE(ui.button("H Binning")->isChecked());
    EXPECT_FALSE(ui.button("V Binning")->isChecked());
    EXPECT_TRUE(ui.button("ColorBar")->isChecked());
    EXPECT_NE(ui.label("PoCL 12.0V Normal"), nullptr);
    EXPECT_EQ(ui.list("PixelDepth")->currentText(), QStringLiteral("12"));
    // The rate for the next start is not one the normal list offers: nothing is claimed.
    EXPECT_EQ(ui.list("Normal(Need reboot)")->currentIndex(), -1);
    EXPECT_EQ(ui.list("Temporarily(immediate)")->currentText(), QString::number(kRate));
    EXPECT_EQ(ui.list("Expanded(Need reboot)")->currentIndex(), 8);
}

TEST_F(TovaneGeneralPage, OnlyTheNormalBaudRateAndNoDefectControlsAreVisible)
{
    openPage();
    page->show();
    EXPECT_TRUE(ui.list("Normal(Need reboot)")->isVisible());
    EXPECT_FALSE(ui.list("Temporarily(immediate)")->isVisible());
    EXPECT_FALSE(ui.list("Expanded(Need reboot)")->isVisible());
    for (const char* hidden : {"Temporarily(immediate)", "Expanded(Need reboot)", "Read CCF file again after reboot.",
                               "Defect Threshold", "Defect Ratio"})
        EXPECT_FALSE(ui.label(hidden)->isVisible()) << hidden;
    EXPECT_FALSE(ui.button("Check WhitePixel")->isVisible());
    EXPECT_FALSE(ui.button("Check BlackPixel")->isVisible());
}

TEST_F(TovaneGeneralPage, ACameraWithoutBinningShowsBothBoxesGreyed)
{
    camera->refuseCommand(QStringLiteral("HBIN"));
    camera->refuseCommand(QStringLiteral("VBIN"));
    openPage();
    EXPECT_FALSE(ui.button("H Binning")->isEnabled());
    EXPECT_FALSE(ui.button("V Binning")->isEnabled());
}

TEST_F(TovaneGeneralPage, RefusedReadsShowAsNotRead)
{
    camera->refuseCommand(QStringLiteral("VENDOR"));
    camera->refuseCommand(QStringLiteral("WIDTH"));
    camera->refuseCommand(QStringLiteral("FRAMERATE-ACTUAL"));
    openPage();
    EXPECT_EQ(ui.label("Vendor")->text(), QStringLiteral("Vendor=not read"));
    EXPECT_EQ(ui.label("Width")->text(), QStringLiteral("Width = not read"));
    EXPECT_EQ(ui.edit("Actual Frame rate")->text(), QStringLiteral("not read"));
}

TEST_F(TovaneGeneralPage, EnterSendsTheOffsetsAndTheFrameRate)
{
    openPage();
    typeAndEnter(ui.edit("OffsetX"), QStringLiteral("-16"));
    typeAndEnter(ui.edit("OffsetY"), QStringLiteral("40"));
    typeAndEnter(ui.edit("Frame Rate"), QStringLiteral("29.97"));
    typeAndEnter(ui.edit("Frame Rate"), QStringLiteral("0.5"));

    // The full-sensor image leaves no room for either offset: the camera
    // refuses both, and the edits show what it kept.
    EXPECT_EQ(sent(), (QByteArrayList{"OFFSETX -16", "GET-LAST-ERROR", "OFFSETX", "OFFSETY 40", "GET-LAST-ERROR",
                                      "OFFSETY", "FRAMERATE 29970000", "FRAMERATE 500000"}));
    EXPECT_EQ(ui.edit("OffsetX")->text(), QStringLiteral("0"));
    EXPECT_EQ(ui.edit("OffsetY")->text(), QStringLiteral("0"));
    EXPECT_EQ(reported("FRAMERATE"), 500000);
}

TEST_F(TovaneGeneralPage, AFrameRateThatIsNotANumberOrTooLargeSendsNothing)
{
    openPage();
    typeAndEnter(ui.edit("Frame Rate"), QStringLiteral("thirty"));
    typeAndEnter(ui.edit("Frame Rate"), QStringLiteral("5000"));
    EXPECT_TRUE(sent().isEmpty());
}

TEST_F(TovaneGeneralPage, EnterInTheNameOrAnyOtherControlSendsNothing)
{
    openPage();
    // The values the page only shows cannot be typed into.
    EXPECT_TRUE(ui.edit("UserDefinedName")->isReadOnly());
    EXPECT_TRUE(ui.edit("Actual Frame rate")->isReadOnly());
    typeAndEnter(ui.edit("UserDefinedName"), QStringLiteral("new name"));
    typeAndEnter(ui.edit("Actual Frame rate"), QStringLiteral("3"));
    pressKey(ui.list("PixelDepth"), Qt::Key_Return);
    pressKey(ui.button("Reboot"), Qt::Key_Return);
    EXPECT_TRUE(sent().isEmpty());
}

TEST_F(TovaneGeneralPage, FrameRateAutoSendsItsStateAndLocksTheRate)
{
    openPage();
    ui.button("FRATE-AUTO")->click();
    EXPECT_FALSE(ui.edit("Frame Rate")->isEnabled());
    ui.button("FRATE-AUTO")->click();
    EXPECT_TRUE(ui.edit("Frame Rate")->isEnabled());
    EXPECT_EQ(sent(), (QByteArrayList{"FRAMERATE-AUTO 1", "FRAMERATE-AUTO 0"}));
}

TEST_F(TovaneGeneralPage, EachControlSendsItsCommand)
{
    openPage();
    ui.button("V Binning")->click();
    ui.button("ImageReverseY")->click();
    choose(ui.list("PixelDepth"), QStringLiteral("16"));
    ui.button("Grayscale")->click();
    ui.button("Grayscale")->click();
    ui.button("OFF")->click();
    choose(ui.list("CameraLink Taps(1/2/3/4/8/10)"), QStringLiteral("10"));
    choose(ui.list("Userset selector"), QStringLiteral("5"));
    ui.button("Save")->click();
    choose(ui.list("Userset selector"), QStringLiteral("Default"));
    ui.button("Load")->click();
    choose(ui.list("Normal(Need reboot)"), QStringLiteral("115200"));
    ui.button("Reboot")->click();

    EXPECT_EQ(sent(), (QByteArrayList{"VBIN 2", "REVERSEY 1", "PIXEL-DEPTH 16", "TESTCHART 1", "TESTCHART 1", "TESTCHART 0",
                                      "CAMERALINK-TAP 10", "USERSET-SAVE 5", "USERSET-LOAD 0", "BAUDRATE 115200",
                                      "RESET"}));
}

TEST_F(TovaneGeneralPage, NoUserSetIsLoadedOrSavedBeforeTheUserPicksOne)
{
    openPage();
    EXPECT_EQ(ui.list("Userset selector")->currentIndex(), -1);
    ui.button("Save")->click();
    ui.button("Load")->click();
    EXPECT_TRUE(sent().isEmpty());
}

TEST_F(TovaneGeneralPage, DisplayOnlyControlsSendNothingAndGoBackToTheCamerasValue)
{
    given("USERSET-DEFAULT 3");
    given("BASE-CLOCK 1");
    openPage();
    choose(ui.list("Userset Default"), QStringLiteral("7"));
    ui.button("45MHz")->click();
    EXPECT_TRUE(sent().isEmpty());
    EXPECT_EQ(ui.list("Userset Default")->currentText(), QStringLiteral("3"));
    EXPECT_TRUE(ui.button("65MHz")->isChecked());
}

// The refusal of a line sent by a button or by a control with a hook of its
// own is reported with the camera's reason, and the page shows the camera's
// value again.
struct RefusalCase {
    const char* name;
    const char* refusedWord; // refused in every use, reads included; null for none
    std::function<void(const Controls&)> act;
    QByteArrayList sent;
    QByteArray reported;
    std::function<void(const Controls&)> expectShown;
};

void PrintTo(const RefusalCase& value, std::ostream* out)
{
    *out << value.name;
}

class TovaneGeneralPageRefusals : public TovaneGeneralPage, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(TovaneGeneralPageRefusals, AreReportedAndTheCamerasValueShown)
{
    if (GetParam().refusedWord)
        camera->refuseCommand(QString::fromLatin1(GetParam().refusedWord));
    openPage();
    QByteArrayList reported;
    QObject::connect(&sendPath, &SendPath::refused, [&](const QByteArray& line, const QString& reason) {
        reported << line + ": " + reason.toLatin1();
    });
    GetParam().act(ui);
    EXPECT_EQ(sent(), GetParam().sent);
    EXPECT_EQ(reported, QByteArrayList{GetParam().reported});
    GetParam().expectShown(ui);
}

INSTANTIATE_TEST_SUITE_P(
    Handlers, TovaneGeneralPageRefusals,
    ::testing::Values(
        RefusalCase{"SaveToTheDefaultSet", nullptr,
                    [](const Controls& ui) {
                        choose(ui.list("Userset selector"), QStringLiteral("Default"));
                        ui.button("Save")->click();
                    },
                    {"USERSET-SAVE 0", "GET-LAST-ERROR"}, "USERSET-SAVE 0: Out of range",
                    [](const Controls& ui) { EXPECT_EQ(ui.list("Userset selector")->currentIndex(), 0); }},
        // The camera does not say whether the rate is automatic: the rate
        // stays the user's to type.
        RefusalCase{"FrameRateAuto", "FRAMERATE-AUTO", [](const Controls& ui) { ui.button("FRATE-AUTO")->click(); },
                    {"FRAMERATE-AUTO 1", "GET-LAST-ERROR", "FRAMERATE-AUTO"}, "FRAMERATE-AUTO 1: Refused",
                    [](const Controls& ui) {
                        EXPECT_EQ(static_cast<QCheckBox*>(ui.button("FRATE-AUTO"))->checkState(), Qt::PartiallyChecked);
                        EXPECT_TRUE(ui.edit("Frame Rate")->isEnabled());
                    }}));

TEST_F(TovaneGeneralPage, AFileOfSettingsHoldsTheCamerasValuesBinningFirstAndNothingOnlyShown)
{
    given("VBIN 2");
    given("FRAMERATE 29970000");
    given("BAUDRATE 115200");
    Catalogue catalogue(connection, {}, QStringLiteral("Tovane"),
                        {::pageSettings<TovaneGeneralSettings>(QStringLiteral("General"))});
    catalogue.load();

    QByteArrayList lines;
    for (const SettingLine& line : catalogue.settingLines())
        lines << line.line;
    // No identity, size, clock, temperature or serial speed: the page only
    // shows them, or applying them would cut the link.
    EXPECT_EQ(lines, (QByteArrayList{"HBIN 1", "VBIN 2", "OFFSETX 0", "OFFSETY 0", "REVERSEX 0", "REVERSEY 0",
                                     "CAMERALINK-TAP 2", "FRAMERATE 29970000", "FRAMERATE-AUTO 0", "TESTCHART 0",
                                     "PIXEL-DEPTH 8"}));
}

// Answers a camera gives only when something is wrong on the line or in its
// firmware: a wrong echo or terminal line, values outside its lists.
class TovaneGeneralPageOddAnswers : public PageTest {
protected:
    std::unique_ptr<Page> page;
};

TEST_F(TovaneGeneralPageOddAnswers, AreShownAsNotReadOrAsTheNearestTheListsHold)
{
    camera->raw["HEIGHT"] = "HEIGHX\r512\rOK\r";
    camera->raw["FRAMERATE"] = "FRAMERATE\r1\rNG\r";
    camera->set("TESTCHART", 3);
    camera->set("BASE-CLOCK", 7);
    camera->set("PIXEL-DEPTH", 10);
    camera->set("USERSET-DEFAULT", 17);
    page = open<CTovaneGeneralPage>();
    const Controls ui{page.get()};

    EXPECT_EQ(ui.label("Height")->text(), QStringLiteral("Height = not read"));
    EXPECT_EQ(ui.edit("Frame Rate")->text(), QString());
    EXPECT_EQ(ui.edit("Frame Rate")->placeholderText(), QStringLiteral("not read"));
    for (const char* chart : {"OFF", "Grayscale", "ColorBar"})
        EXPECT_FALSE(ui.button(chart)->isChecked()) << chart;
    EXPECT_TRUE(ui.button("85MHz")->isChecked());
    EXPECT_EQ(ui.list("PixelDepth")->currentIndex(), -1); // 10 is not in the list
    EXPECT_EQ(ui.list("Userset Default")->currentIndex(), -1);
}

} // namespace
