#include "PanelLoadProgress.h"

#include <QCoreApplication>
#include <QProgressDialog>

PanelLoadProgress::PanelLoadProgress(Clock& clock, PanelLoadProgressViewFactory createView)
    : m_clock(clock), m_view(clock, std::move(createView))
{
}

bool PanelLoadProgress::operator()(const QString& title, int number, int count)
{
    if (m_cancelled)
        return false;
    PanelLoadProgressView* view = m_view.view();
    if (!view)
        return true;
    const qint64 nowMs = m_clock.nowMs();
    if (number != m_shownNumber) {
        m_firstPaintPending = m_shownNumber == 0;
        m_shownNumber = number;
        m_shownAtMs = nowMs;
        view->showPage(title, number, count);
    } else if (m_firstPaintPending && nowMs - m_shownAtMs >= kFirstPaintAfterMs) {
        m_firstPaintPending = false;
    } else if (nowMs - m_lookedAtMs < kLookEveryMs) {
        return true;
    }
    m_lookedAtMs = nowMs;
    // The view is modal: of the user's input, only a press of its Cancel runs.
    QCoreApplication::processEvents();
    m_cancelled = view->cancelRequested();
    return !m_cancelled;
}

PanelLoadProgressDialog::PanelLoadProgressDialog(const QString& windowTitle)
    : m_dialog(std::make_unique<QProgressDialog>())
{
    m_dialog->setWindowTitle(windowTitle);
    m_dialog->setCancelButtonText(QStringLiteral("Cancel"));
    m_dialog->setWindowModality(Qt::ApplicationModal);
    m_dialog->setAutoReset(false);
    m_dialog->setAutoClose(false);
    m_dialog->setMinimumDuration(0);
    m_dialog->setMinimumWidth(360);
}

PanelLoadProgressDialog::~PanelLoadProgressDialog() = default;

void PanelLoadProgressDialog::showPage(const QString& title, int number, int count)
{
    m_dialog->setLabelText(QStringLiteral("Reading %1, %2 of %3").arg(title).arg(number).arg(count));
    m_dialog->setRange(0, count);
    m_dialog->setValue(number - 1);
    if (!m_dialog->isVisible())
        m_dialog->show();
}

bool PanelLoadProgressDialog::cancelRequested()
{
    return m_dialog->wasCanceled();
}

std::unique_ptr<PanelLoadProgressView> PanelLoadProgressDialog::create()
{
    return std::make_unique<PanelLoadProgressDialog>();
}

std::unique_ptr<PanelLoadProgressView> PanelLoadProgressDialog::createForReload()
{
    return std::make_unique<PanelLoadProgressDialog>(QStringLiteral("Reading the Camera's Settings"));
}
