#include "DetectionProgress.h"

#include "Ports.h"

#include <QCoreApplication>
#include <QProgressDialog>

#include <algorithm>

DetectionProgress::DetectionProgress(Clock& clock, DetectionProgressViewFactory createView)
    : m_view(clock, std::move(createView))
{
}

bool DetectionProgress::operator()(int pass, qint32 baudRate)
{
    DetectionProgressView* view = m_view.view();
    if (!view) {
        // Repaint, but leave clicks and keys queued until detection is over.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        return true;
    }
    view->showAttempt(pass, baudRate);
    QCoreApplication::processEvents();
    return !view->cancelRequested();
}

DetectionProgressDialog::DetectionProgressDialog()
    : m_dialog(std::make_unique<QProgressDialog>())
{
    m_dialog->setWindowTitle(QStringLiteral("Baud Rate Detection"));
    m_dialog->setCancelButtonText(QStringLiteral("Cancel"));
    m_dialog->setRange(0, kDetectionPasses * static_cast<int>(kDetectionRates.size()));
    m_dialog->setWindowModality(Qt::ApplicationModal);
    m_dialog->setAutoReset(false);
    m_dialog->setAutoClose(false);
    m_dialog->setMinimumDuration(0);
    m_dialog->setMinimumWidth(360);
}

DetectionProgressDialog::~DetectionProgressDialog() = default;

void DetectionProgressDialog::showAttempt(int pass, qint32 baudRate)
{
    const auto index = std::find(kDetectionRates.begin(), kDetectionRates.end(), baudRate) - kDetectionRates.begin();
    m_dialog->setLabelText(QStringLiteral("Looking for the camera's baud rate...\nTrying %1 baud (pass %2 of %3)")
                               .arg(baudRate)
                               .arg(pass)
                               .arg(kDetectionPasses));
    m_dialog->setValue((pass - 1) * static_cast<int>(kDetectionRates.size()) + static_cast<int>(index));
    if (!m_dialog->isVisible())
        m_dialog->show();
}

bool DetectionProgressDialog::cancelRequested()
{
    return m_dialog->wasCanceled();
}

std::unique_ptr<DetectionProgressView> DetectionProgressDialog::create()
{
    return std::make_unique<DetectionProgressDialog>();
}
