#pragma once

// Whole control panels as the application builds them, on a simulated camera
// of the test's model, on virtual time.

#include "CapturedMessages.h"
#include "CommandWords.h"
#include "ControlPanelBrevo.h"
#include "ControlPanelTovane.h"
#include "Link.h"
#include "Models.h"
#include "SimulatedCamera.h"
#include "SimulatedPort.h"
#include "brevo/BrevoPages.h"
#include "tovane/TovanePages.h"

#include "QtPrinters.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <memory>

class SimPanelTest : public ::testing::TestWithParam<const char*> {
protected:
    SimPanelTest()
    {
        constexpr qint32 kRate = 115200;
        camera->setListeningRate(kRate);
        auto port = std::make_unique<SimulatedPort>(camera, clock);
        port->setLineSettings(kRate);
        connection.attach(std::move(port));
    }

    bool isBrevo() const { return sim::modelInfo(GetParam()).family == sim::Family::Brevo; }

    // Puts the camera into a state before the panel opens, as a user would
    // from the terminal.
    void given(const QByteArray& line)
    {
        EXPECT_TRUE(Transact(connection, line, 5.0)) << line.toStdString();
        camera->clearRecord();
    }

    void openPanel()
    {
        if (isBrevo())
            panel = std::make_unique<CControlPanelPTM_Brevo>(sendPath, GetParam(), QueryInt(connection, cmd::SENSOR_TAP),
                                                             brevoPages());
        else
            panel = std::make_unique<CControlPanelTovane>(sendPath, GetParam(), 1, tovanePages());
        camera->clearRecord();
    }

    QByteArray cameraValue(const Setting& setting) { return QueryText(connection, setting.query()).simplified(); }

    // The lines the camera read since the last look, once lines sent without
    // waiting have been answered and their refusals handled.
    QByteArrayList sentAfterwards()
    {
        QueryInt(connection, "MODEL");
        QCoreApplication::processEvents();
        QByteArrayList lines = camera->receivedLines();
        lines.removeOne("MODEL");
        camera->clearRecord();
        return lines;
    }

    VirtualClock clock;
    Connection connection{clock};
    SendPath sendPath{connection};
    std::shared_ptr<SimulatedCamera> camera = std::make_shared<SimulatedCamera>(QString::fromLatin1(GetParam()));
    CapturedMessages messages;
    std::unique_ptr<ControlPanel> panel;
};

// The parameter's model as a test name: "PTMTW640".
inline std::string modelTestName(const ::testing::TestParamInfo<const char*>& info)
{
    return QString::fromLatin1(info.param).remove('-').toStdString();
}
