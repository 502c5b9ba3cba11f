// The Tovane "Defect" page on virtual time: the correction read at opening,
// the detection settings of each section, detection runs counted on their
// button to the camera's end and to the limit, the detected numbers, the
// correction and defect-data buttons, and refusals. A scripted camera gives
// exact poll answers and counts.

#include "PageTesting.h"
#include "SimPageTest.h"
#include "tovane/TovaneDefectPage.h"

#include <QCheckBox>
#include <QPushButton>

namespace {

QByteArrayList polls(int count)
{
    return QByteArrayList(count, "DEFECT-DETECTION");
}

// The controls of one detection section, found by their names.
struct Section {
    QWidget* page;
    QString title;
    QAbstractButton* button(const QString& name) const { return findNamed<QAbstractButton>(page, title + ' ' + name); }
    QLineEdit* edit(const QString& name) const { return findNamed<QLineEdit>(page, title + ' ' + name); }
    QAbstractButton* settings() const { return button(QStringLiteral("Exposure, Gain, Threshold")); }
    QAbstractButton* start() const { return button(QStringLiteral("Start Detection")); }
    QAbstractButton* detectedNumber() const { return button(QStringLiteral("DetectedNumber")); }
    // The result text: the label beside the DetectedNumber button in the section's box.
    QLabel* result() const
    {
        for (QLabel* label : detectedNumber()->parentWidget()->findChildren<QLabel*>())
            return label;
        return nullptr;
    }
    void type(const char* exposure, const char* gain, const char* threshold) const
    {
        edit(QStringLiteral("Exposure"))->setText(QString::fromLatin1(exposure));
        edit(QStringLiteral("Gain"))->setText(QString::fromLatin1(gain));
        edit(QStringLiteral("Threshold"))->setText(QString::fromLatin1(threshold));
    }
};

class TovaneDefectPage : public SimPageTest {
protected:
    TovaneDefectPage() { useModel(QStringLiteral("PTM-TW640M")); }

    void openPage()
    {
        page = open<CTovaneDefectPage>();
        white = {page.get(), QStringLiteral("White Pixel")};
        black = {page.get(), QStringLiteral("Black Pixel")};
        camera->clearRecord();
    }

    QAbstractButton* button(const char* text) const { return findButton(page.get(), QString::fromLatin1(text)); }
    // Collects "<line> / <reason>" for each refusal the send path reports.
    void watchRefusals()
    {
        QObject::connect(&sendPath, &SendPath::refused, [this](const QByteArray& line, const QString& reason) {
            refusals << QString::fromLatin1(line) + QStringLiteral(" / ") + reason;
        });
    }
    QStringList refusals;

    std::unique_ptr<Page> page;
    Section white{nullptr, {}};
    Section black{nullptr, {}};
};

TEST_F(TovaneDefectPage, OpeningReadsOnlyTheCorrectionWhichBothBoxesShowAndTheEditsStartEmpty)
{
    page = open<CTovaneDefectPage>();
    white = {page.get(), QStringLiteral("White Pixel")};
    black = {page.get(), QStringLiteral("Black Pixel")};
    EXPECT_EQ(sent(), QByteArrayList{"DEFECT-CORRECTION"});
    EXPECT_TRUE(button("Check")->isChecked());
    EXPECT_TRUE(button("Correction")->isChecked());
    for (const Section& section : {white, black}) {
        for (const char* edit : {"Exposure", "Gain", "Threshold"})
            EXPECT_TRUE(section.edit(QString::fromLatin1(edit))->text().isEmpty());
        EXPECT_EQ(section.result()->text(), QStringLiteral("Defect Detection Result"));
    }
}

TEST_F(TovaneDefectPage, EachSectionSendsItsOwnExposureGainAndThreshold)
{
    openPage();
    white.type("200000", "120", "64");
    black.type("1000", "-5", "+16");
    white.settings()->click();
    black.settings()->click();
    EXPECT_EQ(sent(), (QByteArrayList{"EXP 200000", "GAIN-FINE 120", "DEFECT-THRESHOLD 64", "EXP 1000", "GAIN-FINE -5",
                                      "DEFECT-THRESHOLD 16"}));
    EXPECT_EQ(reported("DEFECT-THRESHOLD"), 16);
}

TEST_F(TovaneDefectPage, SettingsWithATypingErrorSendNothingAndKeepTheText)
{
    openPage();
    QString why;
    QObject::connect(&sendPath, &SendPath::inputRejected, [&](const QString& text) { why = text; });
    for (const char* bad : {"", "abc", "12x", "1.5", "99999999999"}) {
        why.clear();
        white.type("1000", bad, "64");
        white.settings()->click();
        EXPECT_TRUE(sentSinceLastLook().isEmpty()) << bad;
        EXPECT_EQ(white.edit(QStringLiteral("Gain"))->text(), QString::fromLatin1(bad));
        EXPECT_TRUE(why.startsWith(QStringLiteral("White Pixel Gain: "))) << why.toStdString();
    }
}

TEST_F(TovaneDefectPage, EnterInAnyEditSendsNothing)
{
    openPage();
    for (const Section& section : {white, black}) {
        for (const char* edit : {"Exposure", "Gain", "Threshold"})
            typeAndEnter(section.edit(QString::fromLatin1(edit)), QStringLiteral("12"));
    }
    EXPECT_TRUE(sent().isEmpty());
}

TEST_F(TovaneDefectPage, ARunCountsOnItsButtonUntilTheCameraIsDoneAndTheNumberIsReadOnRequest)
{
    openPage();
    white.type("200000", "240", "80");
    white.settings()->click();
    camera->clearRecord();
    QStringList captions;
    {
        EventsDuringPauses events;
        events.onRun = [&] {
            if (captions.isEmpty() || captions.last() != white.start()->text())
                captions << white.start()->text();
        };
        white.start()->click();
    }
    // The camera takes 5 s: busy at four polls, done at the fifth.
    EXPECT_EQ(captions, (QStringList{"Start Detection 0", "Start Detection 1", "Start Detection 2", "Start Detection 3",
                                     "Start Detection 4"}));
    EXPECT_EQ(sent(), QByteArrayList{"DEFECT-DETECTION 1"} + polls(5));
    EXPECT_EQ(white.start()->text(), QStringLiteral("Start Detection"));
    EXPECT_TRUE(white.start()->isEnabled());
    EXPECT_EQ(white.result()->text(), QStringLiteral("Defect Detection Result")); // not read by itself

    camera->clearRecord();
    white.detectedNumber()->click();
    EXPECT_EQ(sent(), QByteArrayList{"DEFECT-DETECTION-RESULT"});
    EXPECT_EQ(white.result()->text(), QStringLiteral("WhitePixel %1").arg(reported("DEFECT-DETECTION-RESULT")));
    EXPECT_EQ(black.result()->text(), QStringLiteral("Defect Detection Result"));
}

TEST_F(TovaneDefectPage, ARunThatNeverEndsGivesUpAfterSixtyPollsAndSaysSoInItsSection)
{
    camera->setDetectionsNeverFinish(true);
    openPage();
    black.start()->click();
    EXPECT_EQ(sent(), QByteArrayList{"DEFECT-DETECTION 2"} + polls(CTovaneDefectPage::kMaxPolls));
    EXPECT_EQ(black.start()->text(), QStringLiteral("Start Detection"));
    EXPECT_TRUE(black.start()->isEnabled());
    EXPECT_EQ(findNamed<QLabel>(page.get(), QStringLiteral("Black Pixel Detection progress"))->text(),
              QStringLiteral("%1 within %2 polls; gave up").arg(LongOperation::notFinishedText()).arg(CTovaneDefectPage::kMaxPolls));
    EXPECT_EQ(findNamed<QLabel>(page.get(), QStringLiteral("White Pixel Detection progress"))->text(), QString());

    // Asking for the number of a run the camera never finished fails.
    black.detectedNumber()->click();
    EXPECT_EQ(black.result()->text(), QStringLiteral("Detection failed"));
}

TEST_F(TovaneDefectPage, CorrectionAndDefectDataButtonsSendTheirCommands)
{
    given("DEFECT-DETECTION 1");
    clock.sleepMs(6000);
    reported("DEFECT-DETECTION");
    openPage();
    struct Case {
        const char* control;
        QByteArrayList lines;
    };
    // The camera has the correction on; both boxes show it, so each click
    // switches it over.
    const QList<Case> cases = {
        {"Check", {"DEFECT-CORRECTION 0", "DEFECT-PATTERN-LOAD 2"}},
        {"Correction", {"DEFECT-CORRECTION 1"}},
        {"Load Factory Data", {"DEFECT-PATTERN-LOAD 0"}},
        {"Load User Data", {"DEFECT-PATTERN-LOAD 1"}},
        {"WriteUserData", {"DEFECT-PATTERN-SAVE"}},
    };
    for (const Case& c : cases) {
        button(c.control)->click();
        EXPECT_EQ(sentSinceLastLook(), c.lines) << c.control;
    }
    EXPECT_TRUE(button("Check")->isChecked());
    EXPECT_EQ(reported("DEFECT-CORRECTION"), 1);
}

TEST_F(TovaneDefectPage, ARefusedSettingOfASectionIsReportedAndItsEditShowsTheCamerasValue)
{
    openPage();
    watchRefusals();
    white.type("0", "120", "5000");
    black.type("1000", "-5", "16");
    white.settings()->click();
    EXPECT_EQ(sent(), (QByteArrayList{"EXP 0", "GET-LAST-ERROR", "EXP", "GAIN-FINE 120", "DEFECT-THRESHOLD 5000",
                                      "GET-LAST-ERROR", "DEFECT-THRESHOLD"}));
    EXPECT_EQ(refusals, (QStringList{"EXP 0 / Out of range", "DEFECT-THRESHOLD 5000 / Out of range"}));
    EXPECT_EQ(white.edit(QStringLiteral("Exposure"))->text(), QString::number(reported("EXP")));
    EXPECT_EQ(white.edit(QStringLiteral("Gain"))->text(), QStringLiteral("120"));
    EXPECT_EQ(white.edit(QStringLiteral("Threshold"))->text(), QStringLiteral("100"));
    EXPECT_EQ(black.edit(QStringLiteral("Exposure"))->text(), QStringLiteral("1000"));
}

TEST_F(TovaneDefectPage, RefusedCommandsAreReportedAndARefusedStartPollsNothing)
{
    openPage();
    watchRefusals();
    button("WriteUserData")->click(); // nothing detected yet
    EXPECT_TRUE(button("WriteUserData")->isEnabled());

    // The black start goes out between two polls of the white run, while
    // the camera is busy with it.
    EventsDuringPauses events;
    events.onRun = [&] {
        if (sent().count("DEFECT-DETECTION") == 2 && !sent().contains("DEFECT-DETECTION 2"))
            black.start()->click();
    };
    white.start()->click();
    EXPECT_EQ(refusals, (QStringList{"DEFECT-PATTERN-SAVE / No detection result", "DEFECT-DETECTION 2 / Busy"}));
    EXPECT_EQ(sent().count("DEFECT-DETECTION"), 5); // the white run's polls alone
    EXPECT_EQ(black.start()->text(), QStringLiteral("Start Detection"));
    EXPECT_TRUE(black.start()->isEnabled());
}

TEST_F(TovaneDefectPage, DestroyingThePageDuringARunEndsItAtOnce)
{
    openPage();
    EventsDuringPauses events;
    events.onRun = [&] {
        if (sent().size() == 3)
            page.reset();
    };
    findNamed<QAbstractButton>(page.get(), QStringLiteral("White Pixel Start Detection"))->click();
    EXPECT_EQ(page, nullptr);
    EXPECT_EQ(sent(), QByteArrayList{"DEFECT-DETECTION 1"} + polls(2));
}

class TovaneDefectScripted : public PageTest {
protected:
    TovaneDefectScripted()
    {
        page = open<CTovaneDefectPage>();
        white = {page.get(), QStringLiteral("White Pixel")};
        camera->forgetLines();
    }
    std::unique_ptr<Page> page;
    Section white{nullptr, {}};
};

TEST_F(TovaneDefectScripted, ARunDoneAtTheThirdPollShowsStartDetection2ForOneSecond)
{
    int pollsMade = 0;
    camera->onLine = [&](const QByteArray& line) {
        if (line == "DEFECT-DETECTION")
            camera->set("DEFECT-DETECTION", ++pollsMade < 3 ? 1 : 0);
    };
    qint64 shownAt = -1;
    qint64 restoredAt = -1;
    EventsDuringPauses events;
    events.onRun = [&] {
        if (white.start()->text() == "Start Detection 2" && shownAt < 0)
            shownAt = clock.nowUs();
    };
    white.start()->click();
    restoredAt = clock.nowUs();
    EXPECT_EQ(white.start()->text(), QStringLiteral("Start Detection"));
    EXPECT_EQ(sent(), QByteArrayList{"DEFECT-DETECTION 1"} + polls(3));
    ASSERT_GE(shownAt, 0);
    EXPECT_GE(restoredAt - shownAt, 1000000);
    EXPECT_LT(restoredAt - shownAt, 1100000);
}

TEST_F(TovaneDefectScripted, TheDetectedNumberShowsACountOrThatTheDetectionFailed)
{
    struct Case {
        const char* answer; // null: the camera refuses
        const char* shown;
    };
    for (const Case& c : {Case{"12", "WhitePixel 12"}, Case{"0", "WhitePixel 0"}, Case{"-1", "Detection failed"},
                          Case{"-7", "Detection failed"}, Case{nullptr, "Detection failed"}}) {
        camera->refused.clear();
        if (c.answer)
            camera->set("DEFECT-DETECTION-RESULT", QByteArray(c.answer));
        else
            camera->refused.insert("DEFECT-DETECTION-RESULT");
        white.detectedNumber()->click();
        EXPECT_EQ(white.result()->text(), QString::fromLatin1(c.shown)) << (c.answer ? c.answer : "refused");
    }
}

} // namespace
