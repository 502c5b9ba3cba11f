#pragma once

#include "Clock.h"
#include "Connection.h"
#include "DetectionProgress.h"
#include "Identification.h"
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
class QLabel;

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

// The main window: owns the one connection to the camera, asks for the port,
// identifies the camera, and owns the terminal and the control panel of the
// camera's family. Its menu brings those windows back and changes the port.
// Closing it records the window positions in the profile (group "Window"),
// destroys the other windows and closes the port.
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
    void setPanelLoadProgressView(PanelLoadProgressViewFactory factory) { m_createLoadView = std::move(factory); }
    void setPageLists(QList<PageEntry> brevo, QList<PageEntry> tovane);

    // Start-up: port selection, terminal, identification and the panel of the
    // camera's family.
    void OnInitDialog();

    // The menu commands.
    void chooseSerialPort();  // "&SerialPort"
    void showTerminal();      // "&Terminal"
    void showControlPanel();  // "&Control"
    void showWireLog();       // "Wire &Log"

    // The line in the window's client area that tells the user what went
    // wrong without a message box (no port, no camera, no panel for the
    // camera). Empty text clears it.
    void showNotice(const QString& text);

    Connection& connection() { return m_connection; }
    SendPath& sendPath() { return m_sendPath; }
    // The port chosen last could not be opened (and the notice says why); a
    // port that opened and was lost later does not count.
    bool portFailedToOpen() const
    {
        return !m_failedPortName.isEmpty() && m_failedPortName == m_connection.portName;
    }
    // Every line sent and received on the connection.
    WireLog& wireLog() { return m_wireLog; }
    CWireLogDlg* wireLogWindow() const { return m_wireLogWindow.get(); }
    QString model() const { return m_model; }
    CameraFamily family() const { return m_family; }
    int sensorTaps() const { return m_sensorTaps; }
    CTerminalDlg* terminal() const { return m_terminal.get(); }
    CControlPanelPTM_Brevo* brevoPanel() const { return m_brevoPanel.get(); }
    CControlPanelTovane* tovanePanel() const { return m_tovanePanel.get(); }

signals:
    // The window has been closed through "E&xit", the close box, Enter or Escape.
    void closed();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenu();
    void openPort();
    // Opens the port unless it is open or has just failed to open in this
    // same user action (which has already reported it).
    bool ensurePortOpen();
    void identifyCamera();
    // Says that no camera answered, or that the camera's panel cannot be
    // shown; clears the notice when "&Control" can show the camera's panel.
    void showIdentificationNotice();
    ControlPanel* panelForModel() const;
    void createTerminal();
    void createControlPanel();
    // Moves the panel there, kept on the screen, and shows it in front.
    void showPanelAt(ControlPanel* panel, QPoint position);
    void bringToFront(QWidget* window);
    void arrangeAroundTovanePanel();
    void setFrameSize(QSize size);
    void recordWindowPositions();
    void destroyChildWindows();

    // Declared first so that they outlive every window that uses them.
    WireLog m_wireLog;
    Connection m_connection;
    SendPath m_sendPath{m_connection};

    PortChooser m_choosePort = chooseWithSerialPortDialog;
    DetectionProgressViewFactory m_createProgressView = DetectionProgressDialog::create;
    PanelLoadProgressViewFactory m_createLoadView = PanelLoadProgressDialog::create;
    QList<PageEntry> m_brevoPages;
    QList<PageEntry> m_tovanePages;

    QString m_model;
    CameraFamily m_family = CameraFamily::None;
    int m_sensorTaps = 0;
    QPoint m_panelPosition{0, 0};
    bool m_closedDown = false;
    bool m_shownOnce = false;
    QString m_failedPortName;
    QLabel* m_notice = nullptr;

    std::unique_ptr<CTerminalDlg> m_terminal;
    std::unique_ptr<CWireLogDlg> m_wireLogWindow;
    std::unique_ptr<CControlPanelPTM_Brevo> m_brevoPanel;
    std::unique_ptr<CControlPanelTovane> m_tovanePanel;
};
