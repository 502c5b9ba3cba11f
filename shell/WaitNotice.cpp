#include "WaitNotice.h"

#include "Clock.h"
#include "Connection.h"
#include "LongOperation.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

WaitNotice::WaitNotice(Connection& connection, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), m_connection(connection), m_text(new QLabel(this)),
      m_cancel(new QPushButton(QStringLiteral("Cancel"), this))
{
    setWindowTitle(QStringLiteral("Waiting for the Camera"));
    setAccessibleName(QStringLiteral("Waiting for the camera"));
    m_cancel->setAutoDefault(false);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_text, 1);
    layout->addWidget(m_cancel);
    setMinimumWidth(360);
    connect(m_cancel, &QPushButton::clicked, this, [this] { m_connection.cancelWait(); });
    connect(&m_connection, &Connection::freed, this, &QWidget::hide);
    m_connection.setWaitPump([this] { pump(); });
}

WaitNotice::~WaitNotice()
{
    m_connection.setWaitPump({});
}

void WaitNotice::pump()
{
    follow();
    runPendingEvents();
}

void WaitNotice::follow()
{
    const QString& what = m_connection.waitingFor();
    const qint64 waitedMs = (m_connection.clock().nowUs() - m_connection.waitingSinceUs()) / 1000;
    // A modal progress view with its own Cancel (the panel's first page,
    // a file applied) says enough, and would keep this one from input.
    const QWidget* modal = QApplication::activeModalWidget();
    if (what.isEmpty() || waitedMs < kShowAfterMs || m_connection.waitCancelled() || (modal && modal != this)) {
        if (isVisible())
            hide();
        return;
    }
    m_text->setText(QStringLiteral("Waiting for %1…").arg(what));
    if (!isVisible())
        show();
}
