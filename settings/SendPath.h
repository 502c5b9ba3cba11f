#pragma once

// The one way a line from a panel reaches the camera: every control, every
// handler and every file applied sends through here.
//
//   sendPath.whenIdle([&] { sendPath.set(gain, 12); }, page);   // a user action
//   sendPath.set(gain, 12);                  // "GAIN-FINE 12", as the setting sends
//   sendPath.set(gain, 12, SendMode::line()); // streamed, as a slider does
//   sendPath.command(setLine(cmd::USERSET_SAVE, 3));
//
// A setting the camera accepted holds the value sent. One it refused is read
// again, so every control that shows it shows the camera's value, and
// refused() names the line and the camera's reason (GET-LAST-ERROR). One it
// did not answer shows its last value again and unanswered() says so. A
// streamed line's refusal is handled the same way once its answer has come,
// after the exchange that collected it. Either way the settings the camera
// changes along with it (Setting::followedBy) are read again.
//
// User actions wait their turn: one that comes while an exchange runs (a
// wait lets the window take input) runs once that exchange has ended, in the
// order they came, and between two exchanges of a long operation, never
// inside one.

#include "SendMode.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>

#include <deque>
#include <vector>
#include <functional>
#include <optional>

class Connection;
class Setting;
enum class SetOutcome;

class SendPath : public QObject {
    Q_OBJECT
public:
    explicit SendPath(Connection& connection, QObject* parent = nullptr);
    ~SendPath() override;

    Connection& connection() const { return m_connection; }

    // Runs a user action now, or once the exchange that is running has ended.
    // An action whose guard has been destroyed by then is dropped.
    void whenIdle(std::function<void()> action, QObject* guard = nullptr);

    // Sets the setting to argument ("12", "1 0 0 640 480", "Camera A") with
    // the setting's own send mode or the one given.
    SetOutcome set(Setting& setting, const QByteArray& argument, std::optional<SendMode> mode = std::nullopt);
    SetOutcome set(Setting& setting, int value, std::optional<SendMode> mode = std::nullopt);
    // A command that is no setting (a button's: "RESET", "USERSET-LOAD 3").
    SetOutcome command(const QByteArray& line, SendMode mode = SendMode::transact());

    // Reads the setting again, so its controls show what the camera holds.
    void readBack(Setting& setting);

    // Counts the user actions run so far: lines sent by one action share
    // its number.
    int actionNumber() const { return m_actionNumber; }

    // Tells the user why something they typed was not sent.
    void rejectInput(const QString& why) { emit inputRejected(why); }

    // The camera's reason for the last line it refused (empty when it gave
    // none), for a control that shows it beside itself.

signals:
    // The camera accepted a line, refused it, or did not answer it.
    void accepted(const QByteArray& line);
    void refused(const QByteArray& line, const QString& reason);
    void unanswered(const QByteArray& line);
    void inputRejected(const QString& why);

private:
    void streamedLineRefused(Setting* setting, const QByteArray& line);
    void readFollowers(const Setting& setting);
    // The camera's reason for refusing a line of the setting, after the
    // time it needs to tell it.
    QString reasonFor(const Setting& setting);
    void scheduleWaitingActions();
    void runWaitingActions();
    void reportRefusal(const QByteArray& line, const QString& reason);

    Connection& m_connection;

    struct Waiting {
        std::function<void()> action;
        QPointer<QObject> guard;
        bool guarded = false;
    };
    std::deque<Waiting> m_waiting;
    bool m_runScheduled = false;
    int m_actionNumber = 0;

    // Streamed lines refused, per setting: read back once, after the last.
    struct PendingRefusal {
        QPointer<Setting> setting;
        bool forSetting = false; // false: a command's line
        QByteArray line;
    };
    std::vector<PendingRefusal> m_pendingRefusals;
};
