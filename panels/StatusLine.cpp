#include "StatusLine.h"

#include "Connection.h"
#include "Controls.h"
#include "Ports.h"
#include "SendPath.h"

#include <QHBoxLayout>
#include <QLabel>

StatusLine::StatusLine(SendPath& sendPath, QWidget* parent)
    : QWidget(parent), m_connection(sendPath.connection()), m_state(new QLabel(this)), m_refusal(new QLabel(this))
{
    m_state->setAccessibleName(QStringLiteral("Connection"));
    m_refusal->setAccessibleName(QStringLiteral("Last refusal"));
    m_state->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_refusal->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_state);
    layout->addStretch();
    layout->addWidget(m_refusal);

    connect(&m_connection, &Connection::stateChanged, this, &StatusLine::showState);
    connect(&m_connection, &Connection::lost, this, &StatusLine::showState);
    connect(&sendPath, &SendPath::refused, this, [this, &sendPath](const QByteArray& line, const QString& reason) {
        m_refusedInAction = sendPath.actionNumber();
        const QString text = QStringLiteral("Refused: %1").arg(QString::fromLatin1(line.trimmed()));
        showReadableText(m_refusal, reason.isEmpty() ? text : QStringLiteral("%1 (%2)").arg(text, reason));
    });
    connect(&sendPath, &SendPath::unanswered, this, [this, &sendPath](const QByteArray& line) {
        m_refusedInAction = sendPath.actionNumber();
        showReadableText(m_refusal, QStringLiteral("No answer: %1").arg(QString::fromLatin1(line.trimmed())));
    });
    connect(&sendPath, &SendPath::inputRejected, this, [this, &sendPath](const QString& why) {
        m_refusedInAction = sendPath.actionNumber();
        showReadableText(m_refusal, why);
    });
    // A refusal stays until the camera accepts a later action of the user's.
    connect(&sendPath, &SendPath::accepted, this, [this, &sendPath] {
        if (sendPath.actionNumber() != m_refusedInAction)
            showReadableText(m_refusal, QString());
    });
    showState();
}

QString StatusLine::connectionText() const
{
    return m_state->text();
}

QString StatusLine::refusalText() const
{
    return m_refusal->text();
}

void StatusLine::showState()
{
    const QString port = m_connection.portName;
    QString text;
    // The rate detection gives when no camera answered is no rate at all.
    if (m_connection.isOpen() && m_connection.baudRate == kNoRateFound)
        text = QStringLiteral("%1: open, but no camera answered at any baud rate").arg(port);
    else if (m_connection.isOpen())
        text = QStringLiteral("%1 at %2 baud: connected").arg(port).arg(m_connection.baudRate);
    else if (m_connection.wasLost())
        text = QStringLiteral("%1: connection lost; choose SerialPort in the main window to reconnect").arg(port);
    else if (port.isEmpty())
        text = QStringLiteral("No port open");
    else
        text = QStringLiteral("%1: disconnected").arg(port);
    showReadableText(m_state, text);
}
