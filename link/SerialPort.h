#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <functional>

// The port handle every exchange with the camera goes through. Four kinds
// stand behind it: the system's serial ports, Camera Link serial libraries,
// serial lines on the network and simulated cameras; everything above this
// interface is the same for all.
//
// Every operation is synchronous and never throws; a failed operation reports
// nothing beyond its return value.
class SerialPort {
public:
    virtual ~SerialPort() = default;

    // 8 data bits, no parity, one stop bit, no flow control, at this rate.
    virtual bool setLineSettings(qint32 baudRate) = 0;

    // The rate the port runs at now; 0 when the port cannot tell.
    virtual qint32 baudRate() const { return 0; }

    // Bytes in the input queue now, clearing any pending line error; -1 when
    // the port cannot tell.
    virtual qint64 bytesWaiting() = 0;

    // Reads up to maxBytes of what is already waiting; never waits.
    virtual QByteArray read(qint64 maxBytes) = 0;

    // Writes the whole buffer; returns the bytes written or -1.
    virtual qint64 write(const QByteArray& bytes) = 0;

    // Blocks until bytes are readable or timeoutMs has passed, so polling
    // loops sleep instead of spinning. True when bytes are waiting.
    virtual bool waitReadable(int timeoutMs) = 0;

    virtual void close() = 0;

    // True once the device behind the port has gone: the far end hung up,
    // the adapter was unplugged, or the device fails every operation. A lost
    // port never recovers; the connection closes it.
    virtual bool isLost() const { return false; }

    // Called from the event loop when bytes arrive while nobody is waiting
    // on the port, for ports that can tell; the others are read between
    // exchanges on a timer. Null removes the handler.
    virtual void setArrivalHandler(std::function<void()> handler) { Q_UNUSED(handler); }

    // Whether the port can run at this rate at all; detection skips the rest.
    virtual bool supportsRate(qint32 baudRate) const
    {
        Q_UNUSED(baudRate);
        return true;
    }

    // False for a port whose line runs at a rate set elsewhere (a raw TCP
    // port of a serial server): setLineSettings only tells it the rate for
    // its timing, and detection cannot try rates on it.
    virtual bool setsRate() const { return true; }
};
