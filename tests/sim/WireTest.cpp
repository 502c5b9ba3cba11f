#include "SimFixture.h"

#include "Ports.h"

// Timing on the wire and the rate the camera listens at.

using WireTiming = SimFixture;

namespace {

double byteMs(qint32 rate)
{
    return 10.0 * 1000.0 / rate;
}

} // namespace

TEST_F(WireTiming, ATwentyByteAnswerAtNineThousandSixHundredTakesAboutTwentyMilliseconds)
{
    camera->setLatencyUs(0);
    camera->clearRecord();
    EXPECT_EQ(answer("MODEL"), "MODEL\rPTM-TW640\rOK\r");
    std::vector<SimulatedCamera::WireByte> back;
    for (const auto& byte : camera->record().bytes) {
        if (byte.direction == SimulatedCamera::Direction::ToHost)
            back.push_back(byte);
    }
    ASSERT_EQ(back.size(), 19u);
    // From the start of the first byte to the end of the last.
    const double spanMs = (back.back().atUs - back.front().atUs) / 1000.0 + byteMs(9600);
    EXPECT_NEAR(spanMs, 19 * byteMs(9600), 0.05);

    useModel("PTM-TW640M");
    camera->setLatencyUs(0);
    camera->clearRecord();
    EXPECT_EQ(answer("MODEL"), "MODEL\rPTM-TW640M\rOK\r");
    const auto& bytes = camera->record().bytes;
    qint64 first = 0, last = 0;
    int count = 0;
    for (const auto& byte : bytes) {
        if (byte.direction != SimulatedCamera::Direction::ToHost)
            continue;
        if (count++ == 0)
            first = byte.atUs;
        last = byte.atUs;
    }
    EXPECT_EQ(count, 20);
    EXPECT_NEAR((last - first) / 1000.0 + byteMs(9600), 20.83, 0.05);
}

TEST_F(WireTiming, AQueryTakesTheLineTheEchoOfItsEndAndTheAnswerAtTheRate)
{
    // "MODEL\r" in (6 bytes), the latency, "PTM-TW640\rOK\r" back (13 bytes);
    // the echo of the carriage return goes out during the latency.
    for (const qint32 rate : {9600, 14400, 115200, 921600}) {
        useModel("PTM-TW640", rate);
        camera->setLatencyUs(2000);
        const qint64 start = clock.nowUs();
        EXPECT_EQ(answer("MODEL"), "MODEL\rPTM-TW640\rOK\r") << rate;
        EXPECT_NEAR(secondsSince(start) * 1000.0, 19 * byteMs(rate) + 2.0, 0.01) << rate;
    }
}

TEST_F(WireTiming, LatencyHoldsBackTheAnswerButNotTheEcho)
{
    camera->setLatencyUs(50000);
    const qint64 start = clock.nowUs();
    SendLine(connection, "WIDTH");
    pause(0.02);
    EXPECT_EQ(ReadAvailable(connection), "WIDTH\r");
    EXPECT_EQ(ReadUntilOk(connection, 10.0), "640\rOK\r");
    EXPECT_GE(secondsSince(start), 0.050 + 6 * byteMs(9600) / 1000.0);
}

TEST_F(WireTiming, TheCameraIdentifiesItselfWithinThirtyMillisecondsAtNineThousandSixHundred)
{
    // As the application does it after detection: three carriage returns
    // first, then MODEL and a single read 30 ms later.
    useModel("PTM-R560CL");
    SendLine(connection, "\r\r\r");
    ReadAvailable(connection);
    ReadAvailable(connection);
    SendLine(connection, "MODEL");
    pause(0.030);
    EXPECT_TRUE(ReadAvailable(connection).contains("\rPTM-R560CL\r"));
}

TEST_F(WireTiming, WaitingMovesTheVirtualClockToTheNextByteOnly)
{
    const qint64 start = clock.nowUs();
    SendLine(connection, "WIDTH");
    EXPECT_TRUE(port->waitReadable(1000));
    // The first echo byte: one byte time in, one back.
    EXPECT_NEAR(secondsSince(start) * 1000.0, 2 * byteMs(9600), 0.01);
    EXPECT_EQ(port->bytesWaiting(), 1);
    ReadAvailable(connection);
    ReadUntilOk(connection, 10.0);
    const qint64 idle = clock.nowUs();
    EXPECT_FALSE(port->waitReadable(250));
    EXPECT_NEAR(secondsSince(idle), 0.25, 1e-6);
}

using Detection = SimFixture;

class DetectionAtEachRate : public SimFixture, public ::testing::WithParamInterface<qint32> {};

TEST_P(DetectionAtEachRate, FindsTheRateTheCameraListensAt)
{
    useModel("PTM-TW640M", GetParam());
    port->setLineSettings(38400);
    EXPECT_EQ(DetectBaudRate(connection), GetParam());
    EXPECT_EQ(port->baudRate(), GetParam());
    EXPECT_EQ(QueryText(connection, "MODEL"), "PTM-TW640M");
}

INSTANTIATE_TEST_SUITE_P(Sim, DetectionAtEachRate,
                         ::testing::Values(9600, 14400, 19200, 38400, 57600, 115200, 230400, 460800, 921600));

TEST_F(Detection, BytesSentAtAnotherRateAreNotUnderstood)
{
    port->setLineSettings(38400);
    camera->clearRecord();
    SendLine(connection, "MODEL");
    pause(0.2);
    EXPECT_EQ(ReadAvailable(connection), "");
    EXPECT_TRUE(camera->receivedLines().isEmpty());
    ASSERT_EQ(camera->record().bytes.size(), 6u);
    for (const auto& byte : camera->record().bytes) {
        EXPECT_EQ(byte.rate, 38400);
        EXPECT_FALSE(byte.understood);
    }
}

TEST_F(Detection, AnAnswerHeardAtAnotherRateIsNoiseWithoutACarriageReturn)
{
    // The port changes its rate after the echo, before the answer.
    SendLine(connection, "HELP TRG-SRC");
    pause(0.015);
    port->setLineSettings(19200);
    pause(0.2);
    const QByteArray heard = ReadAvailable(connection);
    ASSERT_TRUE(heard.startsWith("HELP TRG-SRC\r"));
    const QByteArray noise = heard.mid(13);
    EXPECT_EQ(noise.size(), QByteArray(" 0(11P)\r 1(7P)\r 2(10P)\r 4(Software)\rOK\r").size());
    EXPECT_FALSE(noise.contains('\r'));
    EXPECT_FALSE(noise.contains("OK"));
}

TEST_F(Detection, FailsAgainstACameraThatAnswersOnlyNoise)
{
    camera->setGarbageAnswers(true);
    EXPECT_EQ(DetectBaudRate(connection), kNoRateFound);
}
