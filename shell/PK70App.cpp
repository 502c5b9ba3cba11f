#include "PK70App.h"

#include "CameraLinkDlg.h"
#include "CameraLinkSerial.h"
#include "Clock.h"
#include "Messages.h"
#include "PortBackend.h"
#include "SimulatedPort.h"

#include <QApplication>
#include <QMessageBox>

void CPK70App::setIdentity()
{
    QCoreApplication::setOrganizationName(QStringLiteral("PK70App"));
    QCoreApplication::setApplicationName(QStringLiteral("PK70App"));
}

int CPK70App::run()
{
    setIdentity();
    setMessageHandler([](const QString& text) {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("PK70App"), text, QMessageBox::Ok);
        box.exec();
    });
    // Listed after the system's ports: the Camera Link serial libraries' ports,
    // then the simulated cameras.
    PortRegistry::instance().add(std::make_shared<CameraLinkPortBackend>());
    PortRegistry::instance().add(std::make_shared<SimulatedPortBackend>(SteadyClock::instance()));

    // The application ends when the main window closes, not when the last
    // window happens to disappear (the port dialog, before the main window shows).
    QApplication::setQuitOnLastWindowClosed(false);
    CCameraLinkDlg mainWindow(SteadyClock::instance());
    QApplication::setWindowIcon(mainWindow.windowIcon());
    QObject::connect(&mainWindow, &CCameraLinkDlg::closed, qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    mainWindow.OnInitDialog();
    mainWindow.show();
    return QApplication::exec();
}
