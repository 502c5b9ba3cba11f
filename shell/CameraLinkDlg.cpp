#include "CameraLinkDlg.h"

#include "AppIdentity.h"
#include "Controls.h"
#include "ControlPanelBrevo.h"
#include "ControlPanelTovane.h"
#include "DialogUnits.h"
#include "LongOperation.h"
#include "Messages.h"
#include "ScreenPlacement.h"
#include "SerialPortDlg.h"
#include "SettingsTransfer.h"
#include "TerminalDlg.h"
#include "WaitNotice.h"
#include "WindowPlacement.h"
#include "WireLogDlg.h"
#include "brevo/BrevoPages.h"
#include "tovane/TovanePages.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
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

QString loadCancelledNotice(const QString& portName)
{
    return QStringLiteral("Opening the control panel was cancelled and %1 was closed. Choose a port with "
                          "\"SerialPort\" in the menu to connect again.")
        .arg(portName);
}

bool askYesOrNo(QWidget* parent, const QString& text)
{
    return QMessageBox::question(parent, QStringLiteral("Close PK70App"), text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No)
           == QMessageBox::Yes;
}

// The available area of the screen a window with this frame belongs on.
QRect areaFor(const QRect& frame)
{
    return areaForFrame(frame, availableScreenAreas());
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
    : QMainWindow(parent), m_session(clock), m_connection(m_session.connection()), m_askBeforeClosing(askYesOrNo),
      m_brevoPages(brevoPages()), m_tovanePages(tovanePages())
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
    // While the camera is waited for, the windows stay alive.
    m_waitNotice = std::make_unique<WaitNotice>(m_connection);
    connect(&m_connection, &Connection::lost, this,
            [this](const QString& portName) { showNotice(lostPortNotice(portName)); });
    m_frames = new FrameWatcher([this](QWidget* window) { placeAgainOnceFramed(window); }, this);
    m_frames->watch(this);
    resize(DialogUnits::standard().toPixels(612, 326));
    placeMainWindow();
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
}

void CCameraLinkDlg::chooseSerialPort()
{
    // Closing the port under a running exchange would pull it away mid-answer.
    if (m_connection.isBusy() || m_connection.inSequence())
        return;
    if (!choosePortAndIdentify())
        return;
    if (!m_terminal)
        createTerminal();
    createControlPanel();
    if (m_connection.isOpen())
        showIdentificationNotice();
    // The panel is up with its first page; the others are read behind it,
    // with this window's menus there meanwhile.
    if (ControlPanel* shown = panel(); shown && shown->pagesStillToRead()) {
        show();
        shown->loadRemainingPages();
    }
}

bool CCameraLinkDlg::choosePortAndIdentify()
{
    m_connection.close();
    m_failedPortName.clear();
    const std::optional<PortChoice> choice = m_choosePort(m_connection.portName, m_connection.baudRate);
    if (!choice) {
        showNotice(noPortNotice());
        return false;
    }
    // Another camera, another panel: the one before goes.
    closeControlPanel();
    m_connection.portName = choice->portName;
    m_connection.baudRate = choice->baudRate;
    if (m_connection.portName.isEmpty()) {
        showNotice(noPortNotice());
    } else {
        openPort();
        if (choice->detectRate) {
            DetectionProgress progress(m_connection.clock(), m_createProgressView);
            m_session.detectRate([&progress](int pass, qint32 rate) { return progress(pass, rate); });
        }
    }
    m_connection.announceState();
    m_session.wake();
    m_session.identify();
    return true;
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
    if (!m_terminalPlaced) {
        m_terminalPlaced = true;
        m_frames->watch(m_terminal.get());
        placeToolWindow(m_terminal.get());
    }
    bringToFront(m_terminal.get());
}

void CCameraLinkDlg::showControlPanel()
{
    ControlPanel* panel = panelForModel();
    if (!panel)
        return;
    // The Brevo panel comes back where the user left it, clear of the menus;
    // the Tovane panel beside this window.
    if (panel == m_tovanePanel.get()) {
        const QRect screen = this->screen()->geometry();
        const QPoint place =
            placeBesideMainWindow(frameGeometry(), panel->frameGeometry().width(), screen.x() + screen.width());
        // Level with this window, the panel would drag it up past the top
        // of the screen, onto its own title bar: keep room above it.
        const int clientTop = panel->geometry().y() - panel->frameGeometry().y();
        moveOntoScreen(panel, place, CControlPanelTovane::kFollowerOffset - clientTop);
    } else {
        const QRect frame = m_frames->expectedFrame(panel);
        m_frames->setFrame(panel, placedClearOf(frame, areaFor(frame), {menuBand()}));
    }
    bringToFront(panel);
}

void CCameraLinkDlg::showWireLog()
{
    if (!m_wireLogWindow)
        m_wireLogWindow = std::make_unique<CWireLogDlg>(m_wireLog);
    if (!m_wireLogPlaced) {
        m_wireLogPlaced = true;
        m_frames->watch(m_wireLogWindow.get());
        placeToolWindow(m_wireLogWindow.get());
    }
    bringToFront(m_wireLogWindow.get());
}

ControlPanel* CCameraLinkDlg::panelForModel() const
{
    switch (controlPanelForModel(model())) {
    case ControlPanelKind::Tovane:
        return m_tovanePanel.get();
    case ControlPanelKind::Brevo:
        return m_brevoPanel.get();
    case ControlPanelKind::None:
        break;
    }
    return nullptr;
}

ControlPanel* CCameraLinkDlg::panel() const
{
    return m_brevoPanel ? static_cast<ControlPanel*>(m_brevoPanel.get()) : m_tovanePanel.get();
}

void CCameraLinkDlg::showNotice(const QString& text)
{
    showReadableText(m_notice, text);
}

void CCameraLinkDlg::openPort()
{
    const QString whyNot = m_session.open(m_connection.portName, m_connection.baudRate);
    if (m_connection.isOpen()) {
        showNotice(QString());
        return;
    }
    m_failedPortName = m_connection.portName;
    showNotice(portNotOpenedNotice(m_connection.portName));
    if (!whyNot.isEmpty())
        showMessage({.title = QStringLiteral("Port Not Opened"), .text = whyNot});
}

bool CCameraLinkDlg::ensurePortOpen()
{
    if (!m_connection.isOpen() && !m_connection.portName.isEmpty() && m_connection.portName != m_failedPortName)
        openPort();
    return m_connection.isOpen();
}

void CCameraLinkDlg::showIdentificationNotice()
{
    const QString& portName = m_connection.portName;
    if (model().isEmpty())
        showNotice(m_session.rateKnown() ? noModelNotice(portName, m_connection.baudRate) : noRateNotice(portName));
    else if (panelForModel())
        showNotice(QString());
    else
        showNotice(noPanelNotice(model(), portName));
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
    m_session.identify();
    setWindowTitle(model());
    // The progress view is there only while the first page is read.
    std::optional<PanelLoadProgress> progress(std::in_place, m_connection.clock(), m_createLoadView);
    // Cancel ends the load: the port is closed before the next line goes
    // out, so every read still to come fails at once.
    const PanelLoadObserver observeLoad = [this, &progress](const QString& title, int number, int count) {
        if (!(*progress)(title, number, count) && m_connection.isOpen())
            m_connection.close();
    };
    const int sensorTaps = m_session.readSensorTaps();
    switch (family()) {
    case CameraFamily::Brevo:
        m_brevoPanel = std::make_unique<CControlPanelPTM_Brevo>(m_sendPath, model(), sensorTaps, m_brevoPages,
                                                                observeLoad, nullptr, PanelLoad::FirstPageFirst);
        break;
    case CameraFamily::Tovane:
        m_tovanePanel = std::make_unique<CControlPanelTovane>(m_sendPath, model(), sensorTaps, m_tovanePages,
                                                              observeLoad, nullptr, PanelLoad::FirstPageFirst);
        m_tovanePanel->setFollower(this);
        break;
    case CameraFamily::None:
        return;
    }
    const bool cancelled = progress->cancelled();
    progress.reset();
    if (cancelled) {
        closeControlPanel();
        showNotice(loadCancelledNotice(m_connection.portName));
        return;
    }
    // Reading the pages again later (for a file of settings, after a user
    // set was loaded) shows the same progress; its Cancel leaves the port open.
    panel()->setReloadProgress([this]() -> PanelReloadObserver {
        auto reloadProgress = std::make_shared<PanelLoadProgress>(m_connection.clock(), m_createReloadView);
        return [reloadProgress](const QString& title, int number, int count) {
            return (*reloadProgress)(title, number, count);
        };
    });
    m_frames->watch(panel());
    placePanel();
    bringToFront(panel());
}

void CCameraLinkDlg::closeControlPanel()
{
    const bool wasStrip = m_tovanePanel != nullptr;
    m_brevoPanel.reset();
    m_tovanePanel.reset();
    // Without the Tovane panel this window is no strip any more.
    if (wasStrip)
        m_frames->setFrame(this, fittedIntoArea(templateFrame(), areaFor(templateFrame())));
}

void CCameraLinkDlg::bringToFront(QWidget* window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

QRect CCameraLinkDlg::templateFrame() const
{
    const QSize client = DialogUnits::standard().toPixels(612, 326);
    return {m_frames->expectedFrame(this).topLeft(), client.grownBy(m_frames->expectedMargins(this))};
}

void CCameraLinkDlg::placeMainWindow()
{
    // The Tovane panel's rule makes this window its strip.
    if (m_tovanePanel)
        return;
    const QRect wanted(QPoint(0, 0), m_frames->expectedFrame(this).size());
    m_frames->setFrame(this, fittedIntoArea(wanted, areaFor(wanted)));
}

void CCameraLinkDlg::placePanel()
{
    if (m_tovanePanel) {
        arrangeAroundTovanePanel();
    } else if (m_brevoPanel) {
        const QRect wanted(m_panelPosition, m_frames->expectedFrame(m_brevoPanel.get()).size());
        m_frames->setFrame(m_brevoPanel.get(), placedClearOf(wanted, areaFor(wanted), {menuBand()}));
    }
}

void CCameraLinkDlg::placeToolWindow(QWidget* window)
{
    // The terminal in the bottom left corner, the wire log in the bottom
    // right; neither covers the menus or another window's title bar.
    const AreaCorner corner = window == m_terminal.get() ? AreaCorner::BottomLeft : AreaCorner::BottomRight;
    const QRect frame = m_frames->expectedFrame(window);
    const QRect area = areaFor(frame);
    QList<QRect> keepInSight{menuBand()};
    for (const QWidget* other : {static_cast<const QWidget*>(panel()), static_cast<const QWidget*>(m_terminal.get()),
                                 static_cast<const QWidget*>(m_wireLogWindow.get())}) {
        if (other && other != window && other->isVisible())
            keepInSight << titleBarOf(m_frames->expectedFrame(other), m_frames->expectedMargins(other));
    }
    m_frames->setFrame(window, placedClearOf(frameInCorner(frame.size(), area, corner), area, keepInSight));
}

void CCameraLinkDlg::arrangeAroundTovanePanel()
{
    // The main window becomes a strip as wide as the panel, above it; from
    // then on the panel drags it along.
    const QRect wanted(QPoint(0, 0), QSize(m_frames->expectedFrame(m_tovanePanel.get()).width(), kStripHeight));
    m_frames->setFrame(this, fittedIntoArea(wanted, areaFor(wanted)));
    // On a screen too short for both, the panel is shortened (or runs off
    // the bottom) rather than cover the strip's menus.
    const QRect strip = m_frames->expectedFrame(this);
    const QRect below(QPoint(strip.x(), strip.y() + strip.height()),
                      m_frames->expectedFrame(m_tovanePanel.get()).size());
    m_frames->setFrame(m_tovanePanel.get(), fittedIntoArea(below, areaFor(below), strip.height()));
}

void CCameraLinkDlg::placeAgainOnceFramed(QWidget* window)
{
    // Placed before its frame was known, the window is placed again by the
    // same rule; the windows placed against this one follow it.
    if (window == this) {
        placeMainWindow();
        placePanel();
    } else if (window == panel()) {
        placePanel();
    } else if (window == m_terminal.get() || window == m_wireLogWindow.get()) {
        placeToolWindow(window);
    }
}

QRect CCameraLinkDlg::menuBand() const
{
    const QRect frame = m_frames->expectedFrame(this);
    const int menuHeight = menuBar()->isVisible() ? menuBar()->height() : menuBar()->sizeHint().height();
    return {frame.x(), frame.y(), frame.width(), geometry().y() + menuHeight - frame.y()};
}

void CCameraLinkDlg::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (m_shownOnce)
        return;
    m_shownOnce = true;
    // The panel was shown during start-up, before this window; keep it in
    // front, where the Brevo panel would otherwise be covered by this window.
    QWidget* shownPanel = panel();
    if (shownPanel && shownPanel->isVisible()) {
        shownPanel->raise();
        shownPanel->activateWindow();
    }
}

void CCameraLinkDlg::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Text typed into this window and sent off with Enter must not end the session.
        event->accept();
        return;
    case Qt::Key_Escape:
        close();
        return;
    default:
        QMainWindow::keyPressEvent(event);
    }
}

QString CCameraLinkDlg::runningWork() const
{
    const ControlPanel* current = panel();
    // Reading the pages behind the panel ends without a question.
    if (current && current->loadingRemainingPages())
        return {};
    if (LongOperation::runningOn(m_connection))
        return QStringLiteral("A detection is running; closing ends it.");
    if (current && current->settingsTransfer().isRunning())
        return QStringLiteral("Settings are being saved or applied; PK70App closes once that is done.");
    return {};
}

void CCameraLinkDlg::closeEvent(QCloseEvent* event)
{
    if (m_connection.isBusy() || m_connection.inSequence()) {
        // Closing now would destroy the port under the running exchange. A
        // detection is asked to end at its next poll, so the retry succeeds.
        event->ignore();
        const QString running = runningWork();
        if (!m_closeConfirmed && !running.isEmpty()
            && !m_askBeforeClosing(this, running + QStringLiteral("\n\nClose PK70App anyway?")))
            return;
        m_closeConfirmed = true;
        LongOperation::endAll(m_connection);
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
    if (const QWidget* shownPanel = panel()) {
        recordPosition(QStringLiteral("ControlDlg"), shownPanel);
        profile.setValue(QStringLiteral("ControlDlgVisible"), shownPanel->isVisible() ? 1 : 0);
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
