// The Brevo "Gain" page against simulated Brevo cameras: the load order in
// common and individual mode for every tap count, what sliders and edits
// write and show, the decibel read-outs, the white-balance sequences and the
// poll of the automatic controls.

#include "PageTesting.h"
#include "SimPageTest.h"
#include "brevo/BrevoCLGainPage.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>

namespace {

const QByteArrayList kAutomaticControls = {"AGC-LEVEL", "AGC", "AWB", "BL-AB"};

QByteArrayList commonLoad()
{
    return kAutomaticControls + QByteArrayList{"GAIN-FINE", "BLACKLEVEL", "RGAIN-FINE", "GGAIN-FINE", "BGAIN-FINE"};
}

QByteArrayList tapReads(int tap)
{
    const QByteArray n = QByteArray::number(tap);
    return {"GAIN-FINE-TAP" + n, "BL-ADJ-" + n, "RGAIN-FINE-TAP" + n, "GGAIN-FINE-TAP" + n, "BGAIN-FINE-TAP" + n};
}

QByteArrayList individualLoad(int taps)
{
    QByteArrayList lines = kAutomaticControls;
    for (int tap = 1; tap <= taps; ++tap)
        lines += tapReads(tap);
    return lines;
}

// A row of a tap group, found by what the user sees: group 1 carries the
// row's caption, the others "<caption> tap<n>".
struct Row {
    QSlider* slider;
    QLineEdit* edit;
    QLabel* decibels; // null on the black-level rows
};

struct Controls {
    QWidget* page;

    Row row(const char* caption, int tap = 1) const
    {
        static const char* const groups[] = {"", "", "Right/tap2 ", "tap3 ", "tap4 "};
        const QString name = QString::fromLatin1(groups[tap > 1 ? tap : 0]) + QString::fromLatin1(caption);
        QLabel* decibels = nullptr;
        if (qstrcmp(caption, "BlackLevel") != 0)
            decibels = findNamed<QLabel>(page, name + QStringLiteral(" dB"));
        return {findNamed<QSlider>(page, name + QStringLiteral(" slider")), findNamed<QLineEdit>(page, name), decibels};
    }
    QComboBox* list(const char* name) const { return findNamed<QComboBox>(page, QString::fromLatin1(name)); }
    QSlider* targetLevel() const { return findNamed<QSlider>(page, QStringLiteral("Target Level")); }
    QAbstractButton* individual() const { return findButton(page, QStringLiteral("Individual Control")); }
    QAbstractButton* refresh() const { return findButton(page, QStringLiteral("Refresh")); }
    QGroupBox* group(int index) const { return page->findChildren<QGroupBox*>().at(index); }
};

class BrevoCLGainPage : public SimPageTest {
protected:
    BrevoCLGainPage() { useModel(QStringLiteral("PTM-R560CL")); }

    void openPage(int taps = 4)
    {
        page = open<CBrevoCLGainPage>(taps);
        ui.page = page.get();
        camera->clearRecord();
    }

    // Switches to one control per tap and forgets the reload it causes.
    void goIndividual()
    {
        ui.individual()->click();
        camera->clearRecord();
    }

    std::unique_ptr<Page> page;
    Controls ui{nullptr};
};

TEST_F(BrevoCLGainPage, OpeningReadsTheCommonValuesInTheirFixedOrderAndSendsNoSetting)
{
    page = open<CBrevoCLGainPage>(4);
    EXPECT_EQ(sent(), commonLoad());
}

TEST_F(BrevoCLGainPage, RefreshReadsEverythingAgain)
{
    openPage();
    ui.refresh()->click();
    EXPECT_EQ(sent(), commonLoad());
}

TEST_F(BrevoCLGainPage, IndividualModeReadsTheTapsTheSensorHas)
{
    struct Case {
        const char* model;
        int taps;
        int groupsRead;
    };
    for (const Case& c : {Case{"PTM-R560CL", 4, 4}, Case{"PTM-R290CL", 2, 2}, Case{"PTM-R560CL", 1, 1},
                          Case{"PTM-R560CL", 3, 0}, Case{"PTM-R560CL", 0, 0}}) {
        SCOPED_TRACE(c.taps);
        useModel(QString::fromLatin1(c.model));
        openPage(c.taps);
        ui.individual()->click();
        EXPECT_EQ(sent(), individualLoad(c.groupsRead));
        // Every group is on show, read or not.
        for (int group = 0; group < 4; ++group)
            EXPECT_TRUE(ui.group(group)->isVisibleTo(page.get())) << group;
        EXPECT_EQ(ui.group(0)->title(), QStringLiteral("Left/tap1"));
    }
}

TEST_F(BrevoCLGainPage, CommonModeShowsOnlyTheFirstGroup)
{
    openPage();
    EXPECT_EQ(ui.group(0)->title(), QStringLiteral("Common/tap1"));
    for (int group = 1; group < 4; ++group)
        EXPECT_FALSE(ui.group(group)->isVisibleTo(page.get())) << group;

    goIndividual();
    ui.individual()->click();
    EXPECT_EQ(sent(), commonLoad());
    EXPECT_EQ(ui.group(0)->title(), QStringLiteral("Common"));
    for (int group = 1; group < 4; ++group)
        EXPECT_FALSE(ui.group(group)->isVisibleTo(page.get())) << group;

    // Back in common mode the first group writes the common words again.
    camera->clearRecord();
    typeAndEnter(ui.row("GGain-fine").edit, QStringLiteral("700"));
    drag(ui.row("BlackLevel").slider, {70});
    settle();
    EXPECT_EQ(sent(), (QByteArrayList{"GGAIN-FINE 700", "BLACKLEVEL 70", "BLACKLEVEL 70"}));
}

TEST_F(BrevoCLGainPage, TheTapSwitchIsOfferedUnlessTheSensorHasOneTap)
{
    for (int taps : {1, 2, 4, 0, 3}) {
        openPage(taps);
        EXPECT_EQ(ui.individual()->isVisibleTo(page.get()), taps != 1) << taps;
    }
}

TEST_F(BrevoCLGainPage, ShowsTheCommonValuesWithTheirDecibels)
{
    given("GAIN-FINE 502");
    given("BLACKLEVEL 900");
    given("RGAIN-FINE 512");
    given("GGAIN-FINE 256");
    given("BGAIN-FINE 4095");
    given("AGC-LEVEL 16000");
    given("AGC 0");
    openPage();

    const Row gain = ui.row("Gain-fine");
    EXPECT_EQ(gain.slider->value(), 502);
    EXPECT_EQ(gain.edit->text(), QStringLiteral("502"));
    EXPECT_EQ(gain.decibels->text(), QStringLiteral("18.02dB"));
    EXPECT_EQ(ui.row("BlackLevel").slider->value(), 900);
    EXPECT_EQ(ui.row("BlackLevel").edit->text(), QStringLiteral("900"));
    EXPECT_EQ(ui.row("RGain-fine").decibels->text(), QStringLiteral("6.02dB"));
    EXPECT_EQ(ui.row("GGain-fine").decibels->text(), QStringLiteral("0.00dB"));
    EXPECT_EQ(ui.row("BGain-fine").decibels->text(), QStringLiteral("24.08dB"));
    EXPECT_EQ(ui.row("BGain-fine").slider->value(), 4095);
    EXPECT_EQ(ui.targetLevel()->value(), 16000);
    EXPECT_EQ(ui.targetLevel()->maximum(), 16393);
    EXPECT_EQ(ui.list("Auto Gain Control")->currentText(), QStringLiteral("0:OFF"));
    EXPECT_TRUE(ui.list("Auto White Balance")->isEnabled());
    EXPECT_TRUE(ui.list("Black Level Auto Balance")->isEnabled());
}

TEST_F(BrevoCLGainPage, SliderRangesFollowTheMode)
{
    openPage();
    EXPECT_EQ(ui.row("Gain-fine").slider->minimum(), 0);
    EXPECT_EQ(ui.row("Gain-fine").slider->maximum(), 502);
    for (const char* colour : {"RGain-fine", "GGain-fine", "BGain-fine"}) {
        EXPECT_EQ(ui.row(colour, 3).slider->minimum(), 256) << colour;
        EXPECT_EQ(ui.row(colour, 3).slider->maximum(), 4095) << colour;
    }
    EXPECT_EQ(ui.row("BlackLevel").slider->minimum(), 0);
    EXPECT_EQ(ui.row("BlackLevel").slider->maximum(), 1023);

    goIndividual();
    for (int tap = 1; tap <= 4; ++tap) {
        EXPECT_EQ(ui.row("BlackLevel", tap).slider->minimum(), -128) << tap;
        EXPECT_EQ(ui.row("BlackLevel", tap).slider->maximum(), 127) << tap;
    }
}

TEST_F(BrevoCLGainPage, IndividualModeShowsEachTapsOwnValues)
{
    given("GAIN-FINE 100");
    given("GAIN-FINE-TAP3 250");
    given("BL-ADJ-2 -5");
    given("RGAIN-FINE-TAP4 512");
    openPage();
    goIndividual();

    EXPECT_EQ(ui.row("Gain-fine", 1).edit->text(), QStringLiteral("100"));
    EXPECT_EQ(ui.row("Gain-fine", 3).edit->text(), QStringLiteral("250"));
    EXPECT_EQ(ui.row("Gain-fine", 3).decibels->text(), QStringLiteral("8.97dB"));
    EXPECT_EQ(ui.row("BlackLevel", 2).slider->value(), -5);
    EXPECT_EQ(ui.row("BlackLevel", 2).edit->text(), QStringLiteral("-5"));
    EXPECT_EQ(ui.row("RGain-fine", 4).decibels->text(), QStringLiteral("6.02dB"));
}

TEST_F(BrevoCLGainPage, GroupsThatAreNotReadKeepWhatTheyShowed)
{
    openPage(2);
    goIndividual();
    ui.row("Gain-fine", 3).edit->setText(QStringLiteral("typed"));
    ui.refresh()->click();
    EXPECT_EQ(sent(), individualLoad(2));
    EXPECT_EQ(ui.row("Gain-fine", 3).edit->text(), QStringLiteral("typed"));
}

TEST_F(BrevoCLGainPage, AContinuousBlackLevelBalanceLocksTheTapBlackLevels)
{
    given("BL-AB 2");
    openPage();
    EXPECT_TRUE(ui.row("BlackLevel").slider->isEnabled()); // common mode leaves it alone
    goIndividual();
    for (int tap = 1; tap <= 4; ++tap)
        EXPECT_FALSE(ui.row("BlackLevel", tap).slider->isEnabled()) << tap;

    given("BL-AB 1");
    ui.refresh()->click();
    for (int tap = 1; tap <= 4; ++tap)
        EXPECT_TRUE(ui.row("BlackLevel", tap).slider->isEnabled()) << tap;
}

TEST_F(BrevoCLGainPage, DraggingInCommonModeWritesEveryPositionAndTheReleaseOnceMore)
{
    openPage();
    const Row gain = ui.row("Gain-fine");
    const qint64 start = clock.nowUs();

    drag(gain.slider, {20, 60, 100});

    EXPECT_EQ(clock.nowUs(), start); // nothing waits for the camera
    EXPECT_EQ(gain.edit->text(), QStringLiteral("100"));
    EXPECT_EQ(gain.decibels->text(), QStringLiteral("3.59dB"));
    settle();
    EXPECT_EQ(sent(), (QByteArrayList{"GAIN-FINE 20", "GAIN-FINE 60", "GAIN-FINE 100", "GAIN-FINE 100"}));
    EXPECT_EQ(reported("GAIN-FINE"), 100);
}

TEST_F(BrevoCLGainPage, ALongDragReachesTheCameraWholeAndInOrder)
{
    connection.port()->setLineSettings(9600);
    camera->setListeningRate(9600);
    openPage();
    const Row red = ui.row("RGain-fine");
    red.slider->setSliderDown(true);
    QByteArrayList expected;
    for (int position = 300; position <= 4000; position += 37) {
        red.slider->setSliderPosition(position);
        expected << "RGAIN-FINE " + QByteArray::number(position);
    }
    red.slider->setSliderDown(false);
    expected << expected.last();

    // The next exchange takes its own answer, not one of the drag's.
    EXPECT_EQ(QueryInt(connection, "RGAIN-FINE"), red.slider->value());
    expected << "RGAIN-FINE";
    EXPECT_EQ(sent(), expected);
}

TEST_F(BrevoCLGainPage, KeysAndClicksOnASliderWriteToo)
{
    openPage();
    goIndividual();
    const Row black = ui.row("BlackLevel", 2);
    black.slider->setValue(0);
    pressKey(black.slider, Qt::Key_Right);
    pressKey(black.slider, Qt::Key_PageUp);
    pressKey(black.slider, Qt::Key_End);
    settle();
    // Each key's step and the end of each gesture.
    EXPECT_EQ(sent(), (QByteArrayList{"BL-ADJ-2 1", "BL-ADJ-2 1", "BL-ADJ-2 11", "BL-ADJ-2 11", "BL-ADJ-2 127",
                                      "BL-ADJ-2 127"}));
    EXPECT_EQ(black.edit->text(), QStringLiteral("127"));
}

TEST_F(BrevoCLGainPage, EnterInARowWritesTheValueAndMovesTheSlider)
{
    openPage();
    goIndividual();
    const Row red = ui.row("RGain-fine");
    const qint64 start = clock.nowUs();

    typeAndEnter(red.edit, QStringLiteral("512"));

    EXPECT_EQ(clock.nowUs(), start);
    EXPECT_EQ(red.slider->value(), 512);
    EXPECT_EQ(red.decibels->text(), QStringLiteral("6.02dB"));
    settle();
    EXPECT_EQ(sent(), QByteArrayList{"RGAIN-FINE-TAP1 512"});
}

TEST_F(BrevoCLGainPage, TypedValuesAreSentAsTheyAreAndTheReadOutShowsOnlyFiniteDecibels)
{
    openPage();
    const Row blue = ui.row("BGain-fine");
    typeAndEnter(blue.edit, QStringLiteral("1024"));
    EXPECT_EQ(blue.decibels->text(), QStringLiteral("12.04dB"));
    typeAndEnter(blue.edit, QStringLiteral("0"));
    typeAndEnter(blue.edit, QStringLiteral("-7"));
    typeAndEnter(blue.edit, QStringLiteral("x")); // not a number: nothing goes out
    EXPECT_EQ(blue.decibels->text(), QStringLiteral("12.04dB"));
    EXPECT_EQ(blue.slider->value(), 256); // clamped
    EXPECT_EQ(blue.edit->text(), QStringLiteral("x"));
    typeAndEnter(ui.row("Gain-fine").edit, QStringLiteral("-3"));
    EXPECT_EQ(ui.row("Gain-fine").decibels->text(), QStringLiteral("-0.11dB"));
    typeAndEnter(ui.row("BlackLevel").edit, QStringLiteral("1000"));
    settle();
    EXPECT_EQ(sent(), (QByteArrayList{"BGAIN-FINE 1024", "BGAIN-FINE 0", "BGAIN-FINE -7", "GAIN-FINE -3",
                                      "BLACKLEVEL 1000"}));
}

TEST_F(BrevoCLGainPage, EachGroupWritesItsOwnTapWords)
{
    openPage();
    goIndividual();
    const char* rows[] = {"Gain-fine", "BlackLevel", "RGain-fine", "GGain-fine", "BGain-fine"};
    QByteArrayList expected;
    for (int tap = 1; tap <= 4; ++tap) {
        const QByteArrayList words = tapReads(tap);
        for (int r = 0; r < 5; ++r) {
            typeAndEnter(ui.row(rows[r], tap).edit, QStringLiteral("300"));
            expected << words.at(r) + " 300";
        }
    }
    settle();
    EXPECT_EQ(sent(), expected);
}

TEST_F(BrevoCLGainPage, TheTargetLevelWritesEveryNotification)
{
    openPage();
    drag(ui.targetLevel(), {9000, 16393});
    settle();
    EXPECT_EQ(sent(), (QByteArrayList{"AGC-LEVEL 9000", "AGC-LEVEL 16393", "AGC-LEVEL 16393"}));
}

TEST_F(BrevoCLGainPage, AutoGainAndBlackLevelBalanceWriteTheirIndex)
{
    openPage();
    page->show();
    page->polling()->stop();
    choose(ui.list("Black Level Auto Balance"), 1);
    EXPECT_FALSE(page->polling()->isActive());
    choose(ui.list("Auto Gain Control"), 2);
    EXPECT_TRUE(page->polling()->isActive());
    settle();
    EXPECT_EQ(sent(), (QByteArrayList{"BL-AB 1", "AGC 2"}));
}

TEST_F(BrevoCLGainPage, WhiteBalanceOffAndOnceSwitchTriggeringOffAndOnceStartsThePoll)
{
    openPage();
    page->show();
    page->polling()->stop();

    choose(ui.list("Auto White Balance"), 0);
    EXPECT_EQ(sentSinceLastLook(), (QByteArrayList{"AWB 0", "TRG-MODE 0"}));
    EXPECT_FALSE(page->polling()->isActive());

    choose(ui.list("Auto White Balance"), 1);
    EXPECT_EQ(sentSinceLastLook(), (QByteArrayList{"AWB 1", "TRG-MODE 0"}));
    EXPECT_TRUE(page->polling()->isActive());
}

TEST_F(BrevoCLGainPage, WhiteBalanceByApplicationTriggersOneFrameBySoftware)
{
    openPage();
    page->show();
    page->polling()->stop();
    qint64 triggerModeAt = 0;
    qint64 softTriggerAt = 0;
    camera->setLineObserver([&](qint64 atUs, const QByteArray& line) {
        if (line == "TRG-MODE 1")
            triggerModeAt = atUs;
        if (line == "TRG-SOFT 1")
            softTriggerAt = atUs;
    });

    choose(ui.list("Auto White Balance"), 3);

    EXPECT_EQ(sent(), (QByteArrayList{"AWB 0", "TRG-SRC 0", "TRG-MODE 1", "TRG-SOFT 1"}));
    EXPECT_GE(softTriggerAt - triggerModeAt, 100000);
    EXPECT_FALSE(page->polling()->isActive());
    EXPECT_EQ(reported("TRG-MODE"), 1);
}

TEST_F(BrevoCLGainPage, ATickFollowsTheAutomaticResultsAndTheLastOneStopsThePoll)
{
    given("AGC 1"); // once: the camera goes back to 0 when it is done
    given("AWB 1");
    openPage();
    EXPECT_FALSE(page->polling()->isActive());
    page->show();
    EXPECT_TRUE(page->polling()->isActive());
    clock.sleepMs(4000);

    page->polling()->tick();

    EXPECT_EQ(sent(), (QByteArrayList{"GAIN-FINE-TAP1", "RGAIN-FINE-TAP1", "BGAIN-FINE-TAP1", "AWB", "AGC"}));
    EXPECT_EQ(ui.row("Gain-fine").edit->text(), QStringLiteral("251"));
    EXPECT_EQ(ui.row("Gain-fine").slider->value(), 251);
    EXPECT_EQ(ui.row("Gain-fine").decibels->text(), QStringLiteral("9.01dB"));
    EXPECT_EQ(ui.row("RGain-fine").edit->text(), QStringLiteral("424"));
    EXPECT_EQ(ui.row("RGain-fine").decibels->text(), QStringLiteral("4.38dB"));
    EXPECT_EQ(ui.row("BGain-fine").slider->value(), 531);
    EXPECT_EQ(ui.row("BGain-fine").decibels->text(), QStringLiteral("6.34dB"));
    EXPECT_EQ(ui.list("Auto White Balance")->currentText(), QStringLiteral("0:OFF"));
    EXPECT_EQ(ui.list("Auto Gain Control")->currentText(), QStringLiteral("0:OFF"));
    EXPECT_FALSE(page->polling()->isActive());
}

TEST_F(BrevoCLGainPage, ThePollKeepsRunningWhileAControlIsContinuousAndStopsWhenHidden)
{
    given("AGC 2");
    openPage();
    page->show();
    clock.sleepMs(2000);

    page->polling()->tick();

    EXPECT_EQ(sent(), (QByteArrayList{"GAIN-FINE-TAP1", "AWB", "AGC"}));
    EXPECT_EQ(ui.list("Auto Gain Control")->currentText(), QStringLiteral("2:Continuous"));
    EXPECT_TRUE(page->polling()->isActive());
    page->hide();
    EXPECT_FALSE(page->polling()->isActive());
}

TEST_F(BrevoCLGainPage, ThePollUsesTheFirstTapsWordsInIndividualModeToo)
{
    given("AWB 2");
    openPage();
    goIndividual();
    page->show();
    page->polling()->tick();
    EXPECT_EQ(sent(), (QByteArrayList{"RGAIN-FINE-TAP1", "BGAIN-FINE-TAP1", "AWB", "AGC"}));
}

TEST_F(BrevoCLGainPage, ThePollStopsAtTheFirstTickWhenNothingRuns)
{
    openPage();
    page->show();
    page->polling()->tick();
    EXPECT_EQ(sent(), (QByteArrayList{"AWB", "AGC"}));
    EXPECT_FALSE(page->polling()->isActive());

    page->hide();
    page->show(); // showing the tab again starts it again
    EXPECT_TRUE(page->polling()->isActive());
}

TEST_F(BrevoCLGainPage, TheMonoModelHasNoColourNoBalancesAndNoTapSwitch)
{
    useModel(QStringLiteral("PTM-R140ML"));
    page = open<CBrevoCLGainPage>(1);
    ui.page = page.get();

    EXPECT_EQ(sent(), commonLoad());
    EXPECT_FALSE(ui.individual()->isVisibleTo(page.get()));
    EXPECT_FALSE(ui.list("Auto White Balance")->isEnabled());
    EXPECT_FALSE(ui.list("Black Level Auto Balance")->isEnabled());
    for (const char* colour : {"RGain-fine", "GGain-fine", "BGain-fine"}) {
        const Row row = ui.row(colour);
        EXPECT_FALSE(row.slider->isEnabled()) << colour;
        EXPECT_EQ(row.edit->text(), QStringLiteral("N/A")) << colour;
        EXPECT_EQ(row.decibels->text(), QStringLiteral("N/A")) << colour;
    }
    EXPECT_TRUE(ui.row("Gain-fine").slider->isEnabled());
    EXPECT_TRUE(ui.list("Auto Gain Control")->isEnabled());
}

TEST_F(BrevoCLGainPage, FilesKeepTheValuesOfTheModeShown)
{
    given("GAIN-FINE 100"); // every tap follows
    given("GAIN-FINE-TAP3 321");
    openPage();
    const auto fileLines = [this] {
        QByteArrayList lines;
        for (const Setting* setting : pageSettings.back()->settingsInReadOrder()) {
            if (const std::optional<QByteArray> line = setting->fileLine())
                lines << *line;
        }
        return lines;
    };
    struct Expected {
        bool individual;
        QByteArrayList kept;
        QByteArrayList left;
    };
    // The tap values read before stay known, but files leave them out in common mode.
    for (const Expected& mode : {Expected{false, {"GAIN-FINE 100"}, {"GAIN-FINE-TAP1 100"}},
                                 Expected{true, {"GAIN-FINE-TAP1 100", "GAIN-FINE-TAP3 321"}, {"GAIN-FINE 100"}},
                                 Expected{false, {"GAIN-FINE 100"}, {"GAIN-FINE-TAP3 321"}}}) {
        if (ui.individual()->isChecked() != mode.individual)
            ui.individual()->click();
        const QByteArrayList lines = fileLines();
        for (const QByteArray& line : mode.kept)
            EXPECT_TRUE(lines.contains(line)) << mode.individual << ' ' << line.constData();
        for (const QByteArray& line : mode.left)
            EXPECT_FALSE(lines.contains(line)) << mode.individual << ' ' << line.constData();
    }
}

TEST_F(BrevoCLGainPage, AColourGainTheCameraConfirmsAgainIsEnabledAgain)
{
    openPage();
    camera->refuseCommand(QStringLiteral("GGAIN-FINE"));
    ui.refresh()->click();
    EXPECT_FALSE(ui.row("GGain-fine").slider->isEnabled());
    EXPECT_EQ(ui.row("GGain-fine").edit->text(), QStringLiteral("N/A"));

    camera->allowCommand(QStringLiteral("GGAIN-FINE"));
    ui.refresh()->click();
    EXPECT_TRUE(ui.row("GGain-fine").slider->isEnabled());
    EXPECT_EQ(ui.row("GGain-fine").edit->text(), QStringLiteral("256"));
    EXPECT_EQ(ui.row("GGain-fine").decibels->text(), QStringLiteral("0.00dB"));
}

// The white-balance sequences on a camera that refuses one of their lines:
// the sequence stops there, the list shows the camera's mode again and the
// refusal is reported.
struct WhiteBalanceRefusal {
    int choice;
    const char* refused;
    QByteArrayList lines;
};

void PrintTo(const WhiteBalanceRefusal& c, std::ostream* out)
{
    *out << c.choice << " refused " << c.refused;
}

class BrevoCLGainPageRefusals : public PageTest, public ::testing::WithParamInterface<WhiteBalanceRefusal> {};

TEST_P(BrevoCLGainPageRefusals, StopTheWhiteBalanceSequenceAndShowTheCamerasMode)
{
    const WhiteBalanceRefusal& c = GetParam();
    camera->set("AWB", 2);
    camera->set("GET-LAST-ERROR", "Busy");
    camera->raw[c.refused] = QByteArray(c.refused) + "\rNG\r";
    auto page = open<CBrevoCLGainPage>(4);
    page->show();
    page->polling()->stop();
    QStringList refusals;
    QObject::connect(&sendPath, &SendPath::refused, [&](const QByteArray& line, const QString& reason) {
        refusals << QString::fromLatin1(line) + ": " + reason;
    });
    camera->forgetLines();

    choose(findNamed<QComboBox>(page.get(), QStringLiteral("Auto White Balance")), c.choice);

    EXPECT_EQ(sent(), c.lines);
    EXPECT_EQ(refusals, QStringList{QString::fromLatin1(c.refused) + ": Busy"});
    EXPECT_EQ(findNamed<QComboBox>(page.get(), QStringLiteral("Auto White Balance"))->currentIndex(),
              camera->values.value("AWB").toInt());
    EXPECT_FALSE(page->polling()->isActive());
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, BrevoCLGainPageRefusals,
    ::testing::Values(WhiteBalanceRefusal{1, "AWB 1", {"AWB 1", "GET-LAST-ERROR", "AWB"}},
                      WhiteBalanceRefusal{3, "AWB 0", {"AWB 0", "GET-LAST-ERROR", "AWB"}},
                      WhiteBalanceRefusal{3, "TRG-MODE 1",
                                          {"AWB 0", "TRG-SRC 0", "TRG-MODE 1", "GET-LAST-ERROR", "TRG-MODE"}},
                      WhiteBalanceRefusal{3, "TRG-SOFT 1",
                                          {"AWB 0", "TRG-SRC 0", "TRG-MODE 1", "TRG-SOFT 1", "GET-LAST-ERROR"}}),
    [](const auto& info) { return std::to_string(info.index); });

} // namespace
