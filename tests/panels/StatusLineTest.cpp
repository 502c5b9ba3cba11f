// The panel's status line through a connection's life: open, a refusal, a
// loss of the port, a new port.
#include "Link.h"
#include "PageTesting.h"
#include "Ports.h"
#include "StatusLine.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QLabel>

TEST(StatusLine, FollowsTheConnectionThroughOpenRefusalLossAndReconnection)
{
    VirtualClock clock;
    Connection connection(clock);
    SendPath path(connection);
    connection.portName = QStringLiteral("/dev/ttyUSB0");
    StatusLine line(path);
    EXPECT_EQ(line.connectionText(), "/dev/ttyUSB0: disconnected");

    auto attachPort = [&] {
        auto port = std::make_unique<ScriptedPort>(clock);
        ScriptedPort* camera = port.get();
        connection.attach(std::move(port));
        return camera;
    };
    connection.baudRate = 115200;
    ScriptedPort* camera = attachPort();
    EXPECT_EQ(line.connectionText(), "/dev/ttyUSB0 at 115200 baud: connected");
    EXPECT_EQ(line.refusalText(), "");

    // A refusal stays through the rest of its action and goes with the
    // next accepted one.
    TestCamera answers(*camera);
    answers.raw["GAIN 999"] = "GAIN 999\rNG\r";
    answers.set("GET-LAST-ERROR", "Out of range");
    path.whenIdle([&] {
        path.command("GAIN 999");
        path.command("HBIN 2");
    });
    EXPECT_EQ(line.refusalText(), "Refused: GAIN 999 (Out of range)");
    // A screen reader reads each text under its label's name.
    for (const auto& [name, text] : {std::pair{"Connection", line.connectionText()}, {"Last refusal", line.refusalText()}})
        EXPECT_EQ(QAccessible::queryAccessibleInterface(findNamed<QLabel>(&line, name))->text(QAccessible::Description), text);
    path.whenIdle([&] { path.command("HBIN 1"); });
    EXPECT_EQ(line.refusalText(), "");
    answers.silent << "EXP";
    path.whenIdle([&] { path.command("EXP 10"); });
    EXPECT_EQ(line.refusalText(), "No answer: EXP 10");
    path.rejectInput(QStringLiteral("Step: \"abc\" is not a whole number; nothing sent"));
    EXPECT_EQ(line.refusalText(), "Step: \"abc\" is not a whole number; nothing sent");

    camera->hungUp = true;
    QueryInt(connection, "GAIN");
    EXPECT_EQ(line.connectionText(),
              "/dev/ttyUSB0: connection lost; choose SerialPort in the main window to reconnect");

    connection.portName = QStringLiteral("sim:PTM-TW640");
    connection.baudRate = 9600;
    attachPort();
    EXPECT_EQ(line.connectionText(), "sim:PTM-TW640 at 9600 baud: connected");
    connection.baudRate = kNoRateFound; // a later detection found no camera
    connection.announceState();
    EXPECT_EQ(line.connectionText(), "sim:PTM-TW640: open, but no camera answered at any baud rate");

    connection.portName.clear();
    connection.close();
    EXPECT_EQ(line.connectionText(), "No port open");
}
