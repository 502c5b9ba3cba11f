#pragma once

#include "Connection.h"
#include "Identification.h"
#include "Ports.h"

#include <QString>

class Clock;

// The connection to one camera and what is known of it: the port, opened by
// name through the port backends; the rate the camera answers at; its model,
// family and sensor tap count. The application's main window and pk70ctl
// both reach a camera through it, step by step as each needs. Nothing here
// shows a window or a message: failures come back as values.
class CameraSession {
public:
    explicit CameraSession(Clock& clock);

    Connection& connection() { return m_connection; }
    const Connection& connection() const { return m_connection; }

    // Closes the port in use, takes the name and the rate, and opens that
    // port at the rate. The text that tells the user why the port did not
    // open; empty when it opened, and for an empty name (nothing is opened).
    QString open(const QString& portName, qint32 baudRate);

    // Finds the rate the camera answers at and keeps it as the connection's
    // rate. False when none was found (the rate is then kNoRateFound): no
    // camera answered, the port is closed or went away, or the observer
    // cancelled.
    bool detectRate(const DetectionObserver& observer = {});
    // Whether the rate held is one a camera answered at.
    bool rateKnown() const { return m_connection.baudRate != kNoRateFound; }

    // Writes a line of three carriage returns and drops the answer, so that
    // the camera's command parser starts on a fresh line.
    void wake();

    // Asks the camera for its model ("MODEL", then "VERSION") and looks it
    // up in the model table. A model that matches no row, and no model at
    // all, give no family.
    void identify();

    // The tap count a panel of the family is given: for a Brevo camera read
    // with SENSOR-TAP and kept whatever it is (0 or -1 when the read fails),
    // 1 for Tovane, 0 for a camera without a family.
    int readSensorTaps();

    QString model() const { return m_model; }
    CameraFamily family() const { return m_family; }
    int sensorTaps() const { return m_sensorTaps; }

private:
    Connection m_connection;
    QString m_model;
    CameraFamily m_family = CameraFamily::None;
    int m_sensorTaps = 0;
};
