#include "CameraLinkSerial.h"
#include "CapturedMessages.h"
#include "Clock.h"
#include "Link.h"
#include "Ports.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstring>

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
    EXPECT_EQ(messages.texts, QStringList{"There is no port clser:PK70Sim#port0."});
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

TEST_F(CameraLinkSerialTest, SearchesTheVariablesDirectoriesTheConfigurationFolderThenThePackagesFolder)
{
    qputenv(CameraLinkPortBackend::kPathVariable, "/opt/a:/opt/b");
    const QStringList directories = CameraLinkPortBackend::searchDirectories("/usr/bin");
    qunsetenv(CameraLinkPortBackend::kPathVariable);
    ASSERT_EQ(directories.size(), 4);
    EXPECT_EQ(directories.at(0), "/opt/a");
    EXPECT_EQ(directories.at(1), "/opt/b");
    EXPECT_TRUE(directories.at(2).endsWith("/PK70App/clser"));
    // Where the package installs the simulated grabber's library.
    EXPECT_EQ(directories.at(3), "/usr/lib/pk70app/clser");
    EXPECT_EQ(CameraLinkPortBackend::searchDirectories("").size(), 1);
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
    // 9600 answered at once and is not reported.
    EXPECT_EQ(tried, (QList<qint32>{38400, 57600, 19200}));
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

TEST_F(CameraLinkSerialTest, TheLibraryExportsExactlyTheFunctionsOfTheApi)
{
    const QStringList api = {"clFlushPort", "clGetErrorText", "clGetManufacturerInfo", "clGetNumBytesAvail",
        "clGetNumSerialPorts", "clGetSerialPortIdentifier", "clGetSupportedBaudRates", "clSerialClose",
        "clSerialInit", "clSerialRead", "clSerialWrite", "clSetBaudRate"};
    QStringList withoutErrorText = api;
    withoutErrorText.removeOne("clGetErrorText");

    const struct {
        QString library;
        QStringList exported;
    } cases[] = {
        {grabberDirectory() + "/libclserpk70sim.so", api},
        {brokenDirectory() + "/libclserpk70broken.so", withoutErrorText},
    };
    for (const auto& c : cases) {
        QProcess nm;
        nm.start("nm", {"-D", "--defined-only", c.library});
        ASSERT_TRUE(nm.waitForFinished(30000)) << "nm did not run on " << c.library.toStdString();
        ASSERT_EQ(nm.exitCode(), 0) << nm.readAllStandardError().toStdString();
        QStringList symbols;
        for (const QString& line : QString::fromLatin1(nm.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts))
            symbols.append(line.section(' ', -1));
        symbols.sort();
        EXPECT_EQ(symbols, c.exported) << c.library.toStdString();
    }
}

// Libraries as the application may meet them: texts that do not fit the
// first buffer, unterminated ones, sizes that lie. The text is read from
// what the library was given and never past it.
TEST(CameraLinkTextFromApi, TakesTheTextWithinTheBufferAndAsksOnceMoreWhenItDoesNotFit)
{
    const QByteArray longId(300, 'x');
    const auto copying = [](QByteArray text) {
        return [text](char* buffer, uint32_t* size) {
            const uint32_t needed = uint32_t(text.size() + 1);
            if (*size < needed) {
                *size = needed;
                return int32_t(clser::BufferTooSmall);
            }
            std::memcpy(buffer, text.constData(), needed);
            return int32_t(clser::NoError);
        };
    };
    const struct {
        const char* name;
        std::function<int32_t(char*, uint32_t*)> library;
        QString text;
        int calls;
    } cases[] = {
        {"fits at once", copying("PK70Sim "), "PK70Sim", 1},
        {"needs 301 bytes", copying(longId), QString::fromLatin1(longId), 2},
        {"unterminated, fills the buffer",
            [](char* buffer, uint32_t* size) {
                std::memset(buffer, 'y', *size);
                return int32_t(clser::NoError);
            },
            QString(256, 'y'), 1},
        {"claims to need more than is sensible",
            [](char*, uint32_t* size) {
                *size = 1u << 31;
                return int32_t(clser::BufferTooSmall);
            },
            "", 1},
        {"too small but asks for no more room",
            [](char*, uint32_t*) { return int32_t(clser::BufferTooSmall); }, "", 1},
        {"too small every time",
            [](char*, uint32_t* size) {
                *size += 1;
                return int32_t(clser::BufferTooSmall);
            },
            "", 2},
        {"fails", [](char*, uint32_t*) { return int32_t(clser::InvalidIndex); }, "", 1},
    };
    for (const auto& c : cases) {
        int calls = 0;
        const QString text = textFromApi([&](char* buffer, uint32_t* size) {
            ++calls;
            return c.library(buffer, size);
        });
        EXPECT_EQ(text, c.text) << c.name;
        EXPECT_EQ(calls, c.calls) << c.name;
    }
}
