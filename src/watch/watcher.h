#pragma once
// The watch tick: visits the watch records in table order and carries out the action of each record
// whose message file exists. It works on a snapshot and returns what it did, so it may run on any
// thread; two ticks never run at once.
//
// A message file is first claimed: renamed to a private name beside it, so that lines its writer adds
// meanwhile start a new message file for a later tick. The claimed file is deleted once its action is
// done. A claimed file whose action failed (a sound that cannot play, a mail the server refused) stays
// and is tried again later, as is one left from an earlier run.
#include "watch/mail_retry.h"
#include "watch/mail_sender.h"
#include "watch/tick_report.h"
#include "watch/watch_record.h"

#include <chrono>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

namespace zorvant::platform {
class Services;
}

namespace zorvant::watch {

// How long a fresh claim rests before it is acted on. A writer that looked up the message file just
// before the rename may still be opening it; by then it holds the claimed file open, which the check for
// writers sees.
inline constexpr std::chrono::milliseconds kClaimSettle{20};

struct TickInput {
    std::vector<WatchRecord> records;
    MailSettings mail;
    std::chrono::milliseconds interval{5000};
};

// The private name a message file is claimed under.
std::string claimedName(std::string_view messageFile);

class Watcher {
public:
    using Clock = std::function<std::chrono::system_clock::time_point()>;

    Watcher(platform::Services& system, MailSender& mail, Clock clock = &std::chrono::system_clock::now);

    // One report per action carried out and per error first seen. Nothing when another tick is running:
    // this one then does nothing.
    std::optional<std::vector<TickReport>> tick(const TickInput& input);

private:
    struct Visit;

    // True when it claimed the record's message file; its action then waits until the claim settled.
    bool visit(const WatchRecord& record, const TickInput& input, std::vector<TickReport>& reports,
               bool settled);
    bool claim(const std::string& messageFile, const std::string& claimed);
    bool isLeftover(const std::string& messageFile);
    void act(Visit& visit, const TickInput& input);
    void sendMail(Visit& visit, const TickInput& input);
    void consumed(Visit& visit);
    void reportError(Visit& visit, const std::string& text);
    void forgetRemovedRecords(const std::vector<WatchRecord>& records);

    platform::Services& system_;
    MailSender& mail_;
    Clock clock_;
    std::mutex running_;
    // Message files whose claimed name has been looked for once (a leftover of an earlier run).
    std::unordered_set<std::string> probed_;
    // Claimed files known to be there.
    std::unordered_set<std::string> leftovers_;
    // Files claimed in this tick: their actions run once the claim has settled.
    std::unordered_set<std::string> claimedNow_;
    std::chrono::steady_clock::time_point firstClaim_;
    // The last error reported for a record, so that a lasting error is shown once.
    std::map<std::string, std::string> reportedErrors_;
    // Claimed files whose mail failed, with the record that owns them.
    struct PendingMail {
        WatchRecord record;
        MailRetry retry;
    };
    std::map<std::string, PendingMail> pendingMail_;
};

} // namespace zorvant::watch
