#include "WireLogDlg.h"

#include "DialogUnits.h"
#include "Messages.h"
#include "WireLog.h"

#include <QFileDialog>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSaveFile>
#include <QTimer>
#include <QVBoxLayout>

namespace {

QString chooseWithFileDialog(QWidget* parent)
{
    return QFileDialog::getSaveFileName(parent, QStringLiteral("Save Wire Log"), QStringLiteral("wirelog.txt"),
                                        QStringLiteral("Text files (*.txt);;All files (*)"));
}

} // namespace

CWireLogDlg::CWireLogDlg(WireLog& log, QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_log(log),
      m_chooseFile(chooseWithFileDialog),
      m_view(new QPlainTextEdit(this)),
      m_saveButton(new QPushButton(QStringLiteral("Save..."), this)),
      m_clearButton(new QPushButton(QStringLiteral("Clear"), this)),
      m_closeButton(new QPushButton(QStringLiteral("Close"), this))
{
    setWindowTitle(QStringLiteral("Wire Log"));
    m_view->setReadOnly(true);
    m_view->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_view->setMaximumBlockCount(int(m_log.capacity()));
    m_view->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_view->setAccessibleName(QStringLiteral("Wire log"));

    auto* explanation = new QLabel(
        QStringLiteral("Milliseconds since the port opened; -> to the camera, <- from the camera. "
                       "The last %L1 lines are kept.")
            .arg(m_log.capacity()),
        this);
    explanation->setWordWrap(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_saveButton);
    buttons->addWidget(m_clearButton);
    buttons->addStretch(1);
    buttons->addWidget(m_closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(explanation);
    layout->addWidget(m_view, 1);
    layout->addLayout(buttons);

    connect(m_saveButton, &QPushButton::clicked, this, &CWireLogDlg::save);
    connect(m_clearButton, &QPushButton::clicked, &m_log, &WireLog::clear);
    connect(m_closeButton, &QPushButton::clicked, this, &QWidget::hide);
    connect(&m_log, &WireLog::appended, this, &CWireLogDlg::scheduleUpdate);
    connect(&m_log, &WireLog::cleared, this, &CWireLogDlg::showAllLines);

    resize(DialogUnits::standard().toPixels(400, 240));
}

void CWireLogDlg::save()
{
    const QString path = m_chooseFile(this);
    if (!path.isEmpty())
        saveTo(path);
}

bool CWireLogDlg::saveTo(const QString& path)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && m_log.writeTo(file) && file.commit())
        return true;
    showMessage({.title = QStringLiteral("Wire Log Not Saved"),
                 .text = QStringLiteral("The wire log could not be saved to %1: %2").arg(path, file.errorString()),
                 .path = path});
    return false;
}

void CWireLogDlg::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    showAllLines();
}

void CWireLogDlg::scheduleUpdate()
{
    if (m_updateScheduled || !isVisible())
        return;
    m_updateScheduled = true;
    QTimer::singleShot(0, this, &CWireLogDlg::showNewLines);
}

void CWireLogDlg::showNewLines()
{
    m_updateScheduled = false;
    const qint64 oldestKept = m_log.appendedCount() - m_log.size();
    const qint64 from = qMax(m_shownCount, oldestKept);
    if (from >= m_log.appendedCount())
        return;
    QStringList lines;
    for (qint64 number = from; number < m_log.appendedCount(); ++number)
        lines << formatWireLogEntry(m_log.at(number - oldestKept));
    QScrollBar* scrollBar = m_view->verticalScrollBar();
    const bool following = scrollBar->value() == scrollBar->maximum();
    m_view->appendPlainText(lines.join(QLatin1Char('\n')));
    m_shownCount = m_log.appendedCount();
    if (following)
        scrollBar->setValue(scrollBar->maximum());
}

void CWireLogDlg::showAllLines()
{
    m_view->clear();
    m_shownCount = m_log.appendedCount() - m_log.size();
    showNewLines();
}
