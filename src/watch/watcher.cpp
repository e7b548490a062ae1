#include "watch/watcher.h"

#include "platform/services.h"
#include "watch/message_text.h"

#include <algorithm>
#include <exception>
#include <set>
#include <thread>

namespace zorvant::watch {
namespace {

bool isKnownAction(std::string_view action) {
    return std::find(kActions.begin(), kActions.end(), action) != kActions.end();
}

std::string keyOf(const WatchRecord& record) {
    return record.MessageFile + '\0' + record.Action + '\0' + record.Target;
}

} // namespace

std::string claimedName(std::string_view messageFile) {
    return std::string(messageFile) + "~zorvant";
}

// One record's turn in a tick.
struct Watcher::Visit {
    const WatchRecord& record;
    std::string claimed;
    std::vector<TickReport>& reports;
    TickReport done{};
};

Watcher::Watcher(platform::Services& system, MailSender& mail, Clock clock)
    : system_(system), mail_(mail), clock_(std::move(clock)) {}

std::optional<std::vector<TickReport>> Watcher::tick(const TickInput& input) {
    const std::unique_lock lock(running_, std::try_to_lock);
    if (!lock.owns_lock())
        return std::nullopt;
    if (!reportedErrors_.empty() || !pendingMail_.empty())
        forgetRemovedRecords(input.records);
    std::vector<TickReport> reports;
    std::vector<const WatchRecord*> claimers;
    claimedNow_.clear();
    for (const auto& record : input.records)
        if (visit(record, input, reports, false))
            claimers.push_back(&record);
    if (!claimers.empty()) {
        std::this_thread::sleep_until(firstClaim_ + kClaimSettle);
        for (const auto* record : claimers)
            visit(*record, input, reports, true);
    }
    return reports;
}

void Watcher::forgetRemovedRecords(const std::vector<WatchRecord>& records) {
    std::set<std::string> keys;
    for (const auto& record : records)
        keys.insert(keyOf(record));
    std::erase_if(reportedErrors_, [&](const auto& entry) { return !keys.contains(entry.first); });
    // A message whose mail record is gone goes to whichever record watches its file now.
    std::erase_if(pendingMail_,
                  [&](const auto& entry) { return !keys.contains(keyOf(entry.second.record)); });
}

bool Watcher::isLeftover(const std::string& messageFile) {
    const bool firstLook = probed_.insert(messageFile).second;
    if (!firstLook && leftovers_.empty())
        return false;
    const std::string claimed = claimedName(messageFile);
    if (firstLook && system_.plainFileExists(claimed))
        leftovers_.insert(claimed);
    if (!leftovers_.contains(claimed))
        return false;
    if (system_.plainFileExists(claimed))
        return true;
    leftovers_.erase(claimed);
    pendingMail_.erase(claimed);
    return false;
}

bool Watcher::visit(const WatchRecord& record, const TickInput& input, std::vector<TickReport>& reports,
                    bool settled) {
    if (record.MessageFile.empty() || !isKnownAction(record.Action))
        return false;
    const bool leftover = isLeftover(record.MessageFile);
    if (!leftover && !system_.plainFileExists(record.MessageFile))
        return false;
    Visit visit{record, claimedName(record.MessageFile), reports};
    if (leftover && !settled && claimedNow_.contains(visit.claimed))
        return false;
    if (leftover) {
        const auto pending = pendingMail_.find(visit.claimed);
        if (pending != pendingMail_.end() &&
            (pending->second.record != record || !pending->second.retry.isDue(clock_())))
            return false;
    }
    // A sound that is not there leaves the message for a later tick.
    if (record.Action == kPlaySound && !system_.plainFileExists(unquoted(record.Target)))
        return false;
    if (!leftover)
        return claim(visit.record.MessageFile, visit.claimed);
    // Its writer is still finishing the last line; the claimed file waits for the next tick.
    if (system_.heldByWriter(visit.claimed))
        return false;
    try {
        act(visit, input);
    } catch (const std::exception& error) {
        reportError(visit, error.what());
    }
    return false;
}

bool Watcher::claim(const std::string& messageFile, const std::string& claimed) {
    if (!system_.renameFile(messageFile, claimed))
        return false;
    // A folder put in the file's place since the existence test was renamed too; it goes back.
    if (!system_.plainFileExists(claimed)) {
        system_.renameFile(claimed, messageFile);
        return false;
    }
    if (claimedNow_.empty())
        firstClaim_ = std::chrono::steady_clock::now();
    leftovers_.insert(claimed);
    claimedNow_.insert(claimed);
    return true;
}

void Watcher::act(Visit& visit, const TickInput& input) {
    const WatchRecord& record = visit.record;
    visit.done = {TickReport::Kind::Action, {}, record.MessageFile, record.Action, record.Target, {}};
    std::string& target = visit.done.target;
    const auto substituted = [&] {
        if (target.find(kPlaceholder) != std::string::npos) {
            visit.done.text = ReadMessageText(system_, visit.claimed);
            target = substitutePlaceholder(target, visit.done.text);
        }
    };
    if (record.Action == kPlaySound) {
        target = unquoted(record.Target);
        system_.playSound(target);
    } else if (record.Action == kOpenFile) {
        target = unquoted(record.Target);
        if (target == record.MessageFile) {
            target = copyNameFor(target);
            system_.copyFileReplacing(visit.claimed, target);
        }
        substituted();
        system_.shellOpen(target);
    } else if (record.Action == kRunProgram) {
        substituted();
        system_.startCommandLine(target);
    } else {
        sendMail(visit, input);
        return;
    }
    consumed(visit);
}

void Watcher::consumed(Visit& visit) {
    system_.deleteFile(visit.claimed);
    leftovers_.erase(visit.claimed);
    pendingMail_.erase(visit.claimed);
    reportedErrors_.erase(keyOf(visit.record));
    visit.done.time = clock_();
    visit.reports.push_back(std::move(visit.done));
}

void Watcher::sendMail(Visit& visit, const TickInput& input) {
    visit.done.text = ReadMessageText(system_, visit.claimed);
    try {
        mail_.send(input.mail, visit.record.Target, visit.done.text);
    } catch (const std::exception& error) {
        auto& pending = pendingMail_.try_emplace(visit.claimed, PendingMail{visit.record, {}}).first->second;
        pending.retry.failed(clock_(), input.interval);
        if (!pending.retry.reported) {
            pending.retry.reported = true;
            visit.reports.push_back({TickReport::Kind::Error, clock_(), visit.record.MessageFile,
                                     visit.record.Action, visit.record.Target, error.what()});
        }
        return;
    }
    consumed(visit);
}

void Watcher::reportError(Visit& visit, const std::string& text) {
    auto& last = reportedErrors_[keyOf(visit.record)];
    if (last == text)
        return;
    last = text;
    visit.reports.push_back({TickReport::Kind::Error, clock_(), visit.record.MessageFile, visit.record.Action,
                             visit.done.target.empty() ? visit.record.Target : visit.done.target, text});
}

} // namespace zorvant::watch
