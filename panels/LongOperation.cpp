#include "LongOperation.h"

#include "Clock.h"
#include "Controls.h"
#include "OperationProgress.h"
#include "Link.h"

#include <QAbstractButton>
#include <QCoreApplication>

#include <algorithm>
#include <vector>

namespace {

void processQtEvents()
{
    QCoreApplication::processEvents();
}

PendingEventsRunner& currentRunner()
{
    static PendingEventsRunner runner = processQtEvents;
    return runner;
}

// The operations running now, innermost last.
std::vector<LongOperation*>& runningOperations()
{
    static std::vector<LongOperation*> operations;
    return operations;
}

} // namespace

void runPendingEvents()
{
    if (currentRunner())
        currentRunner()();
}

PendingEventsRunner setPendingEventsRunner(PendingEventsRunner runner)
{
    PendingEventsRunner previous = currentRunner();
    currentRunner() = runner ? std::move(runner) : PendingEventsRunner(processQtEvents);
    return previous;
}

QString LongOperation::notFinishedText()
{
    return QStringLiteral("The camera did not finish the detection");
}

LongOperation::LongOperation(Connection& connection, QObject* owner)
    : m_connection(connection), m_sequence(connection), m_owner(owner), m_ownerWindowWasShown(windowShown(owner))
{
    runningOperations().push_back(this);
}

LongOperation::~LongOperation()
{
    std::erase(runningOperations(), this);
}

void LongOperation::endAll(Connection& connection)
{
    for (LongOperation* operation : runningOperations()) {
        if (&operation->m_connection == &connection)
            operation->m_endRequested = true;
    }
}

bool LongOperation::runningOn(const Connection& connection)
{
    return std::ranges::any_of(runningOperations(), [&connection](const LongOperation* operation) {
        return &operation->m_connection == &connection;
    });
}

bool LongOperation::ownerWindowClosed() const
{
    // Leaving the page's tab keeps it running: the panel is still open and
    // the operation's last steps (a save after a detection) still belong to
    // the user.
    return m_ownerWindowWasShown && !windowShown(m_owner.data());
}

bool LongOperation::pause(int ms)
{
    // Timed to the microsecond, so that a pause never ends early.
    Clock& clock = m_connection.clock();
    const qint64 endUs = clock.nowUs() + qint64(ms) * 1000;
    for (;;) {
        runPendingEvents();
        if (m_owner.isNull() || m_endRequested || m_stopRequested || ownerWindowClosed())
            return false;
        const qint64 remainingUs = endUs - clock.nowUs();
        if (remainingUs <= 0)
            return true;
        m_connection.pauseUs(qMin<qint64>(remainingUs, kSliceMs * 1000));
    }
}

LongOperation::Outcome LongOperation::ending() const
{
    if (m_owner.isNull())
        return Outcome::PageGone;
    return m_stopRequested && !m_endRequested && !ownerWindowClosed() ? Outcome::Stopped : Outcome::Ended;
}

LongOperation::Outcome LongOperation::pollUntil(const QByteArray& command, const Polling& polling)
{
    // The line belongs to the page: it is gone when the page is.
    const QPointer<OperationProgress> progress(polling.progress);
    int polls = 0;
    const auto ended = [&](Outcome outcome) {
        if (progress)
            progress->ended(outcome, polls, polling.maxPolls);
        return outcome;
    };
    for (; polling.maxPolls <= 0 || polls < polling.maxPolls; ++polls) {
        if (progress)
            progress->running(this, polls, polling.maxPolls);
        if (polling.beforePause)
            polling.beforePause(polls);
        if (!pause(polls == 0 && polling.firstPauseMs >= 0 ? polling.firstPauseMs : polling.pauseMs))
            return ended(ending());
        m_lastValue = QueryInt(m_connection, command);
        if (polling.finished ? polling.finished(m_lastValue) : m_lastValue == 0) {
            ++polls;
            return ended(Outcome::Finished);
        }
    }
    return ended(Outcome::GaveUp);
}

RunningButton::RunningButton(QAbstractButton* button) : m_button(button), m_caption(button->text())
{
    button->setEnabled(false);
}

RunningButton::~RunningButton()
{
    if (!m_button)
        return;
    m_button->setText(m_caption);
    m_button->setEnabled(true);
}

void RunningButton::showProgress(const QString& caption)
{
    if (m_button)
        m_button->setText(caption);
}
