#include "CameraLinkSerial.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

#include <dlfcn.h>

#include <cstdio>
#include <limits>
#include <vector>

namespace {

const QString kPrefix = QStringLiteral("clser:");

template <typename Function>
bool resolve(void* handle, const char* name, Function& function, const QString& path)
{
    function = reinterpret_cast<Function>(dlsym(handle, name));
    if (!function)
        std::fprintf(stderr, "Camera Link serial library %s skipped: it lacks %s\n", qPrintable(path), name);
    return function != nullptr;
}

constexpr uint32_t kFirstTextCapacity = 256;
constexpr uint32_t kLargestText = 64 * 1024;

} // namespace

QString textFromApi(const ApiTextCopy& copy)
{
    uint32_t capacity = kFirstTextCapacity;
    for (int attempt = 0; attempt < 2; ++attempt) {
        std::vector<char> buffer(capacity, '\0');
        uint32_t size = capacity;
        const int32_t status = copy(buffer.data(), &size);
        if (status == clser::NoError)
            return QString::fromLatin1(buffer.data(), qstrnlen(buffer.data(), buffer.size())).trimmed();
        if (status != clser::BufferTooSmall || size <= capacity || size > kLargestText)
            return {};
        capacity = size;
    }
    return {};
}

std::shared_ptr<CameraLinkSerialLibrary> CameraLinkSerialLibrary::load(const QString& path)
{
    void* handle = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        std::fprintf(stderr, "Camera Link serial library %s skipped: %s\n", qPrintable(path), dlerror());
        return nullptr;
    }
    std::shared_ptr<CameraLinkSerialLibrary> library(new CameraLinkSerialLibrary);
    library->m_handle = handle;
    library->m_path = path;
    const bool complete = resolve(handle, "clSerialInit", library->serialInit, path)
        && resolve(handle, "clSerialRead", library->serialRead, path)
        && resolve(handle, "clSerialWrite", library->serialWrite, path)
        && resolve(handle, "clSerialClose", library->serialClose, path)
        && resolve(handle, "clGetNumBytesAvail", library->getNumBytesAvail, path)
        && resolve(handle, "clFlushPort", library->flushPort, path)
        && resolve(handle, "clSetBaudRate", library->setBaudRate, path)
        && resolve(handle, "clGetSupportedBaudRates", library->getSupportedBaudRates, path)
        && resolve(handle, "clGetNumSerialPorts", library->getNumSerialPorts, path)
        && resolve(handle, "clGetSerialPortIdentifier", library->getSerialPortIdentifier, path)
        && resolve(handle, "clGetManufacturerInfo", library->getManufacturerInfo, path)
        && resolve(handle, "clGetErrorText", library->getErrorText, path);
    if (!complete)
        return nullptr;

    library->m_manufacturer = textFromApi([&](char* buffer, uint32_t* size) {
        uint32_t version = 0;
        return library->getManufacturerInfo(buffer, size, &version);
    });
    if (library->m_manufacturer.isEmpty())
        library->m_manufacturer = QFileInfo(path).completeBaseName();
    return library;
}

CameraLinkSerialLibrary::~CameraLinkSerialLibrary()
{
    if (m_handle)
        dlclose(m_handle);
}

QStringList CameraLinkSerialLibrary::portIdentifiers() const
{
    uint32_t count = 0;
    if (getNumSerialPorts(&count) != clser::NoError)
        return {};
    QStringList identifiers;
    for (uint32_t index = 0; index < qMin<uint32_t>(count, 64); ++index) {
        const QString text = textFromApi([&](char* buffer, uint32_t* size) {
            return getSerialPortIdentifier(index, buffer, size);
        });
        identifiers.append(text.isEmpty() ? QString::number(index) : text);
    }
    return identifiers;
}

CameraLinkSerialPort::CameraLinkSerialPort(std::shared_ptr<CameraLinkSerialLibrary> library, void* serialRef)
    : m_library(std::move(library)), m_serialRef(serialRef)
{
    if (m_library->getSupportedBaudRates(m_serialRef, &m_supportedRates) != clser::NoError)
        m_supportedRates = clser::rateBit(9600);
}

CameraLinkSerialPort::~CameraLinkSerialPort()
{
    close();
}

bool CameraLinkSerialPort::setLineSettings(qint32 baudRate)
{
    // The API's ports always run 8 data bits, no parity, one stop bit.
    const uint32_t bit = clser::rateBit(baudRate);
    const bool ok = m_serialRef && bit != 0 && m_library->setBaudRate(m_serialRef, bit) == clser::NoError;
    m_baudRate = ok ? baudRate : 0;
    return ok;
}

bool CameraLinkSerialPort::supportsRate(qint32 baudRate) const
{
    return (m_supportedRates & clser::rateBit(baudRate)) != 0;
}

qint64 CameraLinkSerialPort::bytesWaiting()
{
    if (!m_serialRef)
        return -1;
    uint32_t count = 0;
    if (m_library->getNumBytesAvail(m_serialRef, &count) != clser::NoError)
        return m_held.isEmpty() ? -1 : m_held.size();
    return m_held.size() + static_cast<qint64>(count);
}

QByteArray CameraLinkSerialPort::read(qint64 maxBytes)
{
    if (!m_serialRef || maxBytes <= 0)
        return {};
    QByteArray bytes = m_held.left(maxBytes);
    m_held.remove(0, bytes.size());
    uint32_t available = 0;
    if (bytes.size() < maxBytes && m_library->getNumBytesAvail(m_serialRef, &available) == clser::NoError
        && available > 0) {
        uint32_t size = static_cast<uint32_t>(qMin<qint64>(available, maxBytes - bytes.size()));
        std::vector<char> buffer(size);
        if (m_library->serialRead(m_serialRef, buffer.data(), &size, 0) == clser::NoError)
            bytes.append(buffer.data(), static_cast<qsizetype>(qMin<size_t>(size, buffer.size())));
    }
    return bytes;
}

qint64 CameraLinkSerialPort::write(const QByteArray& bytes)
{
    if (!m_serialRef)
        return -1;
    // The API takes a non-const buffer and at most 4 GiB less one byte a call.
    QByteArray copy = bytes.left(std::numeric_limits<uint32_t>::max());
    const uint32_t given = static_cast<uint32_t>(copy.size());
    uint32_t size = given;
    if (m_library->serialWrite(m_serialRef, copy.data(), &size, 1000) != clser::NoError)
        return -1;
    return static_cast<qint64>(qMin(size, given));
}

bool CameraLinkSerialPort::waitReadable(int timeoutMs)
{
    if (!m_serialRef)
        return false;
    if (bytesWaiting() > 0)
        return true;
    char byte = 0;
    uint32_t size = 1;
    if (m_library->serialRead(m_serialRef, &byte, &size, static_cast<uint32_t>(qMax(0, timeoutMs)))
            == clser::NoError
        && size == 1) {
        m_held.append(byte);
        return true;
    }
    return false;
}

void CameraLinkSerialPort::close()
{
    if (m_serialRef)
        m_library->serialClose(m_serialRef);
    m_serialRef = nullptr;
    m_held.clear();
}

QStringList CameraLinkPortBackend::searchDirectories(const QString& programDirectory)
{
    QStringList directories;
    const QString variable = qEnvironmentVariable(kPathVariable);
    for (const QString& directory : variable.split(QLatin1Char(':'), Qt::SkipEmptyParts))
        directories.append(directory);
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (!config.isEmpty())
        directories.append(config + QStringLiteral("/PK70App/clser"));
    if (!programDirectory.isEmpty())
        directories.append(QDir::cleanPath(programDirectory + QStringLiteral("/" PK_CLSER_FROM_PROGRAM)));
    return directories;
}

QString CameraLinkPortBackend::runningProgramDirectory()
{
    return QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
}

QStringList CameraLinkPortBackend::libraryFiles(const QStringList& directories)
{
    static const QRegularExpression conventional(QStringLiteral("^(lib)?clser[^/]*\\.so$"));
    QStringList files;
    for (const QString& directory : directories) {
        const QDir dir(directory);
        const QStringList names = dir.entryList(QDir::Files, QDir::Name);
        for (const QString& name : names) {
            if (conventional.match(name).hasMatch())
                files.append(dir.absoluteFilePath(name));
        }
    }
    files.removeDuplicates();
    return files;
}

CameraLinkPortBackend::CameraLinkPortBackend(const QStringList& directories)
{
    for (const QString& file : libraryFiles(directories)) {
        if (auto library = CameraLinkSerialLibrary::load(file))
            m_libraries.append(library);
    }
}

QStringList CameraLinkPortBackend::portNames()
{
    QStringList names;
    for (const auto& library : std::as_const(m_libraries)) {
        for (const QString& identifier : library->portIdentifiers())
            names.append(kPrefix + library->manufacturer() + QLatin1Char('#') + identifier);
    }
    return names;
}

bool CameraLinkPortBackend::claims(const QString& name) const
{
    return name.startsWith(kPrefix);
}

bool CameraLinkPortBackend::find(const QString& name, PortAddress& address) const
{
    for (const auto& library : m_libraries) {
        const QStringList identifiers = library->portIdentifiers();
        for (qsizetype index = 0; index < identifiers.size(); ++index) {
            if (name == kPrefix + library->manufacturer() + QLatin1Char('#') + identifiers.at(index)) {
                address = {library, static_cast<uint32_t>(index)};
                return true;
            }
        }
    }
    return false;
}

PortOpening CameraLinkPortBackend::open(const QString& name)
{
    PortAddress address;
    if (!find(name, address))
        return PortOpening::failed(OpenFailure::NoSuchPort);
    void* serialRef = nullptr;
    if (address.library->serialInit(address.index, &serialRef) != clser::NoError || !serialRef)
        return PortOpening::failed(OpenFailure::InUse);
    return {std::make_unique<CameraLinkSerialPort>(address.library, serialRef)};
}
