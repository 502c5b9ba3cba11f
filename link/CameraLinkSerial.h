#pragma once

#include "CameraLinkSerialApi.h"
#include "PortBackend.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

// A text the API copies into the caller's buffer (a manufacturer name, a port
// identifier): asked for with room for 256 bytes and, when the library
// answers BufferTooSmall, once more with the size it needs (up to 64 KiB).
// Never read past the buffer, even when the library leaves it unterminated;
// empty when the library fails.
using ApiTextCopy = std::function<int32_t(char* buffer, uint32_t* size)>;
QString textFromApi(const ApiTextCopy& copy);

// One loaded Camera Link serial library with every function of the API
// resolved. load() returns null (and says why on standard error) for a file
// that is not a library or lacks a function.
class CameraLinkSerialLibrary {
public:
    static std::shared_ptr<CameraLinkSerialLibrary> load(const QString& path);
    ~CameraLinkSerialLibrary();

    QString path() const { return m_path; }
    QString manufacturer() const { return m_manufacturer; }
    // The library's port identifiers, by port index.
    QStringList portIdentifiers() const;

    clSerialInitFn serialInit = nullptr;
    clSerialReadFn serialRead = nullptr;
    clSerialWriteFn serialWrite = nullptr;
    clSerialCloseFn serialClose = nullptr;
    clGetNumBytesAvailFn getNumBytesAvail = nullptr;
    clFlushPortFn flushPort = nullptr;
    clSetBaudRateFn setBaudRate = nullptr;
    clGetSupportedBaudRatesFn getSupportedBaudRates = nullptr;
    clGetNumSerialPortsFn getNumSerialPorts = nullptr;
    clGetSerialPortIdentifierFn getSerialPortIdentifier = nullptr;
    clGetManufacturerInfoFn getManufacturerInfo = nullptr;
    clGetErrorTextFn getErrorText = nullptr;

private:
    CameraLinkSerialLibrary() = default;
    void* m_handle = nullptr;
    QString m_path;
    QString m_manufacturer;
};

// A port of a Camera Link serial library. The API has no wait call, so
// waiting reads one byte with the API's own time-out and keeps it.
class CameraLinkSerialPort : public SerialPort {
public:
    CameraLinkSerialPort(std::shared_ptr<CameraLinkSerialLibrary> library, void* serialRef);
    ~CameraLinkSerialPort() override;

    bool setLineSettings(qint32 baudRate) override;
    qint32 baudRate() const override { return m_baudRate; }
    qint64 bytesWaiting() override;
    QByteArray read(qint64 maxBytes) override;
    qint64 write(const QByteArray& bytes) override;
    bool waitReadable(int timeoutMs) override;
    void close() override;
    bool supportsRate(qint32 baudRate) const override;

private:
    std::shared_ptr<CameraLinkSerialLibrary> m_library;
    void* m_serialRef;
    uint32_t m_supportedRates = 0;
    qint32 m_baudRate = 0;
    QByteArray m_held; // bytes already taken from the library by a wait
};

// Lists and opens the ports of every Camera Link serial library found, named
// "clser:<manufacturer>#<port identifier>".
class CameraLinkPortBackend : public PortBackend {
public:
    // Where libraries are looked for: the directories in this environment
    // variable (separated by colons), the user's configuration folder, then
    // the folder the package installs libraries to, found from the folder of
    // the running program (none when it is empty).
    static constexpr const char* kPathVariable = "PK70_CLSER_PATH";
    static QStringList searchDirectories(const QString& programDirectory = runningProgramDirectory());
    static QString runningProgramDirectory();
    // Files named clser<vendor>.so or libclser<vendor>.so in those directories.
    static QStringList libraryFiles(const QStringList& directories);

    explicit CameraLinkPortBackend(const QStringList& directories = searchDirectories());

    QStringList portNames() override;
    bool claims(const QString& name) const override;
    // A name no library offers does not exist; a port the library will not
    // open is taken as held by another program.
    PortOpening open(const QString& name) override;

private:
    struct PortAddress {
        std::shared_ptr<CameraLinkSerialLibrary> library;
        uint32_t index;
    };
    bool find(const QString& name, PortAddress& address) const;

    QList<std::shared_ptr<CameraLinkSerialLibrary>> m_libraries;
};
