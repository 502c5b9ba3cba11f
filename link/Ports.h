#pragma once

#include "Connection.h"
#include "PortBackend.h"
#include "SerialPort.h"

#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>

// Rates tried by baud detection, in this order.
inline constexpr std::array<qint32, 9> kDetectionRates = {38400, 57600, 19200, 14400, 9600,
                                                          115200, 230400, 460800, 921600};
// Rates offered in the port dialog, in list order.
inline constexpr std::array<qint32, 9> kOfferedRates = {9600, 14400, 19200, 38400, 57600,
                                                        115200, 230400, 460800, 921600};
inline constexpr int kDetectionPasses = 30;
// What detection returns when no rate was found; not a rate that is tried.
inline constexpr qint32 kNoRateFound = 4800;

inline const QString kPortInUseMessage = QStringLiteral("SerialPort is opened by another program!");

// What the user is told when a port does not open: kPortInUseMessage for a
// port another program holds; for a device the user may not open, which
// device it is and the group whose members may (read from the device itself);
// that a name does not exist, or is no serial port.
QString openFailureMessage(const QString& portName, const PortOpening& opening);

// Opens and configures the named port; null (the invalid handle) on failure.
// An empty name fails silently; any other failure shows its message.
std::unique_ptr<SerialPort> OpenPort(const QString& portName, qint32 baudRate);

// True when the port can be opened right now; it is closed again at once. A
// network port is not connected to for this (a server that does not answer
// takes seconds to fail, and one that does opens its device): a well-formed
// name counts as openable.
bool ProbePort(const QString& portName);

// Every port name the backends offer, the ones that cannot be opened included.
QStringList listedPortNames();

// Told about each candidate that has not answered at once (pass from 1);
// returning false cancels detection, which then ends as if no rate had been
// found.
using DetectionObserver = std::function<bool(int pass, qint32 baudRate)>;

// Finds the rate at which the camera answers an empty line and leaves the port
// set to it; kNoRateFound after 30 fruitless passes (the port is then left at
// the last candidate) or when the connection is closed. A port that cannot
// set its rate (a raw TCP port) is not searched: the connection's rate is
// returned as it is.
qint32 DetectBaudRate(Connection& connection, const DetectionObserver& observer = {});
