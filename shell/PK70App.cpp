#include "PK70App.h"

#include "AppIdentity.h"
#include "CameraLinkDlg.h"
#include "CameraLinkSerial.h"
#include "Clock.h"
#include "MessageBox.h"
#include "Messages.h"
#include "PortBackend.h"
#include "SimulatedPort.h"
#include "WireLog.h"

#include <QApplication>
#include <QMessageBox>
#include <QScopeGuard>

#include <cstdio>

namespace {

void showMessageBox(const Message& message)
{
    makeMessageBox(message)->exec();
}

} // namespace

void CPK70App::setIdentity()
{
    AppIdentity::apply();
}

int CPK70App::run(const StartOptions& options)
{
    setIdentity();
    // Listed after the system's ports: the Camera Link serial libraries' ports,
    // then the simulated cameras.
    PortRegistry::instance().add(std::make_shared<CameraLinkPortBackend>());
    PortRegistry::instance().add(std::make_shared<SimulatedPortBackend>(SteadyClock::instance()));

    // The application ends when the main window closes, not when the last
    // window happens to disappear (the port dialog, before the main window shows).
    QApplication::setQuitOnLastWindowClosed(false);
    CCameraLinkDlg mainWindow(SteadyClock::instance());
    QApplication::setWindowIcon(mainWindow.windowIcon());
    std::unique_ptr<WireLogFile> wireLogFile;
    if (!options.wireLogPath.isEmpty()) {
        QString error;
        wireLogFile = WireLogFile::open(mainWindow.wireLog(), options.wireLogPath, &error);
        if (!wireLogFile) {
            std::fprintf(stderr, "pk70app: %s\n", qPrintable(error));
            return 2;
        }
    }
    mainWindow.setPortChooser(startPortChooser(options, chooseWithSerialPortDialog));
    QObject::connect(&mainWindow, &CCameraLinkDlg::closed, qApp, &QCoreApplication::quit, Qt::QueuedConnection);

    // A port named on the command line is opened before any window shows:
    // why it did not open goes to standard error, and the application ends.
    // Every other message is a message box.
    const bool portFromCommandLine = !options.portName.isEmpty();
    setMessageHandler([&mainWindow, portFromCommandLine](const Message& message) {
        if (portFromCommandLine && !mainWindow.isVisible() && !mainWindow.connection().isOpen())
            std::fprintf(stderr, "%s\n", qPrintable(message.text));
        else
            showMessageBox(message);
    });
    const auto restoreHandler = qScopeGuard([] { setMessageHandler({}); });
    mainWindow.OnInitDialog();
    // A camera that vanished during the load leaves an opened port closed: the
    // window shows, with the loss in its status line.
    if (portFromCommandLine && mainWindow.portFailedToOpen())
        return kPortNotOpened;
    mainWindow.show();
    return QApplication::exec();
}
