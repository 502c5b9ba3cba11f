#include "CameraLinkDlg.h"

#include "CommandWords.h"
#include "ControlPanelBrevo.h"
#include "ControlPanelTovane.h"
#include "DialogUnits.h"
#include "Link.h"
#include "LongOperation.h"
#include "PanelPlacement.h"
#include "Ports.h"
#include "SerialPortDlg.h"
#include "TerminalDlg.h"
#include "brevo/BrevoPages.h"
#include "tovane/TovanePages.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QScreen>
#include <QSettings>
#include <QTimer>

// Outside any namespace, as the resource initialiser requires.
static void initialiseShellResources()
{
    Q_INIT_RESOURCE(pk70app);
}

namespace {

// The port name "&Terminal" falls back to when it has to open a port itself.
const QString kFallbackPortName = QStringLiteral("COM5");

// How soon a close that came during an exchange with the camera is tried again.
constexpr int kCloseRetryMs = 100;

} // namespace

std::optional<PortChoice> chooseWithSerialPortDialog(const QString& portName, qint32 baudRate)
{
    CSerialPortDlg dialog(portName, baudRate);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return PortChoice{dialog.portName(), dialog.baudRate()};
}

CCameraLinkDlg::CCameraLinkDlg(Clock& clock, QWidget* parent)
    : QMainWindow(parent), m_connection(clock), m_brevoPages(brevoPages()), m_tovanePages(tovanePages())
{
    initialiseShellResources();
    setWindowTitle(QStringLiteral("PK70App"));
    setWindowIcon(QIcon(QStringLiteral(":/pk70app.png")));
    buildMenu();
    resize(DialogUnits::standard().toPixels(612, 326));
    move(0, 0);
}

CCameraLinkDlg::~CCameraLinkDlg()
{
    destroyChildWindows();
}

void CCameraLinkDlg::setPageLists(QList<PageEntry> brevo, QList<PageEntry> tovane)
{
    m_brevoPages = std::move(brevo);
    m_tovanePages = std::move(tovane);
}

void CCameraLinkDlg::buildMenu()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    connect(file->addAction(QStringLiteral("E&xit")), &QAction::triggered, this, &QWidget::close);
    connect(menuBar()->addAction(QStringLiteral("&Control")), &QAction::triggered, this,
            &CCameraLinkDlg::showControlPanel);
    connect(menuBar()->addAction(QStringLiteral("&Terminal")), &QAction::triggered, this,
            &CCameraLinkDlg::showTerminal);
    connect(menuBar()->addAction(QStringLiteral("&SerialPort")), &QAction::triggered, this,
            &CCameraLinkDlg::chooseSerialPort);
}

void CCameraLinkDlg::OnInitDialog()
{
    chooseSerialPort();
    if (!m_terminal)
        createTerminal();
    createControlPanel();
    if (m_tovanePanel)
        arrangeAroundTovanePanel();
}

void CCameraLinkDlg::chooseSerialPort()
{
    // Closing the port under a running exchange would pull it away mid-answer.
    if (m_connection.isBusy())
        return;
    m_connection.close();
    m_failedPortName.clear();
    const std::optional<PortChoice> choice = m_choosePort(m_connection.portName, m_connection.baudRate);
    if (!choice)
        return;
    m_connection.portName = choice->portName;
    m_connection.baudRate = choice->baudRate;
    if (!m_connection.portName.isEmpty()) {
        openPort();
        DetectionProgress progress(m_connection.clock(), m_createProgressView);
        m_connection.baudRate =
            DetectBaudRate(m_connection, [&progress](int pass, qint32 rate) { return progress(pass, rate); });
    }
    // Brings the camera's command parser to the start of a line.
    SendLine(m_connection, "\r\r\r");
    ReadAvailable(m_connection);
    identifyCamera();
    if (!m_terminal)
        createTerminal();
}

void CCameraLinkDlg::showTerminal()
{
    m_failedPortName.clear();
    if (!m_terminal) {
        m_connection.portName = kFallbackPortName;
        createTerminal();
    }
    if (!m_terminal)
        return;
    m_terminal->show();
    m_terminal->raise();
    m_terminal->activateWindow();
}

void CCameraLinkDlg::showControlPanel()
{
    switch (controlPanelForModel(m_model)) {
    case ControlPanelKind::Tovane:
        if (m_tovanePanel) {
            const QRect screen = this->screen()->geometry();
            const QPoint place = placeBesideMainWindow(frameGeometry(), m_tovanePanel->frameGeometry().width(),
                                                       screen.x() + screen.width());
            showPanelAt(m_tovanePanel.get(), place);
        }
        break;
    case ControlPanelKind::Brevo:
        if (m_brevoPanel) {
            m_brevoPanel->show();
            m_brevoPanel->raise();
            m_brevoPanel->activateWindow();
        }
        break;
    case ControlPanelKind::None:
        break;
    }
}

void CCameraLinkDlg::openPort()
{
    m_connection.attach(OpenPort(m_connection.portName, m_connection.baudRate));
    if (!m_connection.isOpen())
        m_failedPortName = m_connection.portName;
}

bool CCameraLinkDlg::ensurePortOpen()
{
    if (!m_connection.isOpen() && !m_connection.portName.isEmpty() && m_connection.portName != m_failedPortName)
        openPort();
    return m_connection.isOpen();
}

void CCameraLinkDlg::identifyCamera()
{
    m_model = IdentifyModel(m_connection);
    if (const std::optional<CameraFamily> family = familyForModel(m_model))
        m_family = *family;
}

void CCameraLinkDlg::createTerminal()
{
    if (!ensurePortOpen())
        return;
    m_terminal = std::make_unique<CTerminalDlg>(m_connection);
}

void CCameraLinkDlg::createControlPanel()
{
    if (!ensurePortOpen())
        return;
    identifyCamera();
    setWindowTitle(m_model);
    switch (m_family) {
    case CameraFamily::Brevo:
        m_sensorTaps = QueryInt(m_connection, cmd::SENSOR_TAP);
        m_brevoPanel = std::make_unique<CControlPanelPTM_Brevo>(m_connection, m_model, m_sensorTaps, m_brevoPages);
        showPanelAt(m_brevoPanel.get(), m_panelPosition);
        break;
    case CameraFamily::Tovane:
        m_sensorTaps = 1;
        m_tovanePanel = std::make_unique<CControlPanelTovane>(m_connection, m_model, m_sensorTaps, m_tovanePages);
        m_tovanePanel->setFollower(this);
        showPanelAt(m_tovanePanel.get(), m_panelPosition);
        break;
    case CameraFamily::None:
        break;
    }
}

void CCameraLinkDlg::showPanelAt(ControlPanel* panel, QPoint position)
{
    panel->move(position);
    panel->show();
    panel->raise();
    panel->activateWindow();
}

void CCameraLinkDlg::arrangeAroundTovanePanel()
{
    // The main window becomes a strip as wide as the panel, above it; from
    // then on the panel drags it along.
    move(0, 0);
    setFrameSize(QSize(m_tovanePanel->frameGeometry().width(), kStripHeight));
    const QRect frame = frameGeometry();
    m_tovanePanel->move(frame.x(), frame.y() + frame.height());
}

void CCameraLinkDlg::setFrameSize(QSize size)
{
    const QSize frameExtra = frameGeometry().size() - geometry().size();
    resize(size - frameExtra);
}

void CCameraLinkDlg::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (m_shownOnce)
        return;
    m_shownOnce = true;
    // The panel was shown during start-up, before this window; keep it in
    // front, where the Brevo panel would otherwise be covered by this window.
    QWidget* panel = m_brevoPanel ? static_cast<QWidget*>(m_brevoPanel.get()) : m_tovanePanel.get();
    if (panel && panel->isVisible()) {
        panel->raise();
        panel->activateWindow();
    }
}

void CCameraLinkDlg::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        // Enter closes the window the same way as "E&xit": positions are
        // recorded and the port is closed.
        close();
        return;
    default:
        QMainWindow::keyPressEvent(event);
    }
}

void CCameraLinkDlg::closeEvent(QCloseEvent* event)
{
    if (m_connection.isBusy()) {
        // Closing now would destroy the port under the running exchange. A
        // detection is asked to end at its next poll, so the retry succeeds.
        LongOperation::endAll(m_connection);
        event->ignore();
        QTimer::singleShot(kCloseRetryMs, this, &QWidget::close);
        return;
    }
    if (!m_closedDown) {
        m_closedDown = true;
        recordWindowPositions();
        destroyChildWindows();
        m_connection.close();
        emit closed();
    }
    event->accept();
}

void CCameraLinkDlg::recordWindowPositions()
{
    QSettings profile;
    profile.beginGroup(QStringLiteral("Window"));
    const auto recordPosition = [&profile](const QString& prefix, const QWidget* window) {
        const QPoint topLeft = window->frameGeometry().topLeft();
        profile.setValue(prefix + QStringLiteral("PosX"), topLeft.x());
        profile.setValue(prefix + QStringLiteral("PosY"), topLeft.y());
    };
    recordPosition(QStringLiteral("CameraLinkDlg"), this);
    const QWidget* panel = m_brevoPanel ? static_cast<const QWidget*>(m_brevoPanel.get()) : m_tovanePanel.get();
    if (panel) {
        recordPosition(QStringLiteral("ControlDlg"), panel);
        profile.setValue(QStringLiteral("ControlDlgVisible"), panel->isVisible() ? 1 : 0);
    }
    if (m_terminal) {
        recordPosition(QStringLiteral("TerminalDlg"), m_terminal.get());
        profile.setValue(QStringLiteral("TerminalDlgVisible"), m_terminal->isVisible() ? 1 : 0);
    }
}

void CCameraLinkDlg::destroyChildWindows()
{
    if (m_terminal)
        m_terminal->hide();
    m_terminal.reset();
    m_brevoPanel.reset();
    m_tovanePanel.reset();
}
