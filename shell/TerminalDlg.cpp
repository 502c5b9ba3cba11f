#include "TerminalDlg.h"

#include "Clock.h"
#include "Connection.h"
#include "SendPath.h"
#include "DialogUnits.h"
#include "Link.h"
#include "LongOperation.h"
#include "MyEdit.h"

#include <QFontDatabase>

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>

namespace {

void scrollToEnd(QPlainTextEdit* edit)
{
    edit->moveCursor(QTextCursor::End);
    edit->verticalScrollBar()->setValue(edit->verticalScrollBar()->maximum());
}

} // namespace

CTerminalDlg::CTerminalDlg(SendPath& sendPath, QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_sendPath(sendPath),
      m_connection(sendPath.connection()),
      m_commandEdit(new QLineEdit(this)),
      m_sentList(new CMyEdit(this)),
      m_responseLog(new QPlainTextEdit(this)),
      m_closeButton(new QPushButton(QStringLiteral("Close"), this))
{
    setWindowTitle(QStringLiteral("Terminal"));
    m_sentList->setMaximumBlockCount(kMaxLines);
    m_responseLog->setMaximumBlockCount(kMaxLines);
    m_responseLog->setReadOnly(true);
    // Answers line up in columns (HELP lists, tables of values).
    m_responseLog->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_responseLog->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_responseLog->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    // Each label is its field's buddy, which also names the field for
    // screen readers and test tools.
    auto labelFor = [this](const QString& text, QWidget* field) {
        auto* label = new QLabel(text, this);
        label->setBuddy(field);
        field->setAccessibleName(text);
        return label;
    };
    auto* layout = new QGridLayout(this);
    layout->addWidget(labelFor(QStringLiteral("Command"), m_commandEdit), 0, 0);
    layout->addWidget(m_commandEdit, 0, 1);
    layout->addWidget(labelFor(QStringLiteral("Sent"), m_sentList), 1, 0, Qt::AlignTop);
    layout->addWidget(m_sentList, 1, 1);
    layout->addWidget(labelFor(QStringLiteral("Response"), m_responseLog), 2, 0, Qt::AlignTop);
    layout->addWidget(m_responseLog, 2, 1);
    layout->addWidget(m_closeButton, 3, 1, Qt::AlignRight);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(1, 1);
    layout->setRowStretch(2, 2);

    connect(m_closeButton, &QPushButton::clicked, this, &QWidget::hide);
    // Bytes no exchange waited for are shown while the terminal is open;
    // a hidden terminal lets them go.
    connect(&m_connection, &Connection::unsolicitedInput, this, [this](const QByteArray& bytes) {
        if (isVisible())
            appendToResponseLog(bytes);
    });
    connect(m_sentList, &CMyEdit::lineDoubleClicked, this,
            [this](const QString& text) { putIntoCommandEdit(text, false); });

    // Only the controls that can have the focus are watched: a key they leave
    // unhandled travels on to the window, which must not act on it twice.
    for (QWidget* control : {static_cast<QWidget*>(m_commandEdit), static_cast<QWidget*>(m_sentList),
                             static_cast<QWidget*>(m_responseLog), static_cast<QWidget*>(m_closeButton)})
        control->installEventFilter(this);

    resize(DialogUnits::standard().toPixels(464, 239));
}

bool CTerminalDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        // Handled for the whole window whichever control has the focus; the
        // key then goes on to that control as usual.
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            sendCommand();
            break;
        case Qt::Key_Up:
            recallPrevious();
            break;
        case Qt::Key_Down:
            recallNext();
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CTerminalDlg::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        m_commandEdit->setFocus();
        m_commandEdit->deselect();
    }
}

void CTerminalDlg::sendCommand()
{
    const QString command = m_commandEdit->text();
    m_commandEdit->clear();
    // Never in the middle of another exchange (a long page operation that
    // lets windows handle input while it polls the camera): the line goes
    // out once that exchange is over.
    m_sendPath.whenIdle([this, command] { send(command); }, this);
}

void CTerminalDlg::send(const QString& command)
{
    {
        Connection::BusyScope busy(m_connection);
        // What came since the last answer is not part of this one.
        m_connection.passOnUnsolicited(ReadAvailable(m_connection));
        SendLine(m_connection, command.toLatin1());
        // A long answer at a low rate takes seconds: it is shown as it comes,
        // and the windows repaint meanwhile. User actions wait for the
        // connection like those during any other exchange.
        Clock& clock = m_connection.clock();
        qint64 repaintedAtMs = clock.nowMs();
        bool answerBegun = false;
        ReadAnswerWhileArriving(m_connection, kAnswerTimeoutMs, kLongAnswerTimeoutMs, [&](const QByteArray& arrived) {
            if (!arrived.isEmpty()) {
                if (answerBegun)
                    continueResponseLog(arrived);
                else
                    appendToResponseLog(arrived);
                answerBegun = true;
            }
            if (clock.nowMs() - repaintedAtMs >= kRepaintEveryMs) {
                repaintedAtMs = clock.nowMs();
                runPendingEvents();
            }
        });
    }
    appendToSentList(command);
    m_historyPosition = m_sentList->lineCount();
    scrollToEnd(m_sentList);
    scrollToEnd(m_responseLog);
}

void CTerminalDlg::appendToSentList(const QString& command)
{
    // One line per command, with white space trimmed at both ends of the
    // whole list: blank commands leave no line, and only the first line
    // loses its leading blanks.
    QString line = command;
    while (!line.isEmpty() && line.back().isSpace())
        line.chop(1);
    if (m_sentList->document()->isEmpty())
        line = line.trimmed();
    if (!line.isEmpty())
        m_sentList->appendPlainText(line);
}

void CTerminalDlg::appendToResponseLog(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return;
    QTextCursor end(m_responseLog->document());
    end.movePosition(QTextCursor::End);
    if (!end.block().text().isEmpty())
        end.insertText(QStringLiteral("\n"));
    continueResponseLog(bytes);
}

void CTerminalDlg::continueResponseLog(const QByteArray& bytes)
{
    QTextCursor end(m_responseLog->document());
    end.movePosition(QTextCursor::End);
    // A camera that sends a line without end must not grow one line of the
    // log without bound: every kMaxLineLength characters a line is broken.
    QString text = QString::fromLatin1(bytes).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    qsizetype lineLength = end.block().length() - 1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('\n')) {
            lineLength = 0;
        } else if (++lineLength > kMaxLineLength) {
            text.insert(i, QLatin1Char('\n'));
            lineLength = 0;
        }
    }
    end.insertText(text);
    scrollToEnd(m_responseLog);
}

void CTerminalDlg::recallPrevious()
{
    recall(qMax(0, m_historyPosition - 1));
}

void CTerminalDlg::recallNext()
{
    recall(qMin(m_sentList->lineCount() - 1, m_historyPosition + 1));
}

void CTerminalDlg::recall(int position)
{
    m_historyPosition = qMax(0, position);
    putIntoCommandEdit(m_sentList->lineText(m_historyPosition, kRecallLength), true);
}

void CTerminalDlg::putIntoCommandEdit(const QString& text, bool selectAll)
{
    m_commandEdit->setText(text);
    if (selectAll)
        m_commandEdit->selectAll();
}
