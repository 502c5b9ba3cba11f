#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// Why the application cannot show its windows here, or empty text when it
// can. Without a display Qt aborts with a message about reinstalling the
// application; this says plainly what is missing and how to try the tool
// without a display. Cheap enough to ask before QApplication is built.
//
// A display is there when DISPLAY or WAYLAND_DISPLAY is set; a platform
// chosen through QT_QPA_PLATFORM or "-platform" is trusted, except the X11
// one ("xcb") without DISPLAY.
QString displayProblem(const QProcessEnvironment& environment, const QStringList& arguments);
