#include "CtlRunner.h"

#include "CapturedMessages.h"
#include "CtlResult.h"
#include "QtPrinters.h"
#include "SimulatedCameras.h"

#include <QBuffer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// pk70ctl in this process against the simulated cameras on virtual time.
class CtlRunnerTest : public ::testing::Test {
protected:
    using Result = CtlResult;

    Result run(const QStringList& arguments, const QByteArray& input = {})
    {
        QBuffer out;
        QBuffer err;
        QBuffer in;
        in.setData(input);
        out.open(QIODevice::WriteOnly);
        err.open(QIODevice::WriteOnly);
        in.open(QIODevice::ReadOnly);
        CtlRunner runner(cameras.clock, out, err, in);
        runner.runPortsInTurn();
        const qint64 startUs = cameras.clock.nowUs();
        Result result;
        result.status = runner.run(arguments);
        result.seconds = (cameras.clock.nowUs() - startUs) / 1e6;
        result.out = QString::fromLocal8Bit(out.data());
        result.err = QString::fromLocal8Bit(err.data());
        return result;
    }

    // The command lines the camera read, without detection's empty lines.
    QByteArrayList received(const QString& model = kModel)
    {
        QByteArrayList lines = cameras.received(model);
        lines.removeAll(QByteArray());
        return lines;
    }

    QString writeFile(const QString& name, const QByteArray& text)
    {
        QFile file(directory.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        return file.fileName();
    }

    static constexpr const char* kModel = "PTM-TW640M";
    const QString port = SimulatedCameras::portOf(kModel);
    SimulatedCameras cameras;
    CapturedMessages messages;
    QTemporaryDir directory;
};

TEST_F(CtlRunnerTest, SetsAndReadsBackAGainPrintingOnlyTheValue)
{
    const Result result = run({"--port", port, "GAIN-FINE", "50", "GAIN-FINE"});
    EXPECT_EQ(result.status, 0) << result.err.toStdString();
    EXPECT_EQ(result.out, "50\n");
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(received(), (QByteArrayList{"GAIN-FINE 50", "GAIN-FINE"}));
}

TEST_F(CtlRunnerTest, ARefusalStopsTheRunWithStatusOneAndTheCamerasReason)
{
    const Result result = run({"--port", port, "GAIN-FINE", "20", "GAIN-FINE", "999", "GAIN-FINE"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "pk70ctl: \"GAIN-FINE 999\" refused (NG): Out of range\n");
    EXPECT_EQ(received(), (QByteArrayList{"GAIN-FINE 20", "GAIN-FINE 999", "GET-LAST-ERROR"}));
}

TEST_F(CtlRunnerTest, KeepGoingRunsTheRestAndStillEndsWithStatusOne)
{
    const Result result = run({"--port", port, "--keep-going", "GAIN-FINE", "20", "GAIN-FINE", "999", "GAIN-FINE"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "20\n");
    EXPECT_EQ(result.err, "pk70ctl: \"GAIN-FINE 999\" refused (NG): Out of range\n");
    EXPECT_EQ(received(), (QByteArrayList{"GAIN-FINE 20", "GAIN-FINE 999", "GET-LAST-ERROR", "GAIN-FINE"}));
}

TEST_F(CtlRunnerTest, JsonGivesOneObjectPerCommandWithItsOutcome)
{
    cameras.camera(kModel).setListeningRate(115200);
    const Result result =
        run({"--port", port, "--rate", "115200", "--json", "--keep-going", "GAIN-FINE", "20", "GAIN-FINE", "999",
             "HELP", "TRG-MODE", "MODEL"});
    EXPECT_EQ(result.status, 1);
    const QStringList lines = result.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4) << result.out.toStdString();
    QList<QJsonObject> objects;
    for (const QString& line : lines) {
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(line.toUtf8(), &error);
        ASSERT_TRUE(document.isObject()) << error.errorString().toStdString() << ": " << line.toStdString();
        objects << document.object();
        EXPECT_TRUE(document.object().value("ms").isDouble());
        EXPECT_GE(document.object().value("ms").toDouble(), 0);
    }
    EXPECT_EQ(objects[0].value("command").toString(), "GAIN-FINE 20");
    EXPECT_EQ(objects[0].value("result").toString(), "OK");
    EXPECT_EQ(objects[0].value("reply").toString(), "OK");
    EXPECT_TRUE(objects[0].value("values").toArray().isEmpty());
    EXPECT_FALSE(objects[0].contains("error"));

    EXPECT_EQ(objects[1].value("command").toString(), "GAIN-FINE 999");
    EXPECT_EQ(objects[1].value("result").toString(), "refused");
    EXPECT_EQ(objects[1].value("reply").toString(), "NG");
    EXPECT_EQ(objects[1].value("error").toString(), "Out of range");

    EXPECT_EQ(objects[2].value("command").toString(), "HELP TRG-MODE");
    EXPECT_EQ(objects[2].value("result").toString(), "OK");
    const QJsonArray choices = objects[2].value("values").toArray();
    ASSERT_FALSE(choices.isEmpty());
    for (const QJsonValue& choice : choices)
        EXPECT_TRUE(choice.toString().startsWith(' ')) << choice.toString().toStdString();

    EXPECT_EQ(objects[3].value("values").toArray(), QJsonArray{"PTM-TW640M"});
}

TEST_F(CtlRunnerTest, AFileIsSentLineByLineAsApplySettingsSendsItSkippingCommentsAndBlankLines)
{
    const QString file = writeFile("settings.txt", "# gain\r\n"
                                                   "GAIN-FINE 50 \r\n"
                                                   "\r\n"
                                                   "  # black level\r\n"
                                                   "BLACKLEVEL 3\r\n"
                                                   "GAIN-FINE\r\n");
    const Result result = run({"--port", port, "-f", file});
    EXPECT_EQ(result.status, 0) << result.err.toStdString();
    EXPECT_EQ(result.out, "50\n");
    EXPECT_EQ(received(), (QByteArrayList{"GAIN-FINE 50", "BLACKLEVEL 3", "GAIN-FINE"}));
}

TEST_F(CtlRunnerTest, CommandsComeFromStandardInputWhenNoneAreGiven)
{
    for (const QStringList& source : {QStringList{}, QStringList{"-f", "-"}}) {
        const Result result = run(QStringList{"--port", port} + source, "MODEL\n# nothing\nGAIN-FINE -20\nGAIN-FINE\n");
        EXPECT_EQ(result.status, 0) << result.err.toStdString();
        EXPECT_EQ(result.out, "PTM-TW640M\n-20\n");
    }
}

TEST_F(CtlRunnerTest, AGivenRateIsUsedWithoutDetection)
{
    cameras.camera(kModel).setListeningRate(57600);
    const Result result = run({"--port", port, "--rate", "57600", "MODEL"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(cameras.received(kModel), QByteArrayList{"MODEL"});
}

TEST_F(CtlRunnerTest, ASilentCameraEndsTheRunWithStatusTwoWithinTheTimeOut)
{
    cameras.camera(kModel).setSilent(true);
    const struct {
        QStringList arguments;
        const char* error;
        double seconds;
    } cases[] = {
        {{"--rate", "9600", "--timeout", "2", "MODEL", "GAIN-FINE"},
         "pk70ctl: no answer to \"MODEL\" from the camera on sim:PTM-TW640M within 2 s\n", 2.0},
        {{"--timeout", "3", "MODEL"}, "pk70ctl: no camera answered on sim:PTM-TW640M at any baud rate within 3 s\n",
         3.0},
    };
    for (const auto& c : cases) {
        const Result result = run(QStringList{"--port", port} + c.arguments);
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.err, c.error);
        EXPECT_EQ(result.out, "");
        EXPECT_GE(result.seconds, c.seconds - 0.1);
        EXPECT_LE(result.seconds, c.seconds + 0.2);
    }
}

TEST_F(CtlRunnerTest, APortThatCannotBeOpenedEndsWithStatusTwo)
{
    const auto held = cameras.open(kModel);
    const struct {
        QString name;
        QString reason;
    } cases[] = {
        {QStringLiteral("sim:NO-SUCH-MODEL"), QStringLiteral("There is no port sim:NO-SUCH-MODEL.")},
        {port, QStringLiteral("SerialPort is opened by another program!")},
        {QStringLiteral("/dev/null"), QStringLiteral("/dev/null is not a serial port.")},
    };
    for (const auto& c : cases) {
        const Result result = run({"--port", c.name, "MODEL"});
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.err, "pk70ctl: cannot open the port " + c.name + ": " + c.reason + "\n");
    }
}

TEST_F(CtlRunnerTest, WrongArgumentsOrAMissingFileEndWithStatusTwoAndSendNothing)
{
    const struct {
        QStringList arguments;
        QString error;
    } cases[] = {
        {{"--rate", "9600", "MODEL"}, "pk70ctl: --port is missing: name the camera's port\nTry pk70ctl --help.\n"},
        {{"--port", port, "-f", directory.filePath("missing.txt")},
         "pk70ctl: cannot read " + directory.filePath("missing.txt") + ": No such file or directory\n"},
    };
    for (const auto& c : cases) {
        const Result result = run(c.arguments);
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.err, c.error);
    }
    EXPECT_TRUE(cameras.received(kModel).isEmpty());
}

TEST_F(CtlRunnerTest, HelpExplainsEveryOptionAndTheExitStatus)
{
    const Result result = run({"--help"});
    EXPECT_EQ(result.status, 0);
    for (const char* part : {"--port NAME", "--rate N", "-f, --file FILE", "--json", "--keep-going", "--timeout S",
                             "--wire-log FILE", "sim:<MODEL>", "clser:", "beginning with #", "GET-LAST-ERROR",
                             "Exit status: 0", "1 a command was refused", "2 the port cannot"})
        EXPECT_TRUE(result.out.contains(part)) << part;
}

TEST_F(CtlRunnerTest, TheWireLogShowsBothLinesWithTheirAnswers)
{
    const QString path = directory.filePath("wire.log");
    const Result result = run({"--port", port, "--rate", "9600", "--wire-log", path, "GAIN-FINE", "50", "GAIN-FINE"});
    EXPECT_EQ(result.status, 0);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QStringList lines;
    for (const QString& line : QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts))
        lines << line.mid(line.indexOf(" ms  ") + 5);
    EXPECT_EQ(lines, (QStringList{"--  opened sim:PTM-TW640M at 9600 baud", R"(->  "GAIN-FINE 50\r")",
                                  R"(<-  "GAIN-FINE 50\r")", R"(<-  "OK\r")", R"(->  "GAIN-FINE\r")",
                                  R"(<-  "GAIN-FINE\r")", R"(<-  "50\r")", R"(<-  "OK\r")", "--  closed"}));
}

TEST_F(CtlRunnerTest, ACommandHoldingAControlCharacterIsRefusedAndNothingFromItsSourceIsSent)
{
    const QString file = writeFile("tab.txt", "GAIN-FINE 50\nGAIN-FINE\t60\n");
    const struct {
        QStringList arguments;
        QByteArray input;
        QString error;
        QByteArrayList sent;
    } cases[] = {
        {{"USER-ID ab\rZZINJECT"}, {},
         R"(pk70ctl: the command "USER-ID ab\rZZINJECT" holds a carriage return; a command may hold printable characters only)",
         {}},
        {{"-f", file}, {},
         "pk70ctl: " + file + R"(: the command "GAIN-FINE\t60" holds a tab; a command may hold printable characters only; nothing was sent)",
         {}},
        // Standard input is read line by line as it comes.
        {{}, "GAIN-FINE 50\nUSER-ID a\x1b\nGAIN-FINE\n",
         R"(pk70ctl: the command "USER-ID a\x1b" holds the control character 0x1b; a command may hold printable characters only; the commands before it were sent)",
         {"GAIN-FINE 50"}},
    };
    for (const auto& c : cases) {
        cameras.camera(kModel).clearRecord();
        const Result result = run(QStringList{"--port", port} + c.arguments, c.input);
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.err, c.error + "\n");
        EXPECT_EQ(received(), c.sent);
    }
}

TEST_F(CtlRunnerTest, ACameraThatHangsUpIsReportedAtOnceAsAPortGoneAway)
{
    const struct {
        QStringList arguments;
        QByteArray cutAt; // the line after which the camera hangs up
        QString error;
    } cases[] = {
        {{"--rate", "9600", "GAIN-FINE", "50", "GAIN-FINE"}, "GAIN-FINE",
         R"(pk70ctl: the port went away while "GAIN-FINE" waited for its answer on sim:PTM-TW640M (the camera hung up or was unplugged))"},
        {{"MODEL"}, "",
         "pk70ctl: the port went away while its baud rate was searched for on sim:PTM-TW640M (the camera hung up or was "
         "unplugged)"},
    };
    for (const auto& c : cases) {
        SimulatedCamera& camera = cameras.camera(kModel);
        camera.setDisconnected(false);
        camera.setLineObserver([&camera, &c](qint64, const QByteArray& line) {
            if (line == c.cutAt)
                camera.setDisconnected(true);
        });
        const Result result = run(QStringList{"--port", port} + c.arguments);
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.err, c.error + "\n");
        EXPECT_LT(result.seconds, 1.0);
        camera.setLineObserver({});
    }
}

TEST_F(CtlRunnerTest, AFileIsCheckedAsApplySettingsChecksItAndAWrongOneSendsNothing)
{
    const struct {
        const char* name;
        QByteArray text;
        QString error; // after "pk70ctl: <file> "
    } cases[] = {
        {"program.elf", QByteArray("\x7f" "ELF\x02\x01\x01\0\0\0\nGAIN-FINE 5\n", 17), "is no settings file: line 1 holds binary data."},
        {"long.txt", "MODEL\nUSER-ID " + QByteArray(10000, 'x') + '\n', "is no settings file: line 2 is longer than 256 characters."},
        {"huge.txt", QByteArray(2 * 1024 * 1024, 'x'), "is no settings file: it is larger than 1 MB."},
        {"nul.txt", QByteArray("MODEL\nGAIN-FINE 1\0" "3\n", 20), "is no settings file: line 2 holds binary data."},
        {"empty.txt", "", "holds no command lines."},
        {"comments.txt", "# model: PTM-TW640M\n\n", "holds no command lines."},
    };
    for (const auto& c : cases) {
        const QString file = writeFile(c.name, c.text);
        const Result result = run({"--port", port, "-f", file});
        EXPECT_EQ(result.status, 2) << c.name;
        EXPECT_EQ(result.err, "pk70ctl: " + file + ' ' + c.error + " Nothing was sent.\n");
        EXPECT_TRUE(received().isEmpty()) << c.name;
    }
    // The same file applies: a byte-order mark is dropped, blanks around lines too.
    const Result marked = run({"--port", port, "-f", writeFile("bom.txt", "\xEF\xBB\xBFGAIN-FINE 13 \r\nGAIN-FINE\r\n")});
    EXPECT_EQ(marked.status, 0) << marked.err.toStdString();
    EXPECT_EQ(marked.out, "13\n");
}

TEST_F(CtlRunnerTest, StandardInputThatHoldsNoCommandOrALineTooLongIsReported)
{
    const struct {
        QByteArray input;
        QString error;
        QByteArrayList sent;
    } cases[] = {
        {"", "pk70ctl: standard input held no command; nothing was sent\n", {}},
        {"# only a comment\n", "pk70ctl: standard input held no command; nothing was sent\n", {}},
        {"GAIN-FINE 5\n" + QByteArray(3000000, 'x'),
         "pk70ctl: line 2 of standard input is longer than 256 characters; the commands before it were sent\n",
         {"GAIN-FINE 5"}},
    };
    for (const auto& c : cases) {
        cameras.camera(kModel).clearRecord();
        const Result result = run({"--port", port, "--rate", "9600"}, c.input);
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.err, c.error);
        EXPECT_EQ(received(), c.sent);
    }
}

TEST_F(CtlRunnerTest, LatinOneFromTheCameraStaysReadableInJson)
{
    SimulatedCamera& camera = cameras.camera(kModel);
    camera.receive("USER-ID caf\xe9\r", 9600, cameras.clock.nowUs());
    const Result result = run({"--port", port, "--rate", "9600", "--json", "USER-ID"});
    const QJsonObject object = QJsonDocument::fromJson(result.out.toUtf8()).object();
    EXPECT_EQ(object.value("values").toArray(), QJsonArray{QString::fromUtf8("café")}) << result.out.toStdString();
    EXPECT_EQ(object.value("port").toString(), port);
}

TEST_F(CtlRunnerTest, SeveralPortsEachRunTheFileAndOneRefusalStopsOnlyItsOwnPort)
{
    const QString other = SimulatedCameras::portOf("PTM-R560CL");
    const QString file = writeFile("two.txt", "GAIN-FINE 20\nBLACKLEVEL 500\nGAIN-FINE\n");
    const Result result = run({"--port", port, "--port", other, "--rate", "9600", "-f", file});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(received(), (QByteArrayList{"GAIN-FINE 20", "BLACKLEVEL 500", "GET-LAST-ERROR"}));
    EXPECT_EQ(received("PTM-R560CL"), (QByteArrayList{"GAIN-FINE 20", "BLACKLEVEL 500", "GAIN-FINE"}));
    EXPECT_EQ(result.out, other + ": 20\n");
    EXPECT_EQ(result.err, "pk70ctl: " + port + ": \"BLACKLEVEL 500\" refused (NG): Out of range\n");

    // A port that cannot be opened fails alone, and the worst status wins.
    const Result missing = run({"--port", other, "--port", "sim:NO-SUCH", "--rate", "9600", "MODEL"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.out, other + ": PTM-R560CL\n");
    EXPECT_TRUE(missing.err.startsWith("pk70ctl: sim:NO-SUCH: cannot open the port sim:NO-SUCH")) << missing.err.toStdString();
}

TEST_F(CtlRunnerTest, CompareNamesAChangedValueAMissingSettingAndAForeignLineAndSetsNothing)
{
    const QString file = writeFile("reference.txt", "# model: PTM-TW640M\nGAIN-FINE 55\nRGAIN-FINE 400\nREVERSEX 0\nFOO-BAR 3\n");
    const Result text = run({"--port", port, "--rate", "9600", "--compare", file});
    EXPECT_EQ(text.status, 1) << text.err.toStdString();
    EXPECT_EQ(text.out, "GAIN-FINE: file 55, camera 0\n"
                        "RGAIN-FINE: file 400, camera (no value: the camera did not report it)\n"
                        "line 5: \"FOO-BAR 3\" is no setting of the PTM-TW640M\n");
    for (const char* set : {"GAIN-FINE 55", "RGAIN-FINE 400", "REVERSEX 0", "FOO-BAR 3"})
        EXPECT_FALSE(received().contains(set)) << set;

    const Result json = run({"--port", port, "--rate", "9600", "--json", "--compare", file});
    QList<QJsonObject> objects;
    for (const QString& line : json.out.split('\n', Qt::SkipEmptyParts))
        objects << QJsonDocument::fromJson(line.toUtf8()).object();
    ASSERT_EQ(objects.size(), 3) << json.out.toStdString();
    EXPECT_EQ(objects[0], (QJsonObject{{"port", port}, {"line", 2}, {"setting", "GAIN-FINE"}, {"page", "Gain"},
                                       {"caption", "Step"}, {"file", "55"}, {"camera", "0"}, {"difference", "changed"}}));
    EXPECT_EQ(objects[1].value("difference").toString(), "not reported");
    EXPECT_TRUE(objects[1].value("camera").isNull());
    EXPECT_EQ(objects[2], (QJsonObject{{"port", port}, {"line", 5}, {"text", "FOO-BAR 3"}, {"difference", "no setting"}}));

    const Result same = run({"--port", port, "--rate", "9600", "--compare", writeFile("same.txt", "GAIN-FINE 0\nREVERSEX 0\n")});
    EXPECT_EQ(same.status, 0);
    EXPECT_EQ(same.out, "");
}
