// pk70ctl: sends command lines to a camera and prints its answers, for
// scripted camera tests. pk70ctl --help tells how.

#include "CameraLinkSerial.h"
#include "Clock.h"
#include "CtlRunner.h"
#include "PortBackend.h"
#include "SimulatedPort.h"

#include <QCoreApplication>
#include <QFile>

#include <unistd.h>

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    PortRegistry::instance().add(std::make_shared<CameraLinkPortBackend>());
    PortRegistry::instance().add(std::make_shared<SimulatedPortBackend>(SteadyClock::instance()));

    // Unbuffered, so that each answer is out before the next command is sent.
    QFile out;
    QFile err;
    QFile in;
    out.open(STDOUT_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered);
    err.open(STDERR_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered);
    in.open(STDIN_FILENO, QIODevice::ReadOnly);

    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    CtlRunner runner(SteadyClock::instance(), out, err, in);
    return runner.run(arguments);
}
