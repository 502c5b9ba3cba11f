#include "DisplayCheck.h"

#include <gtest/gtest.h>

namespace {

QProcessEnvironment environmentOf(const QStringList& settings)
{
    QProcessEnvironment environment;
    for (const QString& setting : settings)
        environment.insert(setting.section('=', 0, 0), setting.section('=', 1));
    return environment;
}

} // namespace

TEST(DisplayCheck, OnlyAMissingDisplayStopsTheStart)
{
    const struct {
        QStringList environment;
        QStringList arguments;
        bool stops;
    } cases[] = {
        {{}, {"pk70app"}, true},
        {{"DISPLAY="}, {"pk70app"}, true}, // set but empty counts as unset
        {{"HOME=/root", "TERM=xterm"}, {"pk70app"}, true},
        {{"DISPLAY=:0"}, {"pk70app"}, false},
        {{"WAYLAND_DISPLAY=wayland-0"}, {"pk70app"}, false},
        {{"QT_QPA_PLATFORM=offscreen"}, {"pk70app"}, false},
        {{"QT_QPA_PLATFORM=vnc:size=800x600"}, {"pk70app"}, false},
        {{"QT_QPA_PLATFORM=xcb"}, {"pk70app"}, true}, // X11 chosen, and no X display
        {{"QT_QPA_PLATFORM=xcb", "DISPLAY=:99"}, {"pk70app"}, false},
        {{}, {"pk70app", "-platform", "offscreen"}, false},
        {{"DISPLAY=:0"}, {"pk70app", "-platform", "xcb"}, false},
        {{"QT_QPA_PLATFORM=offscreen"}, {"pk70app", "-platform", "xcb"}, true}, // the argument wins
        {{}, {"pk70app", "-platform"}, true},
    };
    for (const auto& c : cases) {
        const QString problem = displayProblem(environmentOf(c.environment), c.arguments);
        EXPECT_EQ(!problem.isEmpty(), c.stops) << c.environment.join(' ').toStdString() << " / "
                                               << c.arguments.join(' ').toStdString();
    }
}
