// One watch tick over a table of 1000 records whose message files are all absent, against the same
// number of bare file-existence checks: the tick should cost little beyond the checks themselves.
#include "platform/platform.h"
#include "platform/services.h"
#include "watch/watcher.h"

#include <benchmark/benchmark.h>
#include <filesystem>

namespace {
using namespace zorvant;

constexpr int kRows = 1000;

struct NoMail final : watch::DeliveryChannel {
    watch::DeliveryOutcome deliver(const watch::Parcel&, std::stop_token) override { return {}; }
};

std::string messageFolder() {
    const auto folder = std::filesystem::temp_directory_path() / "zorvant-watch-benchmark";
    std::filesystem::create_directories(folder);
    return platform::fromNativePath(folder) + platform::kPathSeparator;
}

std::vector<watch::WatchRecord> absentRecords() {
    const std::string folder = messageFolder();
    std::vector<watch::WatchRecord> records;
    for (int i = 0; i < kRows; ++i) {
        const auto action = watch::kActions[static_cast<std::size_t>(i) % watch::kActions.size()];
        records.push_back({folder + "message" + std::to_string(i) + ".txt", std::string(action), "target"});
    }
    return records;
}

void BM_FileExistsChecks(benchmark::State& state) {
    const auto records = absentRecords();
    for (auto _ : state)
        for (const auto& record : records)
            benchmark::DoNotOptimize(platform::plainFileExists(record.MessageFile));
}
BENCHMARK(BM_FileExistsChecks)->Unit(benchmark::kMicrosecond);

void BM_TickWithoutMessages(benchmark::State& state) {
    NoMail mail;
    watch::Watcher watcher(platform::systemServices(), {{watch::kSendMail, &mail}});
    const watch::TickInput input{absentRecords(), {}, std::chrono::seconds(5)};
    watcher.tick(input); // the first tick also looks for files left claimed by an earlier run
    for (auto _ : state)
        benchmark::DoNotOptimize(watcher.tick(input));
}
BENCHMARK(BM_TickWithoutMessages)->Unit(benchmark::kMicrosecond);

} // namespace
