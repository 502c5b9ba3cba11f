#include "SimFixture.h"

// Faults on demand, for the reliability of everything above the port.

using Faults = SimFixture;

TEST_F(Faults, ADroppedConnectionLosesThePortAndEveryExchangeFailsAtOnce)
{
    camera->setDisconnected(true);
    EXPECT_EQ(port->write("MODEL\r"), -1);
    EXPECT_EQ(port->bytesWaiting(), -1);
    EXPECT_TRUE(port->isLost());
    const qint64 start = clock.nowUs();
    EXPECT_FALSE(Transact(connection, "EXP 100", 1.0));
    EXPECT_EQ(QueryInt(connection, "EXP"), 0);
    EXPECT_LT(secondsSince(start), 0.05);
    EXPECT_FALSE(connection.isOpen());
    EXPECT_TRUE(connection.wasLost());

    // Plugged in again and opened anew, as "&SerialPort" does.
    camera->setDisconnected(false);
    auto reopened = std::make_unique<SimulatedPort>(camera, clock);
    reopened->setLineSettings(9600);
    connection.attach(std::move(reopened));
    EXPECT_TRUE(Transact(connection, "EXP 100", 1.0));
    EXPECT_EQ(camera->receivedLines(), QByteArrayList{"EXP 100"});
}

TEST_F(Faults, ASilentCameraTakesNothingInAndAnswersNothing)
{
    camera->setSilent(true);
    EXPECT_EQ(QueryInt(connection, "WIDTH"), 0);
    EXPECT_EQ(QueryText(connection, "MODEL"), "");
    camera->setSilent(false);
    EXPECT_EQ(QueryInt(connection, "WIDTH"), 640);
}

TEST_F(Faults, ASlowCameraAnswersAfterTheExtraTime)
{
    camera->setExtraLatencyUs(3000000);
    const qint64 start = clock.nowUs();
    EXPECT_FALSE(Transact(connection, "EXP 100", 1.0));
    for (int slice = 0; slice < 100 && !port->waitReadable(100); ++slice) {
    }
    EXPECT_NEAR(secondsSince(start), 3.0, 0.02);
    pause(0.01);
    EXPECT_EQ(ReadAvailable(connection), "OK\r");
}

TEST_F(Faults, GarbageNeverEndsALine)
{
    camera->setGarbageAnswers(true);
    EXPECT_FALSE(Transact(connection, "EXP 100", 1.0));
    camera->setGarbageAnswers(false);
    camera->sendNoise(50, clock.nowUs());
    clock.sleepUs(100000);
    const QByteArray noise = ReadAvailable(connection);
    EXPECT_EQ(noise.size(), 50);
    EXPECT_FALSE(noise.contains('\r'));
    EXPECT_TRUE(Transact(connection, "EXP 100", 1.0));
}

TEST_F(Faults, AnOverlongLineComesBeforeEveryAnswer)
{
    camera->setOverlongAnswers(5000);
    const QByteArray reply = answer("WIDTH");
    EXPECT_EQ(reply, "WIDTH\r" + QByteArray(5000, 'X') + "\r640\rOK\r");
    EXPECT_EQ(QueryInt(connection, "WIDTH"), -1);
    camera->setOverlongAnswers(0);
    EXPECT_EQ(QueryInt(connection, "WIDTH"), 640);
}

TEST_F(Faults, ARefusedCommandIsAnsweredNgWithAReasonUntilAllowedAgain)
{
    camera->refuseCommand("exp");
    EXPECT_EQ(answer("EXP 100"), "EXP 100\rNG\r");
    EXPECT_EQ(lastError(), "Refused");
    EXPECT_FALSE(Transact(connection, "HELP EXP", 1.0));
    EXPECT_TRUE(Transact(connection, "GAIN 3", 1.0));
    camera->allowCommand("EXP");
    EXPECT_TRUE(Transact(connection, "EXP 100", 1.0));
}
