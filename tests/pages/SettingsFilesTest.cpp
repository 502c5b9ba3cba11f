// Settings files from whole panels on simulated cameras: a file saved from a
// camera and applied to a camera at factory defaults gives it the saved
// settings; a refusal, a cancel, another model's file and bad files.

#include "CapturedMessages.h"
#include "Clock.h"
#include "CommandWords.h"
#include "CompareDialog.h"
#include "CtlRunner.h"
#include "Catalogue.h"
#include "Connection.h"
#include "ControlPanelBrevo.h"
#include "ControlPanelTovane.h"
#include "Link.h"
#include "Models.h"
#include "PageTesting.h"
#include "SettingsFile.h"
#include "SettingsTransfer.h"
#include "SendPath.h"
#include "SimulatedCamera.h"
#include "SimulatedCameras.h"
#include "SimulatedPort.h"
#include "brevo/BrevoPages.h"
#include "tovane/TovanePages.h"

#include "QtPrinters.h"

#include <QAbstractButton>
#include <QBuffer>
#include <QFile>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr qint32 kRate = 115200;

// Settings changed away from the factory's on every page, for each family
// and what its models have.
const QByteArrayList kBrevoChanges = {
    "HEIGHT 900", "OFFSETY 100",
    // Shown as 1.001000 fps: read back exactly, not truncated.
    "FRAMERATE 1001000", "USER-ID line-7", "USERSET-DEFAULT 2", "LED-MODE 3", "TESTCHART 1", "CAMERALINK-TAP 1",
    "VSUB-EXTERNAL-MODE 1", "VSUB-EXTERNAL 80", "EXP 25000", "EXP-MODE 1", "TRG-MODE 1", "TRG-SRC 101", "TRG-POL 1",
    "TRG-DLY 300", "TRG-INH 1", "TRG-SHIFT 1", "TRG-CTRL 1", "TRIGGER-RANGE 1", "TRIGGER-RANGE-LOWERLIMIT 50",
    "TRIGGER-RANGE-UPPERLIMIT 900000", "SP-TRG-MODE 2", "SP-TRG-SRC 7", "SP-TRG-POL 1", "SP-TRG-F-CNT 5",
    "GAIN-FINE 200", "BLACKLEVEL 100", "AGC-LEVEL 9000", "LUT-FORMAT 3", "BINARIZATION 1000",
    "LINEAR-INTERPOLATION 2 1000 1500", "SHARP 40", "GPO-SRC 6 3", "GPO-INV 9 1", "USER-OUTPUT 2 1",
    "STROBE-TIME 4 250", "STROBE-DELAY 6 75", "PULSE-CYCLE 2000", "PULSE-DUTY 700", "AGC-WIDTH 1024",
    "AGC-OFFSETX 100", "AGC-FRAME-HIGHLIGHT 1", "AE-UPPER 50000", "AE-LOWER 200", "AGC-SPEED 200", "AE-SPEED 20",
    "AGC-UPPER 400", "AGC-LOWER 10", "SHADING-CORRECTION 1"};
const QByteArrayList kBrevoPinDirectionChanges = {"GPIO-MODE 7 1", "GPO-SRC 7 5"};
const QByteArrayList kBrevoMonoChanges = {"WIDTH 1000", "OFFSETX 200"};
// Binning halves the width and offset; the saved ones are those after it.
const QByteArrayList kBrevoColourChanges = {
    "HBIN 2",         "WIDTH 720",      "OFFSETX 200",    "PIXEL-DEPTH 24",        "CR-TF 1",
    "CR-TF-VAL 01 12", "RGAIN-FINE 512", "GGAIN-FINE 300", "BGAIN-FINE 700",        "SP-FL 1",
    "SP-FL-VAL 11 300", "AWB-HEIGHT 300", "AWB-OFFSETY 40", "AWB-FRAME-HIGHLIGHT 1"};
const QByteArrayList kTovaneChanges = {
    "HBIN 2", "REVERSEX 1", "REVERSEY 1", "PIXEL-DEPTH 12", "CAMERALINK-TAP 4", "TESTCHART 2", "FRAMERATE 1001000",
    "FRAMERATE-AUTO 1", "EXP 20000", "EXP-MODE 1", "AE-SPEED 30", "AGC-SPEED 40", "TRG-DLY 250", "GAIN-FINE 55",
    "BLACKLEVEL 30", "AGC-LEVEL 90", "TRG-MODE 1", "TRG-SRC 4", "TRG-POL 1", "TRG-INH 1", "TRIGGER-RANGE 1",
    "TRIGGER-RANGE-LOWERLIMIT 20", "AGC-UPPER 20", "AGC-LOWER -3", "AE-UPPER 500000", "AE-LOWER 50",
    "SP-TRG-MODE 1", "SP-TRG-SRC 2", "SP-TRG-F-CNT 9", "SP-TRG-POL 1", "AGC-WIDTH 200", "AGC-HEIGHT 100",
    "AGC-OFFSETX 20", "AGC-OFFSETY 30", "SP-FL 1", "SP-FL-VAL 00 -5", "SP-FL-VAL 22 7",
    "LUT-FORMAT 5", "BINARIZATION 300", "LINEAR-INTERPOLATION 4 3000 2000", "WIDE-LUT 3 10000", "GPO-SRC 9 12",
    "GPO-INV 6 1", "USER-OUTPUT 3 1", "STROBE-DELAY 9 60", "PULSE-CYCLE 3000", "PULSE-DUTY 1500", "GPIO-MODE 7 1",
    "AVERAGE 4", "FRM-OP-TAP 2", "AREA-GAIN 3 1 100 80 10 20 15", "AREA-GAIN-ENABLE 1", "AREA-EXPOSURE 0 1 64 48 8 8",
    "AREA-EXPOSURE-ENABLE 1", "AREA-EXPOSURE-TIME 7000", "MULTI-ROI 2 1 160 120 0 0", "MULTI-ROI-ENABLE 1",
    "MULTI-ROI-AREA-HIGHLIGHT 1"};
const QByteArrayList kTovaneColourChanges = {"RGAIN-FINE 400", "GGAIN-FINE 300", "BGAIN-FINE 500",
                                             "AWB-FRAME-HIGHLIGHT 1", "AWB-WIDTH 200", "AWB-OFFSETX 40"};

// Words of colour settings, which a mono camera's file never holds.
const QByteArrayList kColourWords = {"RGAIN", "GGAIN", "BGAIN", "AWB", "CR-TF"};

struct Model {
    const char* name;
    QByteArrayList changes;
    bool colour;
};

void PrintTo(const Model& model, std::ostream* out)
{
    *out << model.name;
}

const Model kModels[] = {
    {"PTM-R560CL", kBrevoChanges + kBrevoPinDirectionChanges + kBrevoColourChanges, true},
    {"PTM-R290CL", kBrevoChanges + kBrevoPinDirectionChanges + kBrevoColourChanges, true},
    {"PTM-R140ML", kBrevoChanges + kBrevoPinDirectionChanges + kBrevoMonoChanges, false},
    {"PTM-R140MLF", kBrevoChanges + kBrevoMonoChanges, false},
    {"PTM-TW640", kTovaneChanges + kTovaneColourChanges, true},
    {"PTM-TW640M", kTovaneChanges, false},
};

bool isBrevo(const QString& model)
{
    return sim::modelInfo(model).family == sim::Family::Brevo;
}

// The progress view of a test: what it was shown, and a Cancel pressed once
// that many lines have gone out.
struct ProgressLog {
    QByteArrayList shown;
    int cancelAfter = -1;
};

class LoggedProgress : public ApplyProgressView {
public:
    explicit LoggedProgress(ProgressLog& log) : m_log(log) {}
    void showLine(int, int, const QByteArray& line) override { m_log.shown << line; }
    bool cancelRequested() override { return m_log.cancelAfter >= 0 && m_log.shown.size() >= m_log.cancelAfter; }

private:
    ProgressLog& m_log;
};

// One simulated camera on its own connection, with its panel.
struct Station {
    explicit Station(VirtualClock& clock) : connection(clock) {}

    void attach(const QString& model)
    {
        camera = std::make_shared<SimulatedCamera>(model);
        camera->setListeningRate(kRate);
        auto port = std::make_unique<SimulatedPort>(camera, connection.clock());
        port->setLineSettings(kRate);
        connection.attach(std::move(port));
    }

    void openPanel(const QString& model)
    {
        if (isBrevo(model))
            panel = std::make_unique<CControlPanelPTM_Brevo>(sendPath, model, QueryInt(connection, cmd::SENSOR_TAP),
                                                             brevoPages());
        else
            panel = std::make_unique<CControlPanelTovane>(sendPath, model, 1, tovanePages());
        SettingsTransfer& transfer = panel->settingsTransfer();
        transfer.setProgressView([this](QWidget*, int) { return std::make_unique<LoggedProgress>(progress); });
        transfer.setQuestion([this](QWidget*, const QString& text) {
            questions << text;
            return answer;
        });
    }

    void given(const QByteArrayList& lines)
    {
        for (const QByteArray& line : lines)
            EXPECT_EQ(TransactOutcome(connection, line, 5.0), SetOutcome::Accepted) << line.constData();
        camera->clearRecord();
    }

    // What the camera reports for each key, by the key's own query.
    QMap<QByteArray, QByteArray> stateOf(const QByteArrayList& keys)
    {
        QMap<QByteArray, QByteArray> state;
        for (const QByteArray& key : keys)
            state.insert(key, QueryText(connection, key));
        camera->clearRecord();
        return state;
    }

    Connection connection;
    SendPath sendPath{connection};
    std::shared_ptr<SimulatedCamera> camera;
    std::unique_ptr<ControlPanel> panel;
    ProgressLog progress;
    QStringList questions;
    bool answer = false;
};

QByteArrayList keysOf(const QList<SettingLine>& settings)
{
    QByteArrayList keys;
    for (const SettingLine& setting : settings)
        keys << setting.key;
    return keys;
}

QByteArrayList commandLinesOf(const QString& path)
{
    const SettingsFileReading reading = readSettingsFile(path);
    QByteArrayList lines;
    if (reading.contents) {
        for (const SettingsFileLine& line : reading.contents->lines)
            lines << line.text;
    }
    return lines;
}

QByteArrayList simplified(const QByteArrayList& lines)
{
    QByteArrayList result;
    for (const QByteArray& line : lines)
        result << line.simplified();
    return result;
}

// pk70ctl in this process on the simulated cameras; its exit status.
int runCtl(SimulatedCameras& cameras, const QStringList& arguments)
{
    QBuffer out;
    QBuffer err;
    QBuffer in;
    for (QBuffer* buffer : {&out, &err, &in})
        buffer->open(QIODevice::ReadWrite);
    CtlRunner runner(cameras.clock, out, err, in);
    runner.runPortsInTurn();
    const int status = runner.run(arguments);
    EXPECT_EQ(err.data(), QByteArray()) << arguments.join(' ').toStdString();
    return status;
}

QByteArrayList linesWithoutDate(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    QByteArrayList lines = file.readAll().split('\n');
    lines.removeIf([](const QByteArray& line) { return line.startsWith("# date: "); });
    return lines;
}

} // namespace

class SettingsFilesTest : public ::testing::Test {
protected:
    QString pathOf(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    QString pathOf(const QString& name) const { return m_dir.filePath(name); }

    QString writeFile(const char* name, const QByteArray& text) const
    {
        const QString path = pathOf(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        return path;
    }

    // Opens a panel on a camera of the model with the changes made, and saves its file.
    QString openChangedAndSave(Station& station, const Model& model, const char* file = "saved.txt")
    {
        station.attach(model.name);
        station.given(model.changes);
        station.openPanel(model.name);
        const QString path = pathOf(file);
        EXPECT_TRUE(station.panel->settingsTransfer().saveTo(path, QDateTime::currentDateTime()));
        return path;
    }

    VirtualClock clock;
    Station station{clock};
    CapturedMessages messages;

private:
    QTemporaryDir m_dir;
};

class SettingsRoundTrip : public SettingsFilesTest, public ::testing::WithParamInterface<Model> {};

TEST_P(SettingsRoundTrip, ACameraAtFactoryDefaultsGetsEverySavedSettingBack)
{
    const Model& model = GetParam();
    const QString path = openChangedAndSave(station, model);
    const QByteArrayList fileLines = commandLinesOf(path);
    const QByteArrayList keys = keysOf(station.panel->catalogue().settingLines());
    ASSERT_EQ(keys.size(), fileLines.size());
    EXPECT_EQ(QSet<QByteArray>(keys.begin(), keys.end()).size(), keys.size()) << "each setting once";
    for (const QByteArray& change : model.changes)
        EXPECT_TRUE(simplified(fileLines).contains(change.simplified())) << change.constData();
    // A mono camera's file holds no colour settings; a colour camera's does.
    const qsizetype colourLines = std::count_if(fileLines.begin(), fileLines.end(), [](const QByteArray& line) {
        return std::any_of(kColourWords.begin(), kColourWords.end(), [&line](const QByteArray& word) { return line.startsWith(word); });
    });
    EXPECT_EQ(colourLines > 0, model.colour) << fileLines.join('\n').constData();
    const QMap<QByteArray, QByteArray> saved = station.stateOf(keys);

    // Back to the factory's settings: the Brevo has a command for it, a
    // Tovane is replaced by a new camera on the same port.
    if (isBrevo(model.name))
        station.given({cmd::FACTORY_DEFAULT});
    else
        station.attach(model.name);
    EXPECT_NE(station.stateOf(keys), saved);

    EXPECT_EQ(station.panel->settingsTransfer().applyFrom(path), SettingsTransfer::Outcome::Applied);
    EXPECT_EQ(station.stateOf(keys), saved);
    EXPECT_EQ(messages.texts.last(), QStringLiteral("%1 settings from %2 were applied.").arg(fileLines.size()).arg(path));
    EXPECT_EQ(messages.messages.last().kind, Message::Kind::Information);
    EXPECT_EQ(messages.messages.last().path, path);
    // The panel shows what the camera now holds: the very settings of the file.
    QByteArrayList shown;
    for (const SettingLine& setting : station.panel->catalogue().settingLines())
        shown << setting.line;
    EXPECT_EQ(shown, fileLines);
    EXPECT_EQ(station.progress.shown, fileLines);
    EXPECT_TRUE(station.questions.isEmpty());
}

TEST_P(SettingsRoundTrip, Pk70ctlSavesTheVeryFileThePanelSaves)
{
    const Model& model = GetParam();
    SimulatedCameras cameras;
    const QString port = SimulatedCameras::portOf(model.name);
    const QStringList atRate = {"--port", port, "--rate", QString::number(kRate)};
    cameras.camera(model.name).setListeningRate(kRate);
    QStringList changes;
    for (const QByteArray& change : model.changes)
        changes << QString::fromLatin1(change);
    ASSERT_EQ(runCtl(cameras, atRate + changes), 0);
    ASSERT_EQ(runCtl(cameras, atRate + QStringList{"--save", pathOf("ctl-{model}.txt")}), 0);

    Station panelStation(cameras.clock);
    std::unique_ptr<SerialPort> opened = cameras.open(model.name);
    ASSERT_TRUE(opened);
    opened->setLineSettings(kRate);
    panelStation.connection.attach(std::move(opened));
    panelStation.openPanel(model.name);
    ASSERT_TRUE(panelStation.panel->settingsTransfer().saveTo(pathOf("panel.txt"), QDateTime::currentDateTime()));
    const QByteArrayList panelFile = linesWithoutDate(pathOf("panel.txt"));
    EXPECT_GT(panelFile.size(), 40);
    EXPECT_EQ(linesWithoutDate(pathOf("ctl-%1.txt").arg(model.name)), panelFile);
}

INSTANTIATE_TEST_SUITE_P(EachSimulatedModel, SettingsRoundTrip, ::testing::ValuesIn(kModels),
                         [](const ::testing::TestParamInfo<Model>& info) {
                             return QString::fromLatin1(info.param.name).remove('-').toStdString();
                         });

TEST_F(SettingsFilesTest, AFileSavedFromOneR560CLMakesAnotherOneEqualToIt)
{
    const Model& model = kModels[0];
    const QString path = openChangedAndSave(station, model);
    const QByteArrayList keys = keysOf(station.panel->catalogue().settingLines());

    Station other(clock);
    other.attach(model.name);
    other.openPanel(model.name);
    EXPECT_NE(other.stateOf(keys), station.stateOf(keys));
    EXPECT_EQ(other.panel->settingsTransfer().applyFrom(path), SettingsTransfer::Outcome::Applied);
    EXPECT_EQ(other.stateOf(keys), station.stateOf(keys));
}

TEST_F(SettingsFilesTest, TheFileHoldsSettingsOnlyAsThePageWouldSendThemUnderItsHeader)
{
    const QDateTime at(QDate(2026, 12, 8), QTime(11, 42, 21), Qt::OffsetFromUTC, 3600);
    for (const Model& model : {kModels[0], kModels[4]}) {
        SCOPED_TRACE(model.name);
        Station saving(clock);
        saving.attach(model.name);
        saving.given(model.changes);
        saving.openPanel(model.name);
        const QString path = pathOf("header.txt");
        ASSERT_TRUE(saving.panel->settingsTransfer().saveTo(path, at));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArrayList lines = file.readAll().split('\n');
        const QByteArray family = isBrevo(model.name) ? "Brevo" : "Tovane";
        const QByteArray version = isBrevo(model.name) ? "2.31.0" : "1.07.3";
        EXPECT_EQ(lines.mid(0, 5), (QByteArrayList{"# PK70App camera settings", "# model: " + QByteArray(model.name),
                                                   "# version: " + version, "# date: 2026-12-08T11:42:21+01:00",
                                                   "# family: " + family}));
        // Words with a blank of their own keep it; lines go without the
        // carriage return some pages add.
        EXPECT_TRUE(lines.contains("SP-FL  1"));
        EXPECT_TRUE(lines.contains(isBrevo(model.name) ? "SP-TRG-MODE  2" : "SP-TRG-MODE  1"));
        EXPECT_TRUE(lines.contains("TRG-INH 1"));
        // No read-only value, action, long operation or serial speed; on
        // the Tovane no whole-decibel view of the gain.
        for (const QByteArray& line : lines) {
            const QByteArray word = line.split(' ').first();
            for (const char* excluded :
                 {"MODEL", "VERSION", "VENDOR", "ID", "TEMPERATURE", "FRAMERATE-ACTUAL", "POWER-STATUS", "GPI",
                  "RESET", "FACTORY-DEFAULT", "USERSET-LOAD", "USERSET-SAVE", "USER-ID-DELETE", "TRG-SOFT",
                  "LINEAR-INTERPOLATION-BUILD", "LIBR", "SHADING-DETECTION", "SHADING-PATTERN-SAVE",
                  "DEFECT-DETECTION", "DEFECT-PATTERN-SAVE", "BAUDRATE", "BAUDRATE-TMP", "BAUDRATE-SAVE", "GAIN"})
                EXPECT_NE(word, excluded) << line.constData();
        }
    }
}

TEST_F(SettingsFilesTest, ARefusedLineStopsTheApplyAndIsReportedWithTheCamerasReason)
{
    const QString path = openChangedAndSave(station, kModels[0]);
    const QByteArrayList fileLines = commandLinesOf(path);
    const qsizetype refusedAt = fileLines.indexOf("EXP 25000");
    ASSERT_GT(refusedAt, 0);
    station.given({cmd::FACTORY_DEFAULT});
    station.camera->refuseCommand("EXP");

    EXPECT_EQ(station.panel->settingsTransfer().applyFrom(path), SettingsTransfer::Outcome::Refused);
    const QByteArrayList received = station.camera->receivedLines();
    // The lines up to the refused one, the camera's reason, and then only
    // the panel's reads: nothing after the refused line was set.
    EXPECT_EQ(received.mid(0, refusedAt + 2), fileLines.mid(0, refusedAt + 1) + QByteArrayList{"GET-LAST-ERROR"});
    for (const QByteArray& later : fileLines.mid(refusedAt + 1))
        EXPECT_FALSE(received.contains(later)) << later.constData();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const int lineNumber = int(file.readAll().split('\n').indexOf("EXP 25000")) + 1;
    EXPECT_EQ(messages.texts.last(), QStringLiteral("The camera refused line %1 of %2:\nEXP 25000\nReason: Refused\n"
                                                    "The lines before it were applied; the rest were not sent.")
                                         .arg(lineNumber)
                                         .arg(path));
    EXPECT_EQ(messages.messages.last().kind, Message::Kind::Warning);
    EXPECT_EQ(messages.messages.last().title, QStringLiteral("Settings Not Fully Applied"));
}

TEST_F(SettingsFilesTest, CancelStopsBetweenLinesAndThePanelReadsTheCameraAgain)
{
    const QString path = openChangedAndSave(station, kModels[4]);
    const QByteArrayList fileLines = commandLinesOf(path);
    station.attach(kModels[4].name);
    station.progress.cancelAfter = 3;

    EXPECT_EQ(station.panel->settingsTransfer().applyFrom(path), SettingsTransfer::Outcome::Cancelled);
    const QByteArrayList received = station.camera->receivedLines();
    EXPECT_EQ(received.mid(0, 3), fileLines.mid(0, 3));
    EXPECT_FALSE(received.contains(fileLines.at(3)));
    // The reload: every page reads the camera, the General page's model first.
    EXPECT_EQ(received.at(3), "VENDOR");
    EXPECT_EQ(messages.texts.last(),
              QStringLiteral("Applying %1 was cancelled after 3 of %2 lines; the rest were not sent.").arg(path).arg(fileLines.size()));
}

TEST_F(SettingsFilesTest, AFileOfAnotherModelIsSentOnlyWhenTheUserAgrees)
{
    station.attach("PTM-R560CL");
    station.openPanel("PTM-R560CL");
    const QString other = writeFile("other.txt", "# model: PTM-R290CL\nEXP 30000\n");
    station.camera->clearRecord();

    station.answer = false;
    EXPECT_EQ(station.panel->settingsTransfer().applyFrom(other), SettingsTransfer::Outcome::NotConfirmed);
    EXPECT_EQ(station.questions,
              QStringList{QStringLiteral("%1 holds settings of a PTM-R290CL; this camera is a PTM-R560CL. Apply them anyway?").arg(other)});
    EXPECT_TRUE(station.camera->receivedLines().isEmpty());

    station.answer = true;
    EXPECT_EQ(station.panel->settingsTransfer().applyFrom(other), SettingsTransfer::Outcome::Applied);
    EXPECT_EQ(station.camera->receivedLines().first(), "EXP 30000");

    // Same model, or no model comment at all: no question.
    station.questions.clear();
    for (const QByteArray& text : {QByteArray("# model: PTM-R560CL\nEXP 20000\n"), QByteArray("EXP 20000\n")}) {
        EXPECT_EQ(station.panel->settingsTransfer().applyFrom(writeFile("same.txt", text)),
                  SettingsTransfer::Outcome::Applied);
    }
    EXPECT_TRUE(station.questions.isEmpty());
}

TEST_F(SettingsFilesTest, EachBadFileSendsNothingAndSaysWhatIsWrong)
{
    station.attach("PTM-TW640");
    station.openPanel("PTM-TW640");
    const QString cases[] = {
        pathOf("missing.txt"),
        writeFile("binary.bin", QByteArray("EXP 100\n\0\x01\x02", 11)),
        writeFile("long.txt", "EXP 100\nUSER-ID " + QByteArray(250, 'x') + '\n'),
        writeFile("comments.txt", "# model: PTM-TW640\n# nothing else\n\n"),
    };
    for (const QString& path : cases) {
        SCOPED_TRACE(path.toStdString());
        station.camera->clearRecord();
        messages.texts.clear();
        EXPECT_EQ(station.panel->settingsTransfer().applyFrom(path), SettingsTransfer::Outcome::BadFile);
        EXPECT_TRUE(station.camera->receivedLines().isEmpty());
        EXPECT_EQ(messages.texts, QStringList{readSettingsFile(path).error});
        EXPECT_TRUE(station.progress.shown.isEmpty());
    }
}

TEST_F(SettingsFilesTest, ALineWaitsAsLongAsItsPageWaitsForThatSetting)
{
    station.attach("PTM-R560CL");
    station.openPanel("PTM-R560CL");
    // Every answer comes 2.5 s late: the shading correction, which its page
    // gives 20 s, is taken; an exposure, given 1.0 s, is not.
    station.camera->setExtraLatencyUs(2500000);
    EXPECT_EQ(station.panel->settingsTransfer().applyFrom(writeFile("slow.txt", "SHADING-CORRECTION 1\nEXP 500\n")),
              SettingsTransfer::Outcome::NoAnswer);
    EXPECT_EQ(messages.texts.last(), QStringLiteral("The camera did not answer line 2 of %1:\nEXP 500\nThe lines before "
                                                    "it were applied; the rest were not sent.")
                                         .arg(pathOf("slow.txt")));
}

TEST_F(SettingsFilesTest, TheButtonsAskForTheFileAndAFileChooserCancelledDoesNothing)
{
    station.attach("PTM-TW640M");
    station.given({"EXP 12345"});
    station.openPanel("PTM-TW640M");
    ControlPanel& panel = *station.panel;
    EXPECT_EQ(panel.saveSettingsButton()->accessibleName(), "Save Settings");
    EXPECT_EQ(panel.applySettingsButton()->accessibleName(), "Apply Settings");

    QString chosen;
    QStringList suggested;
    const auto chooser = [&](QWidget*, const QString& name) {
        suggested << name;
        return chosen;
    };
    panel.settingsTransfer().setSaveFileChooser(chooser);
    panel.settingsTransfer().setApplyFileChooser(chooser);
    station.camera->clearRecord();
    panel.saveSettingsButton()->click();
    panel.applySettingsButton()->click();
    EXPECT_TRUE(station.camera->receivedLines().isEmpty());
    EXPECT_TRUE(messages.texts.isEmpty());
    EXPECT_EQ(suggested.first(), "PTM-TW640M-settings.txt");

    chosen = pathOf("buttons.txt");
    panel.saveSettingsButton()->click();
    EXPECT_TRUE(commandLinesOf(chosen).contains("EXP 12345"));
    station.given({"EXP 999"});
    panel.applySettingsButton()->click();
    EXPECT_EQ(QueryInt(station.connection, cmd::EXP), 12345);
}

// A user set loaded or the factory's values restored: every page shows what
// the camera now holds, as a panel opened afresh would.
TEST_F(SettingsFilesTest, AfterALoadedUserSetOrTheFactorysValuesEveryPageReadsTheCameraAgain)
{
    const auto shownLines = [this] {
        QByteArrayList lines;
        for (const SettingLine& setting : station.panel->catalogue().settingLines())
            lines << setting.line;
        return lines;
    };
    const std::pair<const Model&, const char*> cases[] = {
        {kModels[0], "Load"}, {kModels[0], "FactoryDefault"}, {kModels[4], "Load"}};
    for (const auto& [model, button] : cases) {
        SCOPED_TRACE(std::string(model.name) + ' ' + button);
        station.attach(model.name);
        station.given(model.changes);
        station.openPanel(model.name);
        const QByteArrayList before = shownLines();
        // "Default", a user set never saved: the factory's values.
        choose(findNamed<QComboBox>(station.panel->page(0), "Userset selector"), QStringLiteral("Default"));
        findButton(station.panel->page(0), QString::fromLatin1(button))->click();
        const QByteArrayList after = shownLines();
        EXPECT_NE(after, before) << station.camera->receivedLines().join(',').constData();
        station.openPanel(model.name);
        // (A panel just opened has not read the frame buffer page yet.)
        for (const QByteArray& line : shownLines())
            EXPECT_TRUE(after.contains(line)) << line.constData();
    }
}

TEST_F(SettingsFilesTest, SavingNamesTheSettingsTheCameraDidNotReport)
{
    station.attach("PTM-TW640");
    station.openPanel("PTM-TW640");
    station.camera->refuseCommand("EXP");
    station.camera->refuseCommand("BLACKLEVEL");
    const QString path = pathOf("some.txt");
    ASSERT_TRUE(station.panel->settingsTransfer().saveTo(path, QDateTime::currentDateTime()));
    EXPECT_TRUE(messages.texts.last().endsWith(
        "\n\nLeft out, as the camera did not report them (2): BlackLevel (BLACKLEVEL), ExposureTime (EXP)."))
        << messages.texts.last().toStdString();
}

TEST_F(SettingsFilesTest, NothingIsWrittenWhenTheCameraGaveNoSettings)
{
    station.attach("PTM-TW640");
    station.openPanel("PTM-TW640");
    station.camera->setSilent(true);
    const QString path = pathOf("silent.txt");
    EXPECT_FALSE(station.panel->settingsTransfer().saveTo(path, QDateTime::currentDateTime()));
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(messages.texts.last(), "No settings could be read from the camera; no file was written.");
}

TEST_F(SettingsFilesTest, TheBrevoGainsAreKeptTapByTapWhileThePageShowsThemSo)
{
    station.attach("PTM-R560CL");
    station.given({"GAIN-FINE 100", "GAIN-FINE-TAP3 321", "BL-ADJ-2 -7"});
    station.openPanel("PTM-R560CL");
    const QString path = pathOf("taps.txt");
    ASSERT_TRUE(station.panel->settingsTransfer().saveTo(path, QDateTime::currentDateTime()));
    EXPECT_TRUE(commandLinesOf(path).contains("GAIN-FINE 100"));
    EXPECT_FALSE(commandLinesOf(path).contains("GAIN-FINE-TAP3 321"));

    for (QAbstractButton* box : station.panel->page(1)->findChildren<QAbstractButton*>()) {
        if (box->text() == "Individual Control")
            box->click();
    }
    ASSERT_TRUE(station.panel->settingsTransfer().saveTo(path, QDateTime::currentDateTime()));
    const QByteArrayList lines = commandLinesOf(path);
    for (const char* line : {"GAIN-FINE-TAP1 100", "GAIN-FINE-TAP3 321", "BL-ADJ-2 -7", "RGAIN-FINE-TAP4 256"})
        EXPECT_TRUE(lines.contains(line)) << line;
    EXPECT_FALSE(lines.contains("GAIN-FINE 100"));
}

TEST_F(SettingsFilesTest, CompareWithFileListsTheDifferencesAndAppliesOnlyTheCheckedLines)
{
    station.attach("PTM-TW640M");
    station.openPanel("PTM-TW640M");
    const QString path = writeFile("reference.txt", "GAIN-FINE 55\nBLACKLEVEL 30\nREVERSEX 0\nEXP 20000\nFOO-BAR 3\n");
    CompareDialog* dialog = station.panel->settingsTransfer().compareWith(path);
    ASSERT_NE(dialog, nullptr);
    QTableWidget* table = dialog->table();
    const auto rows = [table] {
        QStringList rows;
        for (int row = 0; row < table->rowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < table->columnCount(); ++column)
                cells << table->item(row, column)->text();
            rows << cells.join('|');
        }
        return rows;
    };
    EXPECT_EQ(rows(), (QStringList{"Gain|Step|GAIN-FINE|0|55", "Gain|BlackLevel|BLACKLEVEL|16|30",
                                   "Gain|ExposureTime|EXP|10000|20000", "(no setting)||FOO-BAR 3||FOO-BAR 3"}));
    EXPECT_FALSE(table->item(3, 0)->flags() & Qt::ItemIsUserCheckable);

    table->item(0, 0)->setCheckState(Qt::Checked);
    table->item(2, 0)->setCheckState(Qt::Checked);
    station.camera->clearRecord();
    dialog->applyButton()->click();
    const QByteArrayList received = station.camera->receivedLines();
    EXPECT_TRUE(received.contains("GAIN-FINE 55"));
    EXPECT_TRUE(received.contains("EXP 20000"));
    for (const QByteArray& line : received)
        EXPECT_TRUE(!line.contains(' ') || line == "GAIN-FINE 55" || line == "EXP 20000") << line.constData();
    EXPECT_EQ(rows(), (QStringList{"Gain|BlackLevel|BLACKLEVEL|16|30", "(no setting)||FOO-BAR 3||FOO-BAR 3"}));
    EXPECT_EQ(station.stateOf({"GAIN-FINE", "EXP", "BLACKLEVEL"}),
              (QMap<QByteArray, QByteArray>{{"GAIN-FINE", "55"}, {"EXP", "20000"}, {"BLACKLEVEL", "16"}}));
}
