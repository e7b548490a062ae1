#pragma once
// The watch tick: visits the watch records in table order and, for each record whose message file
// exists, finds, claims and hands over. A sound, a file to open or a program is carried out at once; a
// message to deliver (e-mail) goes to the one delivery worker, so that a slow or silent server never
// holds up the tick. The tick works on a snapshot and may run on any thread; two ticks never run at once.
//
// A message file is claimed by renaming it to a private name beside it, never over an existing file,
// and holding it (platform/claim.h): lines its writer adds meanwhile start a new message file, and
// another watcher on the same table leaves it alone. While a claimed file waits (its delivery is retried,
// its sound cannot play), the next message of that file waits too, so messages go oldest first. The
// first record in table order that can act on a file does; a file its writer still holds is left for the
// next tick by every record.
//
// Every action carried out and every failure, from the tick and from the delivery worker alike, is made
// into a report in one place, written to the alert log there, and waits there to be taken.
#include "watch/alert_log.h"
#include "watch/delivery_channel.h"
#include "watch/delivery_worker.h"
#include "watch/mail_settings.h"
#include "watch/tick_report.h"
#include "watch/watch_record.h"

#include <chrono>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_set>
#include <utility>
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
    TelegramSettings telegram{};
};

// The private name a message file is claimed under.
std::string claimedName(std::string_view messageFile);

class Watcher {
public:
    using Clock = std::function<std::chrono::system_clock::time_point()>;
    // Each action that is delivered off the tick, with the channel that carries it.
    using Channels = std::vector<std::pair<std::string_view, DeliveryChannel*>>;

    Watcher(platform::Services& system, Channels channels, Clock clock = &std::chrono::system_clock::now);
    ~Watcher();
    Watcher(const Watcher&) = delete;
    Watcher& operator=(const Watcher&) = delete;

    // Nothing when another tick is running: this one then does nothing. Otherwise the reports waiting,
    // this tick's included: one per action carried out and per error first seen.
    std::optional<std::vector<TickReport>> tick(const TickInput& input);
    std::vector<TickReport> takeReports();
    // Called, on whatever thread made it, whenever a report is waiting; the listener only arranges for
    // takeReports to be called.
    void onReports(std::function<void()> listener);
    // Every report is also written to this log, from the first tick on. A log that cannot be written is
    // reported once, until it can be again.
    void keepLog(AlertLog* log) { log_ = log; }
    // True once every delivery handed over has finished; waits at most the time given.
    bool waitForDeliveries(std::chrono::milliseconds time);
    // Cuts the delivery in progress short, within a second or so; a message not delivered stays claimed
    // and is delivered at the next start.
    void stopDeliveries();

private:
    struct Held {
        std::string messageFile;
        platform::FileHold hold; // empty while the delivery worker has it
        bool delivering = false;
        // A delivery to try again belongs to its own record until that record is gone from the table.
        std::optional<WatchRecord> owner;
        DeliveryRetry retry;
        DeliveryProgress progress;
        std::chrono::system_clock::time_point found; // when it was claimed
        // For the writer check where the system cannot say: the file as last seen, and in which tick.
        platform::FileHold::State seen;
        std::uint64_t seenInTick = 0;
    };

    // True when it claimed the file now: its action then waits until the claim has settled.
    bool visit(const WatchRecord& record, const TickInput& input);
    bool take(const WatchRecord& record, platform::Claim claim);
    void actOnHeld(const WatchRecord& record, const std::string& claimed, Held& held, const TickInput& input);
    bool writerIsBusy(const std::string& claimed, Held& held);
    void handOver(const WatchRecord& record, const std::string& claimed, Held& held, const TickInput& input);
    DeliveryChannel* channelFor(std::string_view action) const;
    void takeBackDeliveries();
    void finishDelivery(Delivery&& delivery, const DeliveryOutcome& outcome);
    void forgetRemovedRecords(const std::vector<WatchRecord>& records);
    void report(TickReport report);
    void reportError(const WatchRecord& record, const std::string& text);

    platform::Services& system_;
    Channels channels_;
    Clock clock_;
    std::mutex running_;
    std::uint64_t ticks_ = 0;

    // Message files whose claimed name has been looked for once (a leftover of an earlier run).
    std::unordered_set<std::string> probed_;
    // The claimed files this watcher holds, by claimed name.
    std::map<std::string, Held> held_;
    // Message files decided in this tick: acted on, handed over, busy or failed; later rows leave them.
    std::unordered_set<std::string> decided_;
    std::vector<const WatchRecord*> fresh_;
    std::chrono::steady_clock::time_point firstClaim_;
    // The last error reported for a record, so that a lasting error is shown once.
    std::map<std::string, std::string> reportedErrors_;

    // What the delivery worker hands back to the tick: a claimed file it is done with, or a delivery to
    // try again.
    std::mutex returnedMutex_;
    std::vector<std::pair<std::string, std::optional<Delivery>>> returned_;

    std::mutex reportsMutex_;
    std::vector<TickReport> reports_;
    AlertLog* log_ = nullptr;
    bool logFailed_ = false;
    std::mutex listenerMutex_;
    std::function<void()> listener_;

    DeliveryWorker worker_; // last: stopped before the rest goes
};

} // namespace zorvant::watch
