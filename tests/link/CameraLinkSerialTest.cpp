#include "CameraLinkSerial.h"
#include "CapturedMessages.h"
#include "Clock.h"
#include "Link.h"
#include "Ports.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// The Camera Link serial backend loading the simulated grabber's library
// through the real dlopen path. Its ports: port0 a PTM-TW640M, port1 a
// PTM-R560CL, both listening at 9600. Runs on the real clock: every exchange
// here is a few tens of milliseconds.
class CameraLinkSerialTest : public ::testing::Test {
protected:
    static QString grabberDirectory() { return QStringLiteral(PK_GRABBER_DIR); }
    static QString brokenDirectory() { return QStringLiteral(PK_BROKEN_GRABBER_DIR); }

    void TearDown() override
    {
        if (backend)
            PortRegistry::instance().remove(backend);
    }

    void registerBackend(const QStringList& directories)
    {
        backend = std::make_shared<CameraLinkPortBackend>(directories);
        PortRegistry::instance().add(backend);
    }

    std::shared_ptr<CameraLinkPortBackend> backend;
    CapturedMessages messages;
};

TEST_F(CameraLinkSerialTest, ListsThePortsOfEveryLibraryFoundByManufacturerAndIdentifier)
{
    registerBackend({grabberDirectory()});
    EXPECT_EQ(backend->portNames(), (QStringList{"clser:PK70Sim#port0", "clser:PK70Sim#port1"}));
    EXPECT_TRUE(listedPortNames().contains("clser:PK70Sim#port1"));
    EXPECT_TRUE(ProbePort("clser:PK70Sim#port0"));
    EXPECT_FALSE(ProbePort("clser:PK70Sim#port7"));
}

TEST_F(CameraLinkSerialTest, LibrariesThatDoNotLoadOrLackAFunctionAreSkipped)
{
    QTemporaryDir junk;
    ASSERT_TRUE(junk.isValid());
    QFile notALibrary(junk.filePath("libclserjunk.so"));
    ASSERT_TRUE(notALibrary.open(QIODevice::WriteOnly));
    notALibrary.write("this is not a shared object\n");
    notALibrary.close();

    registerBackend({junk.path(), brokenDirectory(), QStringLiteral("/nonexistent/pk70")});
    EXPECT_TRUE(backend->portNames().isEmpty());
    EXPECT_EQ(OpenPort("clser:PK70Sim#port0", 9600), nullptr);
    EXPECT_EQ(messages.texts, QStringList{"SerialPort is opened by another program!"});
}

TEST_F(CameraLinkSerialTest, OnlyConventionallyNamedFilesAreTaken)
{
    QTemporaryDir folder;
    for (const char* name : {"clservendor.so", "libclserother.so", "libfoo.so", "clser.txt", "libclserx.so.1"}) {
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const QStringList files = CameraLinkPortBackend::libraryFiles({folder.path()});
    EXPECT_EQ(files, (QStringList{folder.filePath("clservendor.so"), folder.filePath("libclserother.so")}));
}

TEST_F(CameraLinkSerialTest, SearchesTheVariablesDirectoriesBeforeTheConfigurationFolder)
{
    qputenv(CameraLinkPortBackend::kPathVariable, "/opt/a:/opt/b");
    const QStringList directories = CameraLinkPortBackend::searchDirectories();
    qunsetenv(CameraLinkPortBackend::kPathVariable);
    ASSERT_GE(directories.size(), 3);
    EXPECT_EQ(directories.at(0), "/opt/a");
    EXPECT_EQ(directories.at(1), "/opt/b");
    EXPECT_TRUE(directories.at(2).endsWith("/PK70App/clser"));
}

TEST_F(CameraLinkSerialTest, ExchangesLinesWithTheCameraBehindThePort)
{
    registerBackend({grabberDirectory()});
    Connection connection(SteadyClock::instance());
    connection.attach(OpenPort("clser:PK70Sim#port1", 9600));
    ASSERT_TRUE(connection.isOpen());
    EXPECT_EQ(QueryText(connection, "MODEL"), "PTM-R560CL");
    EXPECT_TRUE(Transact(connection, "GAIN 12", 1.0));
    EXPECT_EQ(QueryInt(connection, "GAIN"), 12);
    EXPECT_EQ(ReadAvailable(connection), "");
}

TEST_F(CameraLinkSerialTest, DetectionSkipsTheRateTheApiCannotSet)
{
    registerBackend({grabberDirectory()});
    Connection connection(SteadyClock::instance());
    connection.attach(OpenPort("clser:PK70Sim#port0", 38400));
    ASSERT_TRUE(connection.isOpen());
    EXPECT_FALSE(connection.port()->supportsRate(14400));
    QList<qint32> tried;
    const qint32 found = DetectBaudRate(connection, [&](int, qint32 rate) {
        tried << rate;
        return true;
    });
    EXPECT_EQ(found, 9600);
    EXPECT_EQ(tried, (QList<qint32>{38400, 57600, 19200, 9600}));
}

TEST_F(CameraLinkSerialTest, APortInUseFailsToOpenWithTheMessage)
{
    registerBackend({grabberDirectory()});
    auto first = OpenPort("clser:PK70Sim#port0", 9600);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(OpenPort("clser:PK70Sim#port0", 9600), nullptr);
    EXPECT_EQ(messages.texts, QStringList{"SerialPort is opened by another program!"});
    first->close();
    EXPECT_NE(OpenPort("clser:PK70Sim#port0", 9600), nullptr);
}

TEST_F(CameraLinkSerialTest, ErrorsOfTheApiBecomeSilentFailures)
{
    registerBackend({grabberDirectory()});
    auto port = OpenPort("clser:PK70Sim#port0", 9600);
    ASSERT_NE(port, nullptr);
    EXPECT_FALSE(port->setLineSettings(14400)); // no bit for it in the API
    EXPECT_FALSE(port->setLineSettings(0));
    port->close();
    EXPECT_EQ(port->bytesWaiting(), -1);
    EXPECT_EQ(port->read(10), QByteArray());
    EXPECT_EQ(port->write("MODEL\r"), -1);
    EXPECT_FALSE(port->waitReadable(5));
}
