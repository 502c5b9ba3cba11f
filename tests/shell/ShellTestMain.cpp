#include "PK70App.h"

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Runs the shell tests in a Qt application whose profile lives in a temporary
// folder, never in the user's configuration.
int main(int argc, char* argv[])
{
    QTemporaryDir profileDir;
    if (!profileDir.isValid())
        return 2;
    qputenv("XDG_CONFIG_HOME", profileDir.path().toLocal8Bit());
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    CPK70App::setIdentity();
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, profileDir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, profileDir.path());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
