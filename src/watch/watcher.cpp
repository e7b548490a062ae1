#include "watch/watcher.h"

#include "platform/services.h"
#include "text/cp1251.h"
#include "watch/delivery_rules.h"
#include "watch/local_actions.h"
#include "watch/message_text.h"

#include <algorithm>
#include <exception>
#include <set>
#include <thread>

namespace zorvant::watch {
using namespace text::literals;

namespace {

bool isKnownAction(std::string_view action) {
    return std::find(kActions.begin(), kActions.end(), action) != kActions.end();
}

std::string keyOf(const WatchRecord& record) {
    return record.MessageFile + '\0' + record.Action + '\0' + record.Target;
}

std::string claimFailure(const std::string& file, const std::string& claimed, const platform::Claim& claim) {
    using platform::ClaimStatus;
    if (claim.status == ClaimStatus::NotPlainFile)
        return std::string("Файл сообщений "_cp) + file +
               std::string(" не является обычным файлом и оставлен как есть."_cp);
    if (claim.status == ClaimStatus::Folder)
        return std::string("Не удаётся занять файл сообщений "_cp) + file + std::string(": на месте "_cp) +
               claimed + std::string(" находится папка."_cp);
    return std::string("Не удаётся занять файл сообщений "_cp) + file + std::string(" (переименовать в "_cp) +
           claimed + "): " + claim.reason;
}

} // namespace

std::string claimedName(std::string_view messageFile) {
    return std::string(messageFile) + "~zorvant";
}

Watcher::Watcher(platform::Services& system, Channels channels, Clock clock)
    : system_(system), channels_(std::move(channels)), clock_(std::move(clock)),
      worker_([this](Delivery&& delivery, const DeliveryOutcome& outcome) {
          finishDelivery(std::move(delivery), outcome);
      }) {}

Watcher::~Watcher() {
    worker_.stop();
}

std::optional<std::vector<TickReport>> Watcher::tick(const TickInput& input) {
    const std::unique_lock lock(running_, std::try_to_lock);
    if (!lock.owns_lock())
        return std::nullopt;
    ++ticks_;
    takeBackDeliveries();
    if (!reportedErrors_.empty() || !held_.empty())
        forgetRemovedRecords(input.records);
    decided_.clear();
    fresh_.clear();
    for (const auto& record : input.records)
        if (visit(record, input))
            fresh_.push_back(&record);
    if (!fresh_.empty()) {
        std::this_thread::sleep_until(firstClaim_ + kClaimSettle);
        for (const auto* record : fresh_) {
            const std::string claimed = claimedName(record->MessageFile);
            if (const auto held = held_.find(claimed); held != held_.end())
                actOnHeld(*record, claimed, held->second, input);
        }
    }
    return takeReports();
}

bool Watcher::visit(const WatchRecord& record, const TickInput& input) {
    const std::string& file = record.MessageFile;
    if (file.empty() || !isKnownAction(record.Action) || (!decided_.empty() && decided_.contains(file)))
        return false;
    if (!held_.empty()) {
        const std::string claimed = claimedName(file);
        if (const auto held = held_.find(claimed); held != held_.end()) {
            actOnHeld(record, claimed, held->second, input);
            return false;
        }
    }
    if (probed_.insert(file).second && system_.plainFileExists(claimedName(file)))
        return take(record, system_.holdClaimed(claimedName(file)));
    if (!system_.plainFileExists(file)) {
        if (!reportedErrors_.empty())
            reportedErrors_.erase(keyOf(record)); // a streak of failed claims ends with the file
        return false;
    }
    if (soundIsMissing(system_, record))
        return false;
    const std::string claimed = claimedName(file);
    platform::Claim claim = system_.claimFile(file, claimed);
    if (claim.status == platform::ClaimStatus::Taken)
        claim = system_.holdClaimed(claimed);
    return take(record, std::move(claim));
}

bool Watcher::take(const WatchRecord& record, platform::Claim claim) {
    using platform::ClaimStatus;
    const std::string& file = record.MessageFile;
    if (claim.status == ClaimStatus::Missing)
        return false;
    decided_.insert(file);
    if (claim.status == ClaimStatus::Busy)
        return false;
    if (claim.status != ClaimStatus::Claimed) {
        reportError(record, claimFailure(file, claimedName(file), claim));
        return false;
    }
    if (fresh_.empty())
        firstClaim_ = std::chrono::steady_clock::now();
    Held& held = held_[claimedName(file)];
    held = Held{};
    held.messageFile = file;
    held.hold = std::move(claim.hold);
    held.seen = held.hold.state();
    held.seenInTick = ticks_;
    held.found = clock_();
    return true;
}

void Watcher::actOnHeld(const WatchRecord& record, const std::string& claimed, Held& held,
                        const TickInput& input) {
    if (held.owner && *held.owner != record)
        return; // the record it belongs to may come later in the table
    if (held.delivering || (held.owner && !held.retry.isDue(clock_()))) {
        decided_.insert(record.MessageFile);
        return;
    }
    if (soundIsMissing(system_, record))
        return;
    decided_.insert(record.MessageFile);
    if (writerIsBusy(claimed, held))
        return;
    if (channelFor(record.Action) != nullptr) {
        handOver(record, claimed, held, input);
        return;
    }
    try {
        TickReport done = carryOut(system_, record, claimed);
        system_.deleteFile(claimed);
        held_.erase(claimed);
        if (!reportedErrors_.empty())
            reportedErrors_.erase(keyOf(record));
        done.time = clock_();
        report(std::move(done));
    } catch (const std::exception& error) {
        reportError(record, error.what());
    }
}

bool Watcher::writerIsBusy(const std::string& claimed, Held& held) {
    switch (system_.writerState(claimed)) {
    case platform::WriterState::Free:
        return false;
    case platform::WriterState::Held:
        return true;
    case platform::WriterState::Unknown:
        break;
    }
    // Where the system cannot say (the file has another owner, or lies on a network share): the file
    // must have stood still since it was last seen, and end with a whole line unless it stood still for
    // a whole tick.
    const platform::FileHold::State now = held.hold.state();
    if (now != held.seen) {
        held.seen = now;
        held.seenInTick = ticks_;
        return true;
    }
    return now.size != 0 && !now.endsWithLineEnd && held.seenInTick == ticks_;
}

void Watcher::handOver(const WatchRecord& record, const std::string& claimed, Held& held,
                       const TickInput& input) {
    std::string text;
    try {
        text = ReadMessageText(system_, claimed);
    } catch (const std::exception& error) {
        reportError(record, error.what());
        return;
    }
    held.delivering = true;
    Parcel parcel{record.MessageFile, record.Action,  record.Target, std::move(text),
                  input.mail,         input.telegram, held.found,    held.progress};
    worker_.hand({claimed, record, std::move(parcel), std::move(held.hold), held.retry, input.interval},
                 *channelFor(record.Action));
}

DeliveryChannel* Watcher::channelFor(std::string_view action) const {
    for (const auto& [handled, channel] : channels_)
        if (handled == action)
            return channel;
    return nullptr;
}

void Watcher::finishDelivery(Delivery&& delivery, const DeliveryOutcome& outcome) {
    std::string claimed = delivery.claimed;
    auto again = settleDelivery(std::move(delivery), outcome, system_, clock_(),
                                [this](TickReport made) { report(std::move(made)); });
    const std::lock_guard lock(returnedMutex_);
    returned_.emplace_back(std::move(claimed), std::move(again));
}

void Watcher::takeBackDeliveries() {
    std::vector<std::pair<std::string, std::optional<Delivery>>> returned;
    {
        const std::lock_guard lock(returnedMutex_);
        returned.swap(returned_);
    }
    for (auto& [claimed, again] : returned) {
        const auto held = held_.find(claimed);
        if (held == held_.end())
            continue;
        if (!again) {
            held_.erase(held);
            continue;
        }
        held->second.hold = std::move(again->hold);
        held->second.delivering = false;
        held->second.owner = std::move(again->record);
        held->second.retry = again->retry;
        held->second.progress = std::move(again->parcel.progress);
    }
}

void Watcher::forgetRemovedRecords(const std::vector<WatchRecord>& records) {
    std::set<std::string> keys, files;
    for (const auto& record : records) {
        keys.insert(keyOf(record));
        files.insert(record.MessageFile);
    }
    std::erase_if(reportedErrors_, [&](const auto& entry) { return !keys.contains(entry.first); });
    for (auto held = held_.begin(); held != held_.end();) {
        // A message whose record is gone goes to whichever record watches its file now; one that no
        // record watches any more is let go, for another watcher or the next start.
        if (held->second.owner && !keys.contains(keyOf(*held->second.owner)))
            held->second.owner.reset();
        if (!held->second.delivering && !files.contains(held->second.messageFile))
            held = held_.erase(held);
        else
            ++held;
    }
}

void Watcher::report(TickReport made) {
    {
        const std::lock_guard lock(reportsMutex_);
        const std::string logFailure = log_ != nullptr ? log_->append(made) : std::string();
        const std::chrono::system_clock::time_point time = made.time;
        reports_.push_back(std::move(made));
        if (!logFailure.empty() && !logFailed_)
            reports_.push_back({TickReport::Kind::Error,
                                time,
                                {},
                                {},
                                {},
                                std::string("Журнал сигналов не записан: "_cp) + logFailure});
        logFailed_ = !logFailure.empty();
    }
    const std::lock_guard lock(listenerMutex_);
    if (listener_)
        listener_();
}

void Watcher::reportError(const WatchRecord& record, const std::string& text) {
    auto& last = reportedErrors_[keyOf(record)];
    if (last == text)
        return;
    last = text;
    report({TickReport::Kind::Error, clock_(), record.MessageFile, record.Action, record.Target, text});
}

std::vector<TickReport> Watcher::takeReports() {
    const std::lock_guard lock(reportsMutex_);
    return std::exchange(reports_, {});
}

void Watcher::onReports(std::function<void()> listener) {
    const std::lock_guard lock(listenerMutex_);
    listener_ = std::move(listener);
}

bool Watcher::waitForDeliveries(std::chrono::milliseconds time) {
    return worker_.waitUntilIdle(time);
}

void Watcher::stopDeliveries() {
    worker_.stop();
}

} // namespace zorvant::watch
