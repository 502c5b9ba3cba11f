#pragma once

#include "CameraSession.h"
#include "Clock.h"
#include "Connection.h"
#include "DetectionProgress.h"
#include "PanelLoadProgress.h"
#include "SendPath.h"
#include "Page.h"
#include "WireLog.h"

#include <QList>
#include <QMainWindow>
#include <QPoint>

#include <functional>
#include <memory>
#include <optional>

class CControlPanelPTM_Brevo;
class CControlPanelTovane;
class CTerminalDlg;
class CWireLogDlg;
class ControlPanel;
class FrameWatcher;
class QLabel;
class WaitNotice;

// The port and rate the user accepted in the port dialog.
struct PortChoice {
    QString portName;
    qint32 baudRate = 0;
    // False when the rate is known to be the camera's: it is used as it is,
    // without searching for it.
    bool detectRate = true;
};

// Asks the user for a port, starting from the current name and rate; no value
// when the user cancels.
using PortChooser = std::function<std::optional<PortChoice>(const QString& portName, qint32 baudRate)>;

// The modal "Serial Port Setting" dialog.
std::optional<PortChoice> chooseWithSerialPortDialog(const QString& portName, qint32 baudRate);

// Asks the user a yes/no question before the window closes; true for yes.
using CloseQuestion = std::function<bool(QWidget* parent, const QString& text)>;

// The main window: owns the session with the camera (its one connection),
// asks for the port, has the camera identified, and owns the terminal and
// the control panel of the camera's family. Its menu brings those windows
// back and changes the port; a camera chosen later gets its own panel as at
// start-up, in place of the one before. Closing it ("E&xit", the close box,
// Escape; never Enter) records the window positions in the profile (group
// "Window"), destroys the other windows and closes the port; while a
// detection or a settings transfer runs, it asks first.
//
// Windows are placed by their frames, inside the screen's available area and
// never over this window's menu bar; a window placed before the window
// manager had framed it is placed again once it has.
class CCameraLinkDlg : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int kStripHeight = 50;

    explicit CCameraLinkDlg(Clock& clock = SteadyClock::instance(), QWidget* parent = nullptr);
    ~CCameraLinkDlg() override;

    // Replaceable for tests: the port dialog, the progress views of detection
    // and of the panel's load, the pages of both panels (by default the
    // families' own pages).
    void setPortChooser(PortChooser chooser) { m_choosePort = std::move(chooser); }
    void setDetectionProgressView(DetectionProgressViewFactory factory) { m_createProgressView = std::move(factory); }
    // The view of the load also shows an open panel reading its pages again.
    void setPanelLoadProgressView(PanelLoadProgressViewFactory factory)
    {
        m_createLoadView = factory;
        m_createReloadView = std::move(factory);
    }
    void setPageLists(QList<PageEntry> brevo, QList<PageEntry> tovane);
    void setCloseQuestion(CloseQuestion question) { m_askBeforeClosing = std::move(question); }

    // Start-up: port selection, terminal, identification and the panel of the
    // camera's family.
    void OnInitDialog();

    // The menu commands.
    void chooseSerialPort();  // "&SerialPort": the same as start-up
    void showTerminal();      // "&Terminal"
    void showControlPanel();  // "&Control"
    void showWireLog();       // "Wire &Log"

    // The line in the window's client area that tells the user what went
    // wrong without a message box (no port, no camera, no panel for the
    // camera). Empty text clears it.
    void showNotice(const QString& text);

    Connection& connection() { return m_connection; }
    SendPath& sendPath() { return m_sendPath; }
    // What the user sees while a wait for the camera lasts.
    WaitNotice* waitNotice() const { return m_waitNotice.get(); }
    // The port chosen last could not be opened (and the notice says why); a
    // port that opened and was lost later does not count.
    bool portFailedToOpen() const
    {
        return !m_failedPortName.isEmpty() && m_failedPortName == m_connection.portName;
    }
    // Every line sent and received on the connection.
    WireLog& wireLog() { return m_wireLog; }
    CWireLogDlg* wireLogWindow() const { return m_wireLogWindow.get(); }
    QString model() const { return m_session.model(); }
    CameraFamily family() const { return m_session.family(); }
    int sensorTaps() const { return m_session.sensorTaps(); }
    CTerminalDlg* terminal() const { return m_terminal.get(); }
    CControlPanelPTM_Brevo* brevoPanel() const { return m_brevoPanel.get(); }
    CControlPanelTovane* tovanePanel() const { return m_tovanePanel.get(); }

signals:
    // The window has been closed through "E&xit", the close box or Escape.
    void closed();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenu();
    // The port dialog, then the port opened, its rate found and the camera
    // identified; false when the user cancelled the dialog.
    bool choosePortAndIdentify();
    void openPort();
    // Opens the port unless it is open or has just failed to open in this
    // same user action (which has already reported it).
    bool ensurePortOpen();
    // Says that no camera answered, or that the camera's panel cannot be
    // shown; clears the notice when "&Control" can show the camera's panel.
    void showIdentificationNotice();
    ControlPanel* panelForModel() const;
    ControlPanel* panel() const;
    void createTerminal();
    void createControlPanel();
    void closeControlPanel();
    void bringToFront(QWidget* window);

    // Placement rules, each by the window's frame.
    void placeMainWindow();
    void placePanel();
    void placeToolWindow(QWidget* window);
    void arrangeAroundTovanePanel();
    void placeAgainOnceFramed(QWidget* window);
    // This window's title bar and menu bar, which no window placed here covers.
    QRect menuBand() const;
    QRect templateFrame() const;

    // What runs that closing would cut short, as the question before closing
    // says it; empty when nothing does.
    QString runningWork() const;
    void recordWindowPositions();
    void destroyChildWindows();

    // Declared first so that they outlive every window that uses them.
    WireLog m_wireLog;
    CameraSession m_session;
    Connection& m_connection;
    SendPath m_sendPath{m_connection};

    PortChooser m_choosePort = chooseWithSerialPortDialog;
    DetectionProgressViewFactory m_createProgressView = DetectionProgressDialog::create;
    PanelLoadProgressViewFactory m_createLoadView = PanelLoadProgressDialog::create;
    PanelLoadProgressViewFactory m_createReloadView = PanelLoadProgressDialog::createForReload;
    CloseQuestion m_askBeforeClosing;
    QList<PageEntry> m_brevoPages;
    QList<PageEntry> m_tovanePages;

    QPoint m_panelPosition{0, 0};
    bool m_closedDown = false;
    bool m_closeConfirmed = false;
    bool m_shownOnce = false;
    bool m_terminalPlaced = false;
    bool m_wireLogPlaced = false;
    QString m_failedPortName;
    QLabel* m_notice = nullptr;
    FrameWatcher* m_frames = nullptr;

    std::unique_ptr<CTerminalDlg> m_terminal;
    std::unique_ptr<CWireLogDlg> m_wireLogWindow;
    std::unique_ptr<CControlPanelPTM_Brevo> m_brevoPanel;
    std::unique_ptr<CControlPanelTovane> m_tovanePanel;
    std::unique_ptr<WaitNotice> m_waitNotice;
};
