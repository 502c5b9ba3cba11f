#include "AppIdentity.h"

#include <QApplication>

// Outside any namespace, as the resource initialiser requires.
static void initialiseIconResources()
{
    Q_INIT_RESOURCE(pk70app);
}

namespace AppIdentity {

QString version()
{
    return QStringLiteral(PK_VERSION);
}

QString desktopFileName()
{
    return QStringLiteral(PK_APP_ID);
}

QIcon icon()
{
    initialiseIconResources();
    QIcon icon;
    for (const int size : {16, 32, 64, 256})
        icon.addFile(QStringLiteral(":/pk70app-%1.png").arg(size), QSize(size, size));
    return icon;
}

void apply()
{
    QCoreApplication::setOrganizationName(QLatin1String(kName));
    QCoreApplication::setApplicationName(QLatin1String(kName));
    QCoreApplication::setApplicationVersion(version());
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        QGuiApplication::setDesktopFileName(desktopFileName());
        QGuiApplication::setWindowIcon(icon());
    }
}

} // namespace AppIdentity
