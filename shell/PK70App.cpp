#include "PK70App.h"

#include "CameraLinkDlg.h"
#include "CameraLinkSerial.h"
#include "Clock.h"
#include "Messages.h"
#include "PortBackend.h"
#include "SimulatedPort.h"
#include "WireLog.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>

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
    std::unique_ptr<WireLogFile> wireLogFile;
    if (!m_wireLogPath.isEmpty()) {
        QString error;
        wireLogFile = WireLogFile::open(mainWindow.wireLog(), m_wireLogPath, &error);
        if (!wireLogFile) {
            std::fprintf(stderr, "pk70app: %s\n", qPrintable(error));
            return 2;
        }
    }
    QObject::connect(&mainWindow, &CCameraLinkDlg::closed, qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    mainWindow.OnInitDialog();
    mainWindow.show();
    return QApplication::exec();
}

QString wireLogPathArgument(const QStringList& arguments, QString* error)
{
    const QString option = QStringLiteral("--wire-log");
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        QString path;
        if (argument.startsWith(option + QLatin1Char('=')))
            path = argument.mid(option.size() + 1);
        else if (argument == option && i + 1 < arguments.size())
            path = arguments.at(i + 1);
        else if (argument != option)
            continue;
        if (path.isEmpty() && error)
            *error = QStringLiteral("--wire-log needs the file to write the wire log to");
        return path;
    }
    return {};
}
