#pragma once

// Pages against simulated cameras on virtual time: the page is built the way
// its panel builds it, and tests look at the lines the camera read.

#include "Catalogue.h"
#include "Clock.h"
#include "Connection.h"
#include "Link.h"
#include "Page.h"
#include "SendPath.h"
#include "SimulatedCamera.h"
#include "SimulatedPort.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

class SimPageTest : public ::testing::Test {
protected:
    void useModel(const QString& model)
    {
        camera = std::make_shared<SimulatedCamera>(model);
        camera->setListeningRate(kRate);
        auto port = std::make_unique<SimulatedPort>(camera, clock);
        port->setLineSettings(kRate);
        connection.attach(std::move(port));
    }

    // Puts the camera into a state before the test, as a user would from the
    // terminal; these lines are not part of what the test looks at.
    void given(const QByteArray& line)
    {
        EXPECT_TRUE(Transact(connection, line, 1.0)) << line.toStdString();
        camera->clearRecord();
    }
    int reported(const QByteArray& word)
    {
        const int value = QueryInt(connection, word);
        camera->clearRecord();
        return value;
    }

    // Builds the page the way its panel does, on settings of its own.
    template <class PageClass>
    std::unique_ptr<Page> open(int sensorTaps = 0)
    {
        pageSettings.push_back(std::make_unique<typename PageClass::Settings>(connection, QStringLiteral("test"),
                                                                             CatalogueContext{sensorTaps}));
        return std::unique_ptr<Page>(
            pageEntry<PageClass>(QStringLiteral("test")).create({sendPath, *pageSettings.back(), sensorTaps}, nullptr));
    }

    // The virtual time an action takes, in milliseconds.
    qint64 msTakenBy(const std::function<void()>& action)
    {
        const qint64 startMs = clock.nowMs();
        action();
        return clock.nowMs() - startMs;
    }

    // When the camera read the line (its carriage return), in microseconds of the clock.
    qint64 readAtUs(const QByteArray& text) const
    {
        for (const auto& line : camera->record().lines) {
            if (line.text == text)
                return line.atUs;
        }
        ADD_FAILURE() << "the camera never read " << text.toStdString();
        return 0;
    }

    // Lets the camera read every line already on the wire (lines written
    // without waiting, such as a slider's).
    void settle()
    {
        clock.sleepMs(3000);
        ReadAvailable(connection);
    }

    QByteArrayList sent() const { return camera->receivedLines(); }
    QByteArrayList sentSinceLastLook()
    {
        const QByteArrayList lines = camera->receivedLines();
        camera->clearRecord();
        return lines;
    }

    static constexpr qint32 kRate = 115200;
    VirtualClock clock;
    Connection connection{clock};
    SendPath sendPath{connection};
    std::vector<std::unique_ptr<PageSettings>> pageSettings;
    std::shared_ptr<SimulatedCamera> camera;
};
