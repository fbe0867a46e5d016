// Dates and times as Google's answers write them.
#pragma once

#include <optional>
#include <string_view>

#include "base/datetime.h"

namespace gsync {

// "YYYY-MM-DD" or "YYYY-MM-DDTHH:MM:SS" followed by anything (fraction, "Z",
// offset).  The offset is ignored: the wall-clock time as written is kept.
// Nothing when a field is not a number or the date or time does not exist.
std::optional<base::DateTime> parseGoogleDateTime(std::string_view text);

}  // namespace gsync
