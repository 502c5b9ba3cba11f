#pragma once

#include <QIcon>
#include <QString>

// Who the application is to the system: its names (they also place the
// profile), its version, the desktop entry it belongs to and its icon.
namespace AppIdentity {

inline constexpr char kName[] = "PK70App";
inline constexpr char kProgram[] = "pk70app";

QString version();
// The desktop entry's name without ".desktop"; the desktop uses it to give
// the windows the entry's icon and name.
QString desktopFileName();
// The icon in every size drawn for it.
QIcon icon();

// Gives the running application these names and the icon, which every window
// without an icon of its own (the panels, the terminal, the dialogs) carries.
void apply();

} // namespace AppIdentity
