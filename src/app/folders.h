// The two folders every file lives in.
//  - program folder: $DAYBOOK_HOME, else the executable's folder when it holds
//    daybook.ini (a portable copy), else $XDG_DATA_HOME/daybook/.
//  - cache folder: $DAYBOOK_CACHE, else $XDG_CACHE_HOME/daybook/google/.
// Both are returned with a trailing "/".
#pragma once

#include <string>

namespace app {

std::string programFolder();
std::string cacheFolder();
std::string executablePath();
std::string settingsPath();  // programFolder() + "daybook.ini"

}  // namespace app
