#include "SimFixture.h"

#include "CapturedMessages.h"
#include "PortBackend.h"
#include "Ports.h"

// The simulated cameras as ports of the application.

class SimulatedPortBackendTest : public ::testing::Test {
protected:
    SimulatedPortBackendTest() { PortRegistry::instance().add(backend); }
    ~SimulatedPortBackendTest() override { PortRegistry::instance().remove(backend); }

    VirtualClock clock;
    std::shared_ptr<SimulatedPortBackend> backend = std::make_shared<SimulatedPortBackend>(clock);
    CapturedMessages messages;
};

TEST_F(SimulatedPortBackendTest, OffersOnePortPerModelAfterTheSystemPorts)
{
    const QStringList expected = {"sim:PTM-TW640", "sim:PTM-TW640M", "sim:PTM-R560CL", "sim:PTM-R290CL",
                                  "sim:PTM-R140ML", "sim:PTM-R140MLF", "sim:PTM-6006"};
    EXPECT_EQ(backend->portNames(), expected);
    EXPECT_TRUE(listedPortNames().endsWith(expected.last()));
    for (const QString& name : expected)
        EXPECT_TRUE(ProbePort(name)) << name.toStdString();
}

TEST_F(SimulatedPortBackendTest, ClaimsOnlyNamesThatBeginWithSim)
{
    EXPECT_TRUE(backend->claims("sim:PTM-TW640"));
    EXPECT_TRUE(backend->claims("sim:anything"));
    EXPECT_FALSE(backend->claims("ttyS0"));
    EXPECT_FALSE(backend->claims("/dev/sim:PTM-TW640"));
}

TEST_F(SimulatedPortBackendTest, OpensAPortOnceAtATimeAndAgainAfterItIsClosed)
{
    auto first = OpenPort("sim:PTM-TW640M", 9600);
    ASSERT_NE(first, nullptr);
    EXPECT_FALSE(ProbePort("sim:PTM-TW640M"));
    EXPECT_EQ(OpenPort("sim:PTM-TW640M", 9600), nullptr);
    EXPECT_EQ(messages.texts, QStringList{kPortInUseMessage});
    EXPECT_NE(OpenPort("sim:PTM-TW640", 9600), nullptr);
    first->close();
    EXPECT_NE(OpenPort("sim:PTM-TW640M", 9600), nullptr);
}

TEST_F(SimulatedPortBackendTest, AnUnknownModelDoesNotOpen)
{
    EXPECT_EQ(OpenPort("sim:PTM-XYZ", 9600), nullptr);
    EXPECT_EQ(messages.texts, QStringList{"There is no port sim:PTM-XYZ."});
    EXPECT_EQ(backend->camera("PTM-XYZ"), nullptr);
}

TEST_F(SimulatedPortBackendTest, TheCameraKeepsItsSettingsAcrossReopeningThePort)
{
    Connection connection(clock);
    connection.attach(OpenPort("sim:PTM-TW640M", 38400));
    ASSERT_TRUE(connection.isOpen());
    EXPECT_EQ(DetectBaudRate(connection), 9600);
    EXPECT_TRUE(Transact(connection, "EXP 5000", 1.0));
    connection.close();

    connection.attach(OpenPort("sim:PTM-TW640M", 9600));
    EXPECT_EQ(QueryInt(connection, "EXP"), 5000);
    EXPECT_EQ(backend->camera("PTM-TW640M")->receivedLines().last(), "EXP");
}

TEST_F(SimulatedPortBackendTest, AnswersStillOnTheWireWhenThePortClosesAreLost)
{
    Connection connection(clock);
    connection.attach(OpenPort("sim:PTM-TW640", 9600));
    SendLine(connection, "HELP TRG-SRC");
    connection.close();
    clock.sleepUs(500000);
    connection.attach(OpenPort("sim:PTM-TW640", 9600));
    EXPECT_EQ(ReadAvailable(connection), "");
    EXPECT_EQ(QueryInt(connection, "WIDTH"), 640);
}

TEST_F(SimulatedPortBackendTest, AClosedPortReportsErrors)
{
    auto port = OpenPort("sim:PTM-6006", 9600);
    ASSERT_NE(port, nullptr);
    port->close();
    EXPECT_EQ(port->write("MODEL\r"), -1);
    EXPECT_EQ(port->bytesWaiting(), -1);
    EXPECT_FALSE(port->setLineSettings(9600));
}
