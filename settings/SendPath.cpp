#include "SendPath.h"

#include "Connection.h"
#include "Link.h"
#include "Reading.h"
#include "Setting.h"

#include <QCoreApplication>
#include <QTimer>

#include <algorithm>

SendPath::SendPath(Connection& connection, QObject* parent) : QObject(parent), m_connection(connection)
{
    connect(&m_connection, &Connection::freed, this, &SendPath::scheduleWaitingActions);
}

SendPath::~SendPath() = default;

void SendPath::whenIdle(std::function<void()> action, QObject* guard)
{
    if (!m_connection.isBusy() && m_waiting.empty()) {
        ++m_actionNumber;
        action();
        return;
    }
    m_waiting.push_back({std::move(action), QPointer<QObject>(guard), guard != nullptr});
    if (!m_connection.isBusy())
        scheduleWaitingActions();
}

void SendPath::scheduleWaitingActions()
{
    // Not from inside the exchange that has just ended: the handler that
    // opened it may still be running. The actions run once it has returned.
    if (m_runScheduled || (m_waiting.empty() && m_pendingRefusals.empty()) || !QCoreApplication::instance())
        return;
    m_runScheduled = true;
    QTimer::singleShot(0, this, &SendPath::runWaitingActions);
}

void SendPath::runWaitingActions()
{
    m_runScheduled = false;
    while (!m_connection.isBusy() && !m_pendingRefusals.empty()) {
        const PendingRefusal refusal = m_pendingRefusals.front();
        m_pendingRefusals.erase(m_pendingRefusals.begin());
        if (refusal.forSetting && !refusal.setting)
            continue;
        const QString reason = refusal.setting ? reasonFor(*refusal.setting) : LastErrorText(m_connection);
        if (refusal.setting) {
            readBack(*refusal.setting);
            readFollowers(*refusal.setting);
            emit refusal.setting->sendRefused(reason);
        }
        reportRefusal(refusal.line, reason);
    }
    while (!m_waiting.empty() && !m_connection.isBusy()) {
        Waiting next = std::move(m_waiting.front());
        m_waiting.pop_front();
        if (next.guarded && next.guard.isNull())
            continue;
        ++m_actionNumber;
        next.action();
    }
}

SetOutcome SendPath::set(Setting& setting, int value, std::optional<SendMode> mode)
{
    return set(setting, QByteArray::number(value), mode);
}

SetOutcome SendPath::set(Setting& setting, const QByteArray& argument, std::optional<SendMode> mode)
{
    const QByteArray line = setting.lineFor(argument);
    const SendMode sending = mode.value_or(setting.sendMode());
    if (!sending.awaitsAnswer()) {
        QPointer<Setting> guard(&setting);
        StreamLine(m_connection, line, [this, guard, line] { streamedLineRefused(guard.data(), line); });
        setting.setValue(argument);
        readFollowers(setting);
        emit setting.sendSettled();
        emit accepted(line);
        return SetOutcome::Accepted;
    }
    const SetOutcome outcome = TransactOutcome(m_connection, line, sending.timeoutSeconds());
    switch (outcome) {
    case SetOutcome::Accepted:
        setting.setValue(argument);
        readFollowers(setting);
        emit setting.sendSettled();
        emit accepted(line);
        break;
    case SetOutcome::Refused: {
        // The camera's reason is asked for before anything else can
        // overwrite it.
        const QString reason = reasonFor(setting);
        readBack(setting);
        readFollowers(setting);
        emit setting.sendRefused(reason);
        reportRefusal(line, reason);
        break;
    }
    case SetOutcome::NoAnswer:
        setting.reshow();
        readFollowers(setting);
        emit setting.sendSettled();
        emit unanswered(line);
        break;
    }
    return outcome;
}

SetOutcome SendPath::command(const QByteArray& line, SendMode mode)
{
    if (!mode.awaitsAnswer()) {
        StreamLine(m_connection, line, [this, line] {
            m_pendingRefusals.push_back({nullptr, false, line});
            scheduleWaitingActions();
        });
        emit accepted(line);
        return SetOutcome::Accepted;
    }
    const SetOutcome outcome = TransactOutcome(m_connection, line, mode.timeoutSeconds());
    if (outcome == SetOutcome::Refused)
        reportRefusal(line, LastErrorText(m_connection));
    else if (outcome == SetOutcome::NoAnswer)
        emit unanswered(line);
    else
        emit accepted(line);
    return outcome;
}

void SendPath::reportRefusal(const QByteArray& line, const QString& reason)
{
    emit refused(line, reason);
}

QString SendPath::reasonFor(const Setting& setting)
{
    if (setting.reasonDelayMs() > 0)
        m_connection.pauseMs(setting.reasonDelayMs(), QStringLiteral("the camera to be ready to tell why it refused"));
    return LastErrorText(m_connection);
}

void SendPath::readBack(Setting& setting)
{
    readSetting(m_connection, setting);
}

void SendPath::readFollowers(const Setting& setting)
{
    for (Setting* follower : setting.followers())
        readSetting(m_connection, *follower);
}

void SendPath::streamedLineRefused(Setting* setting, const QByteArray& line)
{
    // A drag may have streamed many refused lines; the setting is read back
    // once, after the last of them.
    const auto same = [setting](const PendingRefusal& pending) { return pending.forSetting && pending.setting == setting; };
    const auto it = std::find_if(m_pendingRefusals.begin(), m_pendingRefusals.end(), same);
    if (it != m_pendingRefusals.end())
        it->line = line;
    else
        m_pendingRefusals.push_back({setting, true, line});
    if (!m_connection.isBusy())
        scheduleWaitingActions();
}
