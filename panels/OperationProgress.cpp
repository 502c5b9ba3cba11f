#include "OperationProgress.h"

#include "Controls.h"
#include "LongOperation.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace {

QString ofLimit(int polls, int maxPolls)
{
    return maxPolls > 0 ? QStringLiteral("%1 of %2 polls").arg(polls).arg(maxPolls)
                        : QStringLiteral("%1 polls").arg(polls);
}

} // namespace

OperationProgress::OperationProgress(QWidget* parent, const QString& name)
    : QWidget(parent), m_text(new QLabel(this)), m_stop(new QPushButton(QStringLiteral("Stop"), this))
{
    const QString prefix = name.isEmpty() ? QString() : name + QLatin1Char(' ');
    m_text->setAccessibleName(prefix + QStringLiteral("Detection progress"));
    m_stop->setAccessibleName(prefix + QStringLiteral("Stop detection"));
    m_stop->setAutoDefault(false);
    m_stop->setEnabled(false);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(m_text, 1);
    row->addWidget(m_stop);
    // Not queued behind other user actions: it only asks the running
    // operation to end, which it does before its next poll.
    connect(m_stop, &QPushButton::clicked, this, [this] {
        if (m_operation)
            m_operation->stop();
    });
}

QString OperationProgress::text() const
{
    return m_text->text();
}

void OperationProgress::running(LongOperation* operation, int polls, int maxPolls)
{
    m_operation = operation;
    m_stop->setEnabled(true);
    showReadableText(m_text, QStringLiteral("Detection running: %1").arg(ofLimit(polls, maxPolls)));
}

void OperationProgress::ended(LongOperation::Outcome outcome, int polls, int maxPolls)
{
    m_operation = nullptr;
    m_stop->setEnabled(false);
    switch (outcome) {
    case LongOperation::Outcome::Finished:
        showReadableText(m_text, QStringLiteral("Detection finished after %1").arg(ofLimit(polls, maxPolls)));
        break;
    case LongOperation::Outcome::GaveUp:
        showReadableText(m_text, QStringLiteral("%1 within %2 polls; gave up").arg(LongOperation::notFinishedText()).arg(polls));
        break;
    case LongOperation::Outcome::Stopped:
        showReadableText(m_text, QStringLiteral("Detection stopped after %1").arg(ofLimit(polls, maxPolls)));
        break;
    case LongOperation::Outcome::Ended:
    case LongOperation::Outcome::PageGone:
        showReadableText(m_text, QStringLiteral("Detection ended after %1: its window closed").arg(ofLimit(polls, maxPolls)));
        break;
    }
}
