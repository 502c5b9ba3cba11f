#pragma once

#include "Clock.h"
#include "Connection.h"
#include "ScriptedPort.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <memory>

// A connection on virtual time to a scripted camera.
class LinkFixture : public ::testing::Test {
protected:
    LinkFixture()
    {
        auto port = std::make_unique<ScriptedPort>(clock);
        camera = port.get();
        connection.attach(std::move(port));
    }

    // Seconds of virtual time since the given reading.
    double secondsSince(qint64 startUs) { return (clock.nowUs() - startUs) / 1e6; }

    VirtualClock clock;
    Connection connection{clock};
    ScriptedPort* camera = nullptr;
};
