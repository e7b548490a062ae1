#include "watch/local_actions.h"

#include "platform/services.h"
#include "text/error.h"
#include "watch/message_text.h"

namespace zorvant::watch {

bool soundIsMissing(platform::Services& system, const WatchRecord& record) {
    return record.Action == kPlaySound && !system.plainFileExists(unquoted(record.Target));
}

TickReport carryOut(platform::Services& system, const WatchRecord& record, const std::string& claimed) {
    TickReport done{TickReport::Kind::Action, {}, record.MessageFile, record.Action, record.Target, {}};
    std::string& target = done.target;
    const auto substituted = [&] {
        if (target.find(kPlaceholder) != std::string::npos) {
            done.text = ReadMessageText(system, claimed);
            target = substitutePlaceholder(target, done.text);
        }
    };
    if (record.Action == kPlaySound) {
        target = unquoted(record.Target);
        system.playSound(target);
    } else if (record.Action == kOpenFile) {
        target = unquoted(record.Target);
        if (target == record.MessageFile) {
            target = copyNameFor(target);
            system.copyFileReplacing(claimed, target);
        }
        substituted();
        system.shellOpen(target);
    } else if (record.Action == kRunProgram) {
        substituted();
        system.startCommandLine(target);
    } else {
        // A message to deliver that reached no channel must never become a command line.
        throw Error(std::string("Действие «"_cp) + record.Action + std::string("» здесь не выполняется."_cp));
    }
    return done;
}

} // namespace zorvant::watch
