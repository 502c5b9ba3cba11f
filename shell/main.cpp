#include "CommandLine.h"
#include "DisplayCheck.h"
#include "PK70App.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    // --help, --version and mistakes on the command line need no display.
    const CommandLine commandLine = parseCommandLine(arguments);
    if (commandLine.exitCode) {
        std::fputs(commandLine.output.toLocal8Bit().constData(), stdout);
        std::fputs(commandLine.error.toLocal8Bit().constData(), stderr);
        return *commandLine.exitCode;
    }
    if (const QString problem = displayProblem(QProcessEnvironment::systemEnvironment(), arguments);
        !problem.isEmpty()) {
        std::fputs(problem.toLocal8Bit().constData(), stderr);
        return 1;
    }
    QApplication application(argc, argv);
    CPK70App app;
    return app.run(commandLine.options);
}
