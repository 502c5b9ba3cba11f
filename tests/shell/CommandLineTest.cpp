#include "CapturedMessages.h"
#include "CommandLine.h"
#include "ControlPanelTovane.h"
#include "QtPrinters.h"
#include "SerialPortDlg.h"
#include "SimulatedCameras.h"
#include "TestPages.h"
#include "tovane/TovanePages.h"

#include <QSettings>

#include <gtest/gtest.h>

TEST(CommandLine, ReadsTheOptionsAndLeavesQtsOwnToQt)
{
    const struct {
        QStringList arguments;
        QString portName;
        std::optional<qint32> baudRate;
        QString wireLogPath;
    } cases[] = {
        {{}, "", std::nullopt},
        {{"--port", "sim:PTM-TW640M"}, "sim:PTM-TW640M", std::nullopt},
        {{"--port=/dev/ttyUSB0", "--rate", "115200"}, "/dev/ttyUSB0", 115200},
        {{"--rate=9600", "--port", " clser:PK70Sim#port0 "}, "clser:PK70Sim#port0", 9600},
        {{"-platform", "offscreen", "--port", "ttyS0"}, "ttyS0", std::nullopt},
        {{"--port", "ttyS0", "-platform", "offscreen:size=800x600", "-reverse"}, "ttyS0", std::nullopt},
        {{"--port", "a", "--port", "b"}, "b", std::nullopt}, // the last one counts
        {{"--wire-log", "/tmp/w.log"}, "", std::nullopt, "/tmp/w.log"},
        {{"-platform", "offscreen", "--wire-log=w.log"}, "", std::nullopt, "w.log"},
    };
    for (const auto& c : cases) {
        const CommandLine line = parseCommandLine(QStringList{"pk70app"} + c.arguments);
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        EXPECT_FALSE(line.exitCode.has_value()) << line.error.toStdString();
        EXPECT_EQ(line.options.portName, c.portName);
        EXPECT_EQ(line.options.baudRate, c.baudRate);
        EXPECT_EQ(line.options.wireLogPath, c.wireLogPath);
    }
}

TEST(CommandLine, HelpVersionAndMistakesEndAtOnceWithTheirText)
{
    const struct {
        QStringList arguments;
        int exitCode;
        QString outputHas, errorHas;
    } cases[] = {
        {{"--help"}, 0, "--port NAME", ""},
        {{"-h"}, 0, "--rate N", ""},
        {{"--port", "x", "--help"}, 0, "Usage: pk70app [options]", ""},
        {{"--version"}, 0, "pk70app 1.", ""},
        {{"--colour"}, 2, "", "pk70app: unknown option \"--colour\"\nTry \"pk70app --help\"."},
        {{"--port"}, 2, "", "--port needs a value (NAME)"},
        {{"--port="}, 2, "", "--port needs a port name"},
        {{"--rate", "fast"}, 2, "", "--rate needs a baud rate in whole numbers, not \"fast\""},
        {{"--rate", "0"}, 2, "", "not \"0\""},
        {{"--rate", "-9600"}, 2, "", "not \"-9600\""},
        {{"--wire-log"}, 2, "", "--wire-log needs"},
        {{"--wire-log="}, 2, "", "--wire-log needs"},
        {{"/dev/ttyUSB0"}, 2, "", "unexpected argument \"/dev/ttyUSB0\" (a port is named with --port)"},
    };
    for (const auto& c : cases) {
        const CommandLine line = parseCommandLine(QStringList{"pk70app"} + c.arguments);
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        ASSERT_TRUE(line.exitCode.has_value());
        EXPECT_EQ(*line.exitCode, c.exitCode);
        EXPECT_EQ(line.output.isEmpty(), c.outputHas.isEmpty());
        EXPECT_TRUE(line.output.contains(c.outputHas)) << line.output.toStdString();
        EXPECT_EQ(line.error.isEmpty(), c.errorHas.isEmpty());
        EXPECT_TRUE(line.error.contains(c.errorHas)) << line.error.toStdString();
    }
}

// The start-up's port choice with a recording stand-in for the port dialog,
// which accepts what it is offered.
class StartPortChooserTest : public ::testing::Test {
protected:
    StartPortChooserTest() { QSettings().clear(); }

    PortChooser chooserFor(const StartOptions& options)
    {
        return startPortChooser(options, [this](const QString& name, qint32 rate) -> std::optional<PortChoice> {
            offered.append({name, rate});
            return PortChoice{name, rate};
        });
    }

    SimulatedCameras cameras;
    QList<QPair<QString, qint32>> offered;
};

TEST_F(StartPortChooserTest, APortOnTheCommandLineIsTakenWithoutTheDialogOnlyAtStart)
{
    PortChooser choose = chooserFor({"sim:PTM-TW640M", std::nullopt});
    const std::optional<PortChoice> first = choose("", 38400);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->portName, "sim:PTM-TW640M");
    EXPECT_EQ(first->baudRate, 38400);
    EXPECT_TRUE(first->detectRate);
    EXPECT_TRUE(offered.isEmpty());
    // Remembered as if accepted in the dialog.
    ASSERT_TRUE(rememberedPortChoice());
    EXPECT_EQ(rememberedPortChoice()->portName, "sim:PTM-TW640M");

    const std::optional<PortChoice> later = choose("sim:PTM-TW640M", 9600);
    ASSERT_TRUE(later);
    EXPECT_TRUE(later->detectRate);
    EXPECT_EQ(offered, (QList<QPair<QString, qint32>>{{"sim:PTM-TW640M", 9600}}));
}

TEST_F(StartPortChooserTest, ARateOnTheCommandLineIsUsedWithoutDetectionAndOfferedInTheDialog)
{
    const std::optional<PortChoice> named = chooserFor({"ttyS0", 57600})("", 38400);
    ASSERT_TRUE(named);
    EXPECT_EQ(named->baudRate, 57600);
    EXPECT_FALSE(named->detectRate);

    rememberPortChoice({"sim:PTM-R560CL", 9600});
    const std::optional<PortChoice> inDialog = chooserFor({"", 115200})("", 38400);
    EXPECT_EQ(offered, (QList<QPair<QString, qint32>>{{"sim:PTM-R560CL", 115200}}));
    ASSERT_TRUE(inDialog);
    EXPECT_FALSE(inDialog->detectRate);
}

TEST_F(StartPortChooserTest, WithoutOptionsTheDialogOffersThePortAndRateAcceptedLastTime)
{
    EXPECT_TRUE(chooserFor({})("", 38400));
    EXPECT_EQ(offered.takeFirst(), qMakePair(QString(), qint32(38400)));

    rememberPortChoice({"sim:PTM-R290CL", 19200});
    PortChooser choose = chooserFor({});
    EXPECT_TRUE(choose("", 38400)->detectRate);
    // Later choices start from the port in use, as before.
    choose("sim:PTM-TW640", 9600);
    EXPECT_EQ(offered, (QList<QPair<QString, qint32>>{{"sim:PTM-R290CL", 19200}, {"sim:PTM-TW640", 9600}}));

    // A remembered port that cannot be opened now (unplugged, held) is not
    // offered: the dialog starts as it would without it.
    offered.clear();
    const auto held = cameras.open("PTM-R290CL");
    chooserFor({})("", 38400);
    rememberPortChoice({"/dev/pk70-unplugged", 9600});
    chooserFor({})("", 38400);
    EXPECT_EQ(offered, (QList<QPair<QString, qint32>>{{"", 38400}, {"", 38400}}));
}

namespace {

// Records each page the load progress names.
struct RecordingLoadView : PanelLoadProgressView {
    explicit RecordingLoadView(QStringList& shown) : shown(shown) {}
    void showPage(const QString& title, int number, int count) override
    {
        shown << QStringLiteral("Reading %1, %2 of %3").arg(title).arg(number).arg(count);
    }
    bool cancelRequested() override { return false; }
    QStringList& shown;
};

} // namespace

// The main window started as the application starts it with a command line.
class StartFromCommandLineTest : public ::testing::Test {
protected:
    StartFromCommandLineTest() { QSettings().clear(); }

    void start(const QStringList& arguments, QList<PageEntry> tovane = recordingPages({"General", "Gain"}))
    {
        const CommandLine line = parseCommandLine(QStringList{"pk70app"} + arguments);
        ASSERT_FALSE(line.exitCode.has_value());
        window.setPageLists(recordingPages({"General"}), std::move(tovane));
        window.setPanelLoadProgressView([this] { return std::make_unique<RecordingLoadView>(loadShown); });
        window.setPortChooser(startPortChooser(line.options, [this](const QString&, qint32) {
            ++dialogsShown;
            return std::optional<PortChoice>();
        }));
        window.OnInitDialog();
    }

    SimulatedCameras cameras;
    CapturedMessages messages;
    int dialogsShown = 0;
    QStringList loadShown;
    CCameraLinkDlg window{cameras.clock};
};

TEST_F(StartFromCommandLineTest, APortReachesTheTovanePanelWithoutTheDialog)
{
    start({"--port", "sim:PTM-TW640M"}, tovanePages());
    EXPECT_EQ(dialogsShown, 0);
    EXPECT_EQ(window.connection().portName, "sim:PTM-TW640M");
    EXPECT_EQ(window.connection().baudRate, 9600);
    EXPECT_EQ(window.model(), "PTM-TW640M");
    ASSERT_NE(window.tovanePanel(), nullptr);
    EXPECT_TRUE(window.tovanePanel()->isVisible());
    EXPECT_FALSE(window.tovanePanel()->windowIcon().isNull());
    EXPECT_TRUE(messages.texts.isEmpty());
    // The first page alone takes more than half a second at 9600 baud: the
    // progress names it while it is read; the others are read behind the
    // shown panel.
    ASSERT_FALSE(loadShown.isEmpty());
    EXPECT_EQ(loadShown.first(), "Reading General, 1 of 11");
    EXPECT_EQ(loadShown.last(), "Reading General, 1 of 11");
    EXPECT_FALSE(window.tovanePanel()->pagesStillToRead());
}

TEST_F(StartFromCommandLineTest, ARateSkipsDetectionOnTheWire)
{
    start({"--port", "sim:PTM-TW640", "--rate", "9600"});
    EXPECT_EQ(dialogsShown, 0);
    EXPECT_EQ(window.connection().baudRate, 9600);
    // No detection's empty lines: only the line of three carriage returns
    // (four reach the camera), then identification.
    EXPECT_EQ(cameras.received("PTM-TW640"), (QByteArrayList{"", "", "", "", "MODEL", "MODEL"}));
    EXPECT_NE(window.tovanePanel(), nullptr);
}

TEST_F(StartFromCommandLineTest, AWrongRateLeavesTheCameraUnnamedAndSaysSo)
{
    start({"--port", "sim:PTM-TW640", "--rate", "38400"});
    EXPECT_EQ(window.connection().baudRate, 38400);
    EXPECT_EQ(window.model(), "");
    EXPECT_EQ(window.tovanePanel(), nullptr);
}

TEST_F(StartFromCommandLineTest, APortThatDoesNotExistIsReportedOnceAndOpensNothing)
{
    start({"--port", "sim:PTM-NONE"});
    EXPECT_EQ(dialogsShown, 0);
    EXPECT_FALSE(window.connection().isOpen());
    EXPECT_EQ(messages.texts, QStringList{"There is no port sim:PTM-NONE."});
    EXPECT_EQ(window.terminal(), nullptr);
}
