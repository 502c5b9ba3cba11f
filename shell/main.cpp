#include "DisplayCheck.h"
#include "PK70App.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (const QString problem = displayProblem(QProcessEnvironment::systemEnvironment(), arguments);
        !problem.isEmpty()) {
        std::fputs(problem.toLocal8Bit().constData(), stderr);
        return 1;
    }
    QString wireLogError;
    const QString wireLogPath = wireLogPathArgument(arguments, &wireLogError);
    if (!wireLogError.isEmpty()) {
        std::fprintf(stderr, "pk70app: %s\n", qPrintable(wireLogError));
        return 2;
    }
    QApplication application(argc, argv);
    CPK70App app;
    app.setWireLogPath(wireLogPath);
    return app.run();
}
