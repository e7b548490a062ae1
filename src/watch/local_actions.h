#pragma once
// The actions carried out at once, in the tick: play a sound, open a file, start a program. Each works
// on a claimed message file. Texts are Windows-1251.
#include "watch/tick_report.h"
#include "watch/watch_record.h"

#include <string>

namespace zorvant::platform {
class Services;
}

namespace zorvant::watch {

// True for the sound action whose sound file is not there: the message is left for a later tick, and
// for a later row of the table on the same file.
bool soundIsMissing(platform::Services& system, const WatchRecord& record);

// Carries out the record's action on the claimed file and returns its report (without the time). Throws
// zorvant::Error when it cannot be done; the claimed file is not touched either way.
TickReport carryOut(platform::Services& system, const WatchRecord& record, const std::string& claimed);

} // namespace zorvant::watch
