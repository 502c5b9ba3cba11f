#include "CameraLinkDlg.h"

#include "AppIdentity.h"
#include "CommandWords.h"
#include "ControlPanelBrevo.h"
#include "ControlPanelTovane.h"
#include "DialogUnits.h"
#include "Link.h"
#include "LongOperation.h"
#include "PanelPlacement.h"
#include "Ports.h"
#include "ScreenPlacement.h"
#include "SerialPortDlg.h"
#include "TerminalDlg.h"
#include "WireLogDlg.h"
#include "brevo/BrevoPages.h"
#include "tovane/TovanePages.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QSettings>
#include <QTimer>

namespace {

// How soon a close that came during an exchange with the camera is tried again.
constexpr int kCloseRetryMs = 100;

// What the notice line says. The menu entry is named as the user sees it.
QString noPortNotice()
{
    return QStringLiteral("No port is open. Choose one with \"SerialPort\" in the menu.");
}

QString portNotOpenedNotice(const QString& portName)
{
    return QStringLiteral("No port is open: %1 could not be opened. Choose a port with \"SerialPort\" in the menu.")
        .arg(portName);
}

QString noRateNotice(const QString& portName)
{
    return QStringLiteral("No camera answered on %1 at any baud rate.").arg(portName);
}

QString noModelNotice(const QString& portName, qint32 baudRate)
{
    return QStringLiteral("No camera answered on %1 at %2 baud: no model name came back.").arg(portName).arg(baudRate);
}

QString noPanelNotice(const QString& model, const QString& portName)
{
    return QStringLiteral("%1 answered on %2; this model has no control panel.").arg(model, portName);
}

QString lostPortNotice(const QString& portName)
{
    return QStringLiteral("The connection on %1 was lost. Choose a port with \"SerialPort\" in the menu to reconnect.")
        .arg(portName);
}

QString panelOnlyAtStartNotice(const QString& model, const QString& portName)
{
    return QStringLiteral("%1 answered on %2; its control panel opens only when the application starts with it.")
        .arg(model, portName);
}

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
    setWindowTitle(QStringLiteral("PK70App"));
    setWindowIcon(AppIdentity::icon());
    buildMenu();
    m_notice = new QLabel(this);
    m_notice->setAccessibleName(QStringLiteral("Notice"));
    m_notice->setWordWrap(true);
    m_notice->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_notice->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_notice->setMargin(DialogUnits::standard().toPixelsX(4));
    // A long notice must not keep the window from becoming the Tovane strip.
    m_notice->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    setCentralWidget(m_notice);
    m_connection.setWireLog(&m_wireLog);
    connect(&m_connection, &Connection::lost, this,
            [this](const QString& portName) { showNotice(lostPortNotice(portName)); });
    resize(DialogUnits::standard().toPixels(612, 326));
    moveOntoScreen(this, QPoint(0, 0));
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
    connect(menuBar()->addAction(QStringLiteral("Wire &Log")), &QAction::triggered, this,
            &CCameraLinkDlg::showWireLog);
}

void CCameraLinkDlg::OnInitDialog()
{
    chooseSerialPort();
    if (!m_terminal)
        createTerminal();
    createControlPanel();
    if (m_tovanePanel)
        arrangeAroundTovanePanel();
    if (m_connection.isOpen())
        showIdentificationNotice();
}

void CCameraLinkDlg::chooseSerialPort()
{
    // Closing the port under a running exchange would pull it away mid-answer.
    if (m_connection.isBusy() || m_connection.inSequence())
        return;
    m_connection.close();
    m_failedPortName.clear();
    const std::optional<PortChoice> choice = m_choosePort(m_connection.portName, m_connection.baudRate);
    if (!choice) {
        showNotice(noPortNotice());
        return;
    }
    m_connection.portName = choice->portName;
    m_connection.baudRate = choice->baudRate;
    if (m_connection.portName.isEmpty()) {
        showNotice(noPortNotice());
    } else {
        openPort();
        if (choice->detectRate) {
            DetectionProgress progress(m_connection.clock(), m_createProgressView);
            m_connection.baudRate =
                DetectBaudRate(m_connection, [&progress](int pass, qint32 rate) { return progress(pass, rate); });
        }
    }
    m_connection.announceState();
    // Brings the camera's command parser to the start of a line.
    SendLine(m_connection, "\r\r\r");
    ReadAvailable(m_connection);
    identifyCamera();
    if (m_connection.isOpen())
        showIdentificationNotice();
    if (!m_terminal)
        createTerminal();
}

void CCameraLinkDlg::showTerminal()
{
    m_failedPortName.clear();
    // The terminal works on the port chosen last; a failed open has said why.
    if (!m_terminal)
        createTerminal();
    if (!m_terminal) {
        if (m_connection.portName.isEmpty())
            showNotice(noPortNotice());
        return;
    }
    bringToFront(m_terminal.get());
}

void CCameraLinkDlg::showControlPanel()
{
    ControlPanel* panel = panelForModel();
    if (!panel)
        return;
    // The Brevo panel comes back where the user left it; the Tovane panel
    // beside this window.
    if (panel == m_tovanePanel.get()) {
        const QRect screen = this->screen()->geometry();
        const QPoint place =
            placeBesideMainWindow(frameGeometry(), panel->frameGeometry().width(), screen.x() + screen.width());
        // Level with this window, the panel would drag it up past the top
        // of the screen, onto its own title bar: keep room above it.
        const int clientTop = panel->geometry().y() - panel->frameGeometry().y();
        moveOntoScreen(panel, place, CControlPanelTovane::kFollowerOffset - clientTop);
    }
    bringToFront(panel);
}

void CCameraLinkDlg::showWireLog()
{
    if (!m_wireLogWindow)
        m_wireLogWindow = std::make_unique<CWireLogDlg>(m_wireLog);
    bringToFront(m_wireLogWindow.get());
}

ControlPanel* CCameraLinkDlg::panelForModel() const
{
    switch (controlPanelForModel(m_model)) {
    case ControlPanelKind::Tovane:
        return m_tovanePanel.get();
    case ControlPanelKind::Brevo:
        return m_brevoPanel.get();
    case ControlPanelKind::None:
        break;
    }
    return nullptr;
}

void CCameraLinkDlg::showNotice(const QString& text)
{
    m_notice->setText(text);
}

void CCameraLinkDlg::openPort()
{
    m_connection.attach(OpenPort(m_connection.portName, m_connection.baudRate));
    if (m_connection.isOpen()) {
        showNotice(QString());
    } else {
        m_failedPortName = m_connection.portName;
        showNotice(portNotOpenedNotice(m_connection.portName));
    }
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

void CCameraLinkDlg::showIdentificationNotice()
{
    const QString& portName = m_connection.portName;
    if (m_model.isEmpty())
        showNotice(m_connection.baudRate == kNoRateFound ? noRateNotice(portName)
                                                         : noModelNotice(portName, m_connection.baudRate));
    else if (panelForModel())
        showNotice(QString());
    else if (familyForModel(m_model))
        showNotice(panelOnlyAtStartNotice(m_model, portName));
    else
        showNotice(noPanelNotice(m_model, portName));
}

void CCameraLinkDlg::createTerminal()
{
    if (!ensurePortOpen())
        return;
    m_terminal = std::make_unique<CTerminalDlg>(m_sendPath);
}

void CCameraLinkDlg::createControlPanel()
{
    if (!ensurePortOpen())
        return;
    identifyCamera();
    setWindowTitle(m_model);
    PanelLoadProgress progress(m_connection.clock(), m_createLoadView);
    const PanelLoadObserver observeLoad = std::ref(progress);
    switch (m_family) {
    case CameraFamily::Brevo:
        m_sensorTaps = QueryInt(m_connection, cmd::SENSOR_TAP);
        m_brevoPanel = std::make_unique<CControlPanelPTM_Brevo>(m_sendPath, m_model, m_sensorTaps, m_brevoPages,
                                                                observeLoad);
        showPanelAt(m_brevoPanel.get(), m_panelPosition);
        break;
    case CameraFamily::Tovane:
        m_sensorTaps = 1;
        m_tovanePanel = std::make_unique<CControlPanelTovane>(m_sendPath, m_model, m_sensorTaps, m_tovanePages,
                                                              observeLoad);
        m_tovanePanel->setFollower(this);
        showPanelAt(m_tovanePanel.get(), m_panelPosition);
        break;
    case CameraFamily::None:
        break;
    }
}

void CCameraLinkDlg::showPanelAt(ControlPanel* panel, QPoint position)
{
    moveOntoScreen(panel, position);
    bringToFront(panel);
}

void CCameraLinkDlg::bringToFront(QWidget* window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

void CCameraLinkDlg::arrangeAroundTovanePanel()
{
    // The main window becomes a strip as wide as the panel, above it; from
    // then on the panel drags it along. On a screen too short for both, the
    // panel is shortened (or runs off the bottom) rather than cover the
    // strip's menus.
    setFrameSize(QSize(m_tovanePanel->frameGeometry().width(), kStripHeight));
    moveOntoScreen(this, QPoint(0, 0));
    const QRect frame = frameGeometry();
    moveOntoScreen(m_tovanePanel.get(), QPoint(frame.x(), frame.y() + frame.height()), frame.height());
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
    if (m_connection.isBusy() || m_connection.inSequence()) {
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
    m_wireLogWindow.reset();
    m_brevoPanel.reset();
    m_tovanePanel.reset();
}
