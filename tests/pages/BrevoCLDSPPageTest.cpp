// The Brevo "DSP" page against the simulated PTM-R560CL (colour) and
// PTM-R140ML (mono): the SHARP probe and the load order, the LUT with its
// builds, the colour matrix with its hue and saturation presets and the
// pixel-depth notice, the spatial filter, and the sharpness slider and
// up-down; on a scripted camera, single values refused. LutPagesTest.cpp
// has what both LUT pages share.

#include "CapturedMessages.h"
#include "PageTesting.h"
#include "SimPageTest.h"
#include "brevo/BrevoCLDSPPage.h"

#include <QGroupBox>
#include <QSignalSpy>
#include <QSpinBox>

namespace {

const QStringList kCells = {"00", "01", "02", "10", "11", "12", "20", "21", "22"};

QByteArrayList eachCell(const QByteArray& pattern)
{
    QByteArrayList lines;
    for (const QString& cell : kCells)
        lines << QByteArray(pattern).replace("%1", cell.toLatin1());
    return lines;
}

// The nine cells as sent, with the values in cell order.
QByteArrayList cellLines(const QByteArray& word, const QList<int>& values)
{
    QByteArrayList lines;
    for (int i = 0; i < kCells.size(); ++i)
        lines << word + ' ' + kCells.at(i).toLatin1() + ' ' + QByteArray::number(values.at(i));
    return lines;
}
QByteArrayList matrixLines(const QList<int>& values)
{
    QByteArrayList lines = cellLines("CR-TF-VAL", values);
    for (QByteArray& line : lines)
        line.insert(line.lastIndexOf(' '), ' '); // the word ends in a blank of its own
    return lines;
}

const QByteArrayList kPoints = {"LINEAR-INTERPOLATION 1", "LINEAR-INTERPOLATION 2", "LINEAR-INTERPOLATION 3",
                                "LINEAR-INTERPOLATION 4", "LINEAR-INTERPOLATION 5"};
const QByteArrayList kLoadStart = QByteArrayList{"SHARP", "LUT-FORMAT", "BINARIZATION"} + kPoints
                                  + QByteArrayList{"PIXEL-DEPTH"};
const QByteArrayList kMatrixReads = QByteArrayList{"CR-TF "} + eachCell("CR-TF-VAL %1 ");
const QByteArrayList kFilterReads = QByteArrayList{"SP-FL "} + eachCell("SP-FL-VAL %1");
const QByteArrayList kLoadEnd = {"SHARP", "HELP LIBR"};

const QStringList kFormats = {"Normal", "Reverse", "Binarize", "LinearInterpolation", "UserSetting"};

struct Controls {
    QWidget* page;
    QLineEdit* edit(const QString& name) const { return findNamed<QLineEdit>(page, name); }
    QSlider* slider(const QString& name) const { return findNamed<QSlider>(page, name + QStringLiteral(" slider")); }
    QAbstractButton* button(const QString& text) const { return findButton(page, text); }
    QSpinBox* sharpness() const { return findNamed<QSpinBox>(page, QStringLiteral("Sharpness")); }
    QLineEdit* point(int k, const char* axis) const
    {
        return edit(QStringLiteral("Point %1 %2").arg(k).arg(QLatin1String(axis)));
    }
    QLineEdit* matrix(int cell) const
    {
        static const char* const colours[] = {"R", "G", "B"};
        return edit(QStringLiteral("Color matrix %1 %2").arg(QLatin1String(colours[cell / 3]), QLatin1String(colours[cell % 3])));
    }
    QLineEdit* filter(int cell) const { return edit(QStringLiteral("Spatial filter %1 %2").arg(cell / 3).arg(cell % 3)); }
    QList<int> matrixValues() const
    {
        QList<int> values;
        for (int cell = 0; cell < 9; ++cell)
            values << matrix(cell)->text().toInt();
        return values;
    }
    QGroupBox* group(const QString& title) const
    {
        for (QGroupBox* box : page->findChildren<QGroupBox*>()) {
            if (box->title() == title)
                return box;
        }
        ADD_FAILURE() << "no group " << title.toStdString();
        return nullptr;
    }
    QStringList checkedFormats() const { return checkedButtons(page, kFormats); }
};

class BrevoCLDSPPage : public SimPageTest {
protected:
    BrevoCLDSPPage() { useModel(QStringLiteral("PTM-R560CL")); }

    void openPage()
    {
        page = open<CBrevoCLDSPPage>();
        ui.page = page.get();
        camera->clearRecord();
    }
    // A colour camera sending 24-bit RGB pixels: the matrix is live.
    void openRgbPage()
    {
        given("PIXEL-DEPTH 24");
        openPage();
    }

    CapturedMessages messages;
    std::unique_ptr<Page> page;
    Controls ui{nullptr};
};

TEST_F(BrevoCLDSPPage, OpeningProbesSharpnessThenReadsInItsFixedOrder)
{
    page = open<CBrevoCLDSPPage>();
    ui.page = page.get();
    EXPECT_EQ(sentSinceLastLook(), kLoadStart + kFilterReads + kLoadEnd);
    // At 8 bits the matrix is greyed out and not read.
    EXPECT_FALSE(ui.group("Color Matrix")->isEnabled());
    EXPECT_TRUE(ui.group("Spatial Filter")->isEnabled());

    // "Refresh" reads again without the probe; at 24 bits the matrix is read.
    given("PIXEL-DEPTH 24");
    ui.button("Refresh")->click();
    EXPECT_EQ(sent(), kLoadStart.mid(1) + kMatrixReads + kFilterReads + kLoadEnd);
    EXPECT_TRUE(ui.group("Color Matrix")->isEnabled());
}

TEST_F(BrevoCLDSPPage, ShowsWhatTheCameraReports)
{
    for (const char* line : {"LUT-FORMAT 3", "BINARIZATION 100", "LINEAR-INTERPOLATION 4 10 20", "PIXEL-DEPTH 24",
                             "CR-TF  1", "CR-TF-VAL 12  -40", "SP-FL  1", "SP-FL-VAL 01 -7", "SHARP 77"})
        given(line);
    openPage();
    EXPECT_EQ(ui.checkedFormats(), QStringList{"LinearInterpolation"});
    EXPECT_EQ(ui.edit("Threshold")->text(), "100");
    EXPECT_EQ(ui.point(4, "X")->text(), "10");
    EXPECT_EQ(ui.point(4, "Y")->text(), "20");
    EXPECT_TRUE(ui.group("Color Matrix")->isEnabled());
    EXPECT_TRUE(ui.button("Color Linear Matrix ")->isChecked());
    EXPECT_EQ(ui.matrixValues(), (QList<int>{256, 0, 0, 0, 256, -40, 0, 0, 256}));
    EXPECT_TRUE(ui.group("Spatial Filter")->isEnabled());
    EXPECT_TRUE(ui.button("Spatial Filter")->isChecked());
    EXPECT_EQ(ui.filter(1)->text(), "-7");
    EXPECT_EQ(ui.filter(4)->text(), "256");
    EXPECT_EQ(ui.slider("Sharpness")->value(), 77);
    EXPECT_EQ(ui.sharpness()->value(), 77);
    EXPECT_FALSE(ui.group("Sharpness")->isHidden());
    for (const char* build : {"Build", "BuildR", "BuildG", "BuildB"})
        EXPECT_FALSE(ui.button(build)->isHidden()) << build;
    // The sliders start where the presets are neutral.
    EXPECT_EQ(ui.slider("Hue")->value(), 0);
    EXPECT_EQ(ui.slider("Saturation")->minimum(), 85);
    EXPECT_EQ(ui.slider("Saturation")->value(), 256);
}

TEST_F(BrevoCLDSPPage, FormatsAreWrittenWithoutWaitingAndTheThresholdOnlyInRange)
{
    openPage();
    for (int format = 0; format < kFormats.size(); ++format) {
        const qint64 before = clock.nowUs();
        ui.button(kFormats.at(format))->click();
        EXPECT_EQ(clock.nowUs(), before) << format;
        settle();
        EXPECT_EQ(sentSinceLastLook(), QByteArrayList{"LUT-FORMAT " + QByteArray::number(format)});
    }
    typeAndEnter(ui.edit("Threshold"), "4095");
    EXPECT_EQ(sentSinceLastLook(), QByteArrayList{"BINARIZATION 4095"});
    for (const char* typed : {"4096", "-1", "", "abc", "99999999999"}) {
        typeAndEnter(ui.edit("Threshold"), QString::fromLatin1(typed));
        EXPECT_TRUE(sentSinceLastLook().isEmpty()) << typed;
        EXPECT_EQ(ui.edit("Threshold")->text(), QString::fromLatin1(typed));
    }
}

TEST_F(BrevoCLDSPPage, EachBuildSendsThePointsInRangeThenItsOwnWord)
{
    openPage();
    ui.point(3, "X")->setText("5000");
    ui.point(3, "Y")->setText("10");
    const QByteArrayList points = {"LINEAR-INTERPOLATION 1 0 0", "LINEAR-INTERPOLATION 2 1024 1024",
                                   "LINEAR-INTERPOLATION 4 3072 3072", "LINEAR-INTERPOLATION 5 4095 4095"};
    const QList<std::pair<const char*, QByteArray>> builds = {
        {"Build", "LINEAR-INTERPOLATION-BUILD"}, {"BuildR", "LIBR"}, {"BuildG", "LIBG"}, {"BuildB", "LIBB"}};
    for (const auto& [caption, word] : builds) {
        ui.button(caption)->click();
        EXPECT_EQ(sentSinceLastLook(), points + QByteArrayList{word}) << caption;
    }
}

TEST_F(BrevoCLDSPPage, HueFillsTheGridWhileDraggingAndSendsItOnRelease)
{
    openRgbPage();
    QSlider* hue = ui.slider("Hue");
    hue->setSliderDown(true);
    hue->setSliderPosition(20);
    hue->setSliderPosition(40);
    EXPECT_EQ(ui.matrixValues(), (QList<int>{256, 40, -40, -40, 256, 40, 40, -40, 256}));
    EXPECT_TRUE(sent().isEmpty());
    hue->setSliderDown(false);
    EXPECT_EQ(sent(), matrixLines({256, 40, -40, -40, 256, 40, 40, -40, 256}));
    EXPECT_EQ(reported("CR-TF-VAL 21 "), -40);
}

TEST_F(BrevoCLDSPPage, SaturationFillsTheDiagonalAndSharesTheRestOut)
{
    openRgbPage();
    drag(ui.slider("Saturation"), {85});
    EXPECT_EQ(sentSinceLastLook(), matrixLines({85, 85, 85, 85, 85, 85, 85, 85, 85}));
    drag(ui.slider("Saturation"), {1024});
    EXPECT_EQ(sentSinceLastLook(), matrixLines({1024, -384, -384, -384, 1024, -384, -384, -384, 1024}));
    // An odd value: (256 - 301) / 2 truncates toward zero.
    drag(ui.slider("Saturation"), {301});
    EXPECT_EQ(ui.matrixValues(), (QList<int>{301, -22, -22, -22, 301, -22, -22, -22, 301}));
}

TEST_F(BrevoCLDSPPage, ResetSendsTheIdentityAndSetSendsWhatTheGridHolds)
{
    openRgbPage();
    drag(ui.slider("Hue"), {100});
    drag(ui.slider("Saturation"), {400});
    camera->clearRecord();
    ui.button("Color Matrix Reset")->click();
    EXPECT_EQ(sentSinceLastLook(), matrixLines({256, 0, 0, 0, 256, 0, 0, 0, 256}));
    EXPECT_EQ(ui.slider("Hue")->value(), 0);
    EXPECT_EQ(ui.slider("Saturation")->value(), 256);

    // A cell holding no coefficient is left out.
    ui.matrix(1)->setText("12");
    ui.matrix(2)->setText("9000");
    ui.matrix(3)->setText("");
    ui.button("Color Matrix Set")->click();
    EXPECT_EQ(sent(), (QByteArrayList{"CR-TF-VAL 00  256", "CR-TF-VAL 01  12", "CR-TF-VAL 11  256", "CR-TF-VAL 12  0",
                                      "CR-TF-VAL 20  0", "CR-TF-VAL 21  0", "CR-TF-VAL 22  256"}));
    EXPECT_EQ(ui.matrix(2)->text(), "9000");
}

TEST_F(BrevoCLDSPPage, EnterInAMatrixCellSendsItWithTwoBlanksWhenInRange)
{
    openRgbPage();
    typeAndEnter(ui.matrix(1), "-8192");
    EXPECT_EQ(sentSinceLastLook(), QByteArrayList{"CR-TF-VAL 01  -8192"});
    for (const char* typed : {"8192", "-8193", "", "x"}) {
        typeAndEnter(ui.matrix(1), QString::fromLatin1(typed));
        EXPECT_TRUE(sentSinceLastLook().isEmpty()) << typed;
    }
}

TEST_F(BrevoCLDSPPage, TheMatrixSwitchNeedsTwentyFourBitPixels)
{
    openRgbPage();
    ui.button("Color Linear Matrix ")->click();
    EXPECT_EQ(sentSinceLastLook(), (QByteArrayList{"PIXEL-DEPTH", "CR-TF  1"}));
    EXPECT_TRUE(messages.texts.isEmpty());

    // The depth changed behind the page's back: switching off still goes
    // out, switching on shows the notice and sends nothing.
    given("PIXEL-DEPTH 8");
    ui.button("Color Linear Matrix ")->click();
    EXPECT_EQ(sentSinceLastLook(), QByteArrayList{"CR-TF  0"});
    ui.button("Color Linear Matrix ")->click();
    EXPECT_EQ(sent(), QByteArrayList{"PIXEL-DEPTH"});
    EXPECT_FALSE(ui.button("Color Linear Matrix ")->isChecked());
    EXPECT_EQ(messages.texts, QStringList{"This feature is available when the Pixel-Depth is 24(RGB format)."});
    EXPECT_EQ(reported("CR-TF "), 0);
}

TEST_F(BrevoCLDSPPage, TheSpatialFilterSwitchCellsSetAndReset)
{
    openPage();
    ui.button("Spatial Filter")->click();
    EXPECT_EQ(sentSinceLastLook(), QByteArrayList{"SP-FL  1"});
    typeAndEnter(ui.filter(5), "-3");
    EXPECT_EQ(sentSinceLastLook(), QByteArrayList{"SP-FL-VAL 12 -3"});
    typeAndEnter(ui.filter(5), "8192");
    EXPECT_TRUE(sentSinceLastLook().isEmpty());

    ui.filter(0)->setText("1");
    ui.filter(5)->setText("-3");
    ui.button("Spatial Filter Set")->click();
    EXPECT_EQ(sentSinceLastLook(), cellLines("SP-FL-VAL", {1, 0, 0, 0, 256, -3, 0, 0, 0}));
    ui.button("Spatial Filter Reset")->click();
    EXPECT_EQ(sent(), cellLines("SP-FL-VAL", {0, 0, 0, 0, 256, 0, 0, 0, 0}));
    EXPECT_EQ(ui.filter(0)->text(), "0");
    EXPECT_EQ(reported("SP-FL-VAL 12"), 0);
}

TEST_F(BrevoCLDSPPage, TheSharpnessSliderSendsOnPagingAndDraggingOnly)
{
    given("SHARP 10");
    openPage();
    QSlider* sharpness = ui.slider("Sharpness");
    pressKey(sharpness, Qt::Key_Right); // an arrow key: moves, sends nothing
    pressKey(sharpness, Qt::Key_PageUp);
    drag(sharpness, {40, 41});
    settle();
    EXPECT_EQ(sent(), (QByteArrayList{"SHARP 21", "SHARP 40", "SHARP 41"}));
    EXPECT_EQ(ui.sharpness()->value(), 41);
    EXPECT_EQ(reported("SHARP"), 41);
}

TEST_F(BrevoCLDSPPage, TheUpDownSendsItsStepAndWaitsForTheAcknowledgement)
{
    given("SHARP 254");
    openPage();
    ui.sharpness()->stepUp();
    EXPECT_EQ(sentSinceLastLook(), QByteArrayList{"SHARP 255"});
    EXPECT_EQ(ui.sharpness()->value(), 255);
    EXPECT_EQ(ui.slider("Sharpness")->value(), 255);
    EXPECT_EQ(connection.port()->bytesWaiting(), 0); // the answer was taken in

    // At either end a step sends nothing and moves nothing.
    ui.sharpness()->stepUp();
    pressKey(ui.sharpness(), Qt::Key_Up);
    EXPECT_TRUE(sentSinceLastLook().isEmpty());
    EXPECT_EQ(ui.sharpness()->value(), 255);
    drag(ui.slider("Sharpness"), {0});
    camera->clearRecord();
    ui.sharpness()->stepDown();
    EXPECT_TRUE(sent().isEmpty());
    EXPECT_EQ(reported("SHARP"), 0);
}

TEST_F(BrevoCLDSPPage, ACameraWithoutSharpnessGetsNoSharpnessControls)
{
    camera->refuseCommand("SHARP");
    openPage();
    EXPECT_TRUE(ui.group("Sharpness")->isHidden());
    EXPECT_FALSE(ui.group("Sharpness")->isEnabled());
}

// ---------------------------------------------------------------- mono model

class BrevoCLDSPPageMono : public BrevoCLDSPPage {
protected:
    BrevoCLDSPPageMono() { useModel(QStringLiteral("PTM-R140ML")); }
};

TEST_F(BrevoCLDSPPageMono, GreysOutMatrixAndFilterAndHidesTheColourBuildsWithoutWaiting)
{
    const qint64 start = clock.nowUs();
    page = open<CBrevoCLDSPPage>();
    ui.page = page.get();
    EXPECT_EQ(sent(), kLoadStart + QByteArrayList{"SP-FL "} + kLoadEnd);
    // One answer per refusal: no time-out anywhere.
    EXPECT_LT(clock.nowUs() - start, 500000);
    EXPECT_FALSE(ui.group("Color Matrix")->isEnabled());
    EXPECT_FALSE(ui.group("Spatial Filter")->isEnabled());
    EXPECT_FALSE(ui.button("Build")->isHidden());
    for (const char* build : {"BuildR", "BuildG", "BuildB"})
        EXPECT_TRUE(ui.button(build)->isHidden()) << build;
    EXPECT_FALSE(ui.group("Sharpness")->isHidden());

    // "Refresh" never brings them back.
    ui.button("Refresh")->click();
    EXPECT_TRUE(ui.button("BuildR")->isHidden());
}

// ---------------------------------------------------------------- refusals

// A camera sending 24-bit pixels that refuses 256 for the matrix's centre,
// which holds 300, and 11 for the sharpness, which is 10.
class BrevoCLDSPPageRefusals : public PageTest {
protected:
    BrevoCLDSPPageRefusals()
    {
        camera->set("PIXEL-DEPTH", 24);
        camera->set("CR-TF-VAL 11 ", 300);
        camera->set("SHARP", 10);
        camera->set("GET-LAST-ERROR", "Out of range");
        camera->raw["CR-TF-VAL 11  256"] = "CR-TF-VAL 11  256\rNG\r";
        camera->raw["SHARP 11"] = "SHARP 11\rNG\r";
        page = open<CBrevoCLDSPPage>();
        ui.page = page.get();
        camera->forgetLines();
    }

    std::unique_ptr<Page> page;
    Controls ui{nullptr};
    QSignalSpy refused{&sendPath, &SendPath::refused};
};

TEST_F(BrevoCLDSPPageRefusals, EveryWayOfSendingTheMatrixShowsARefusedCellAsTheCameraHoldsIt)
{
    const QList<std::pair<const char*, std::function<void()>>> ways = {
        {"Set", [this] { ui.matrix(4)->setText("256"); ui.button("Color Matrix Set")->click(); }},
        {"Reset", [this] { ui.button("Color Matrix Reset")->click(); }},
        {"Hue", [this] { drag(ui.slider("Hue"), {40}); }},
    };
    for (const auto& [way, send] : ways) {
        refused.clear();
        send();
        EXPECT_EQ(ui.matrix(4)->text(), "300") << way;
        ASSERT_EQ(refused.size(), 1) << way;
        EXPECT_EQ(refused.at(0), (QVariantList{QByteArray("CR-TF-VAL 11  256"), QString("Out of range")})) << way;
    }
}

TEST_F(BrevoCLDSPPageRefusals, TheUpDownWaitsItsTurnAndARefusedStepLeavesTheCameraValue)
{
    {
        Connection::BusyScope exchange(connection); // another exchange is running
        ui.sharpness()->stepUp();
        EXPECT_TRUE(sent().isEmpty());
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(sent(), (QByteArrayList{"SHARP 11", "GET-LAST-ERROR", "SHARP"}));
    EXPECT_EQ(ui.sharpness()->value(), 10);
    EXPECT_EQ(ui.slider("Sharpness")->value(), 10);
    EXPECT_EQ(refused.size(), 1);
}

} // namespace
