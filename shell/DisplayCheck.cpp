#include "DisplayCheck.h"

namespace {

QString chosenPlatform(const QProcessEnvironment& environment, const QStringList& arguments)
{
    const qsizetype option = arguments.indexOf(QStringLiteral("-platform"));
    const QString platform = option >= 0 && option + 1 < arguments.size()
                                 ? arguments.at(option + 1)
                                 : environment.value(QStringLiteral("QT_QPA_PLATFORM"));
    // Plugin options follow a colon ("offscreen:size=800x600").
    return platform.section(QLatin1Char(':'), 0, 0).trimmed();
}

} // namespace

QString displayProblem(const QProcessEnvironment& environment, const QStringList& arguments)
{
    const bool x11 = !environment.value(QStringLiteral("DISPLAY")).isEmpty();
    const bool wayland = !environment.value(QStringLiteral("WAYLAND_DISPLAY")).isEmpty();
    const QString platform = chosenPlatform(environment, arguments);
    const bool canShow = platform.isEmpty() ? x11 || wayland : platform != QLatin1String("xcb") || x11;
    if (canShow)
        return {};
    return QStringLiteral(
        "PK70App needs a graphical display, and there is none: DISPLAY and WAYLAND_DISPLAY are not set.\n"
        "Start it from a desktop session, or on a virtual display: xvfb-run -a build/shell/pk70app\n"
        "Without a display you can still try the tool:\n"
        "  scripts/run-tests.sh runs every test against the simulated cameras;\n"
        "  build/sim/camsim/camsim --help serves a simulated camera on a pseudo-terminal for any serial\n"
        "  program (build it with: cmake --build build --target camsim).\n");
}
