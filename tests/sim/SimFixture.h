#pragma once

#include "Clock.h"
#include "Connection.h"
#include "Link.h"
#include "SimulatedCamera.h"
#include "SimulatedPort.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

// Readable test parameters.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

// A connection on virtual time to one simulated camera through its port.
class SimFixture : public ::testing::Test {
protected:
    SimFixture() { useModel(QStringLiteral("PTM-TW640")); }

    // A fresh camera of this model, listening (and the port set) at rate.
    void useModel(const QString& model, qint32 rate = 9600)
    {
        camera = std::make_shared<SimulatedCamera>(model);
        camera->setListeningRate(rate);
        auto simulatedPort = std::make_unique<SimulatedPort>(camera, clock);
        port = simulatedPort.get();
        port->setLineSettings(rate);
        connection.attach(std::move(simulatedPort));
    }

    // Everything the camera sends back for a line, echo included, up to its
    // terminal line.
    QByteArray answer(const QByteArray& line)
    {
        ReadAvailable(connection);
        SendLine(connection, line);
        return ReadUntilOk(connection, 10.0);
    }

    QByteArray lastError() { return QueryText(connection, "GET-LAST-ERROR"); }

    double secondsSince(qint64 startUs) { return (clock.nowUs() - startUs) / 1e6; }
    void pause(double seconds) { clock.sleepUs(qint64(seconds * 1e6)); }

    VirtualClock clock;
    Connection connection{clock};
    std::shared_ptr<SimulatedCamera> camera;
    SimulatedPort* port = nullptr;
};
