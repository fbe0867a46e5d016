// Start at login through the XDG autostart file
// $XDG_CONFIG_HOME/autostart/daybook.desktop.
#pragma once

#include <QString>

namespace platform {

QString autostartFilePath();
// Writes (on) or removes (off) the autostart entry; false when it could not.
bool setAutostart(bool on, const QString& executable);
bool isAutostartEnabled();

}  // namespace platform
