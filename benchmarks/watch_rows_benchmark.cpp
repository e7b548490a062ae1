// A watch tick over 10, 100 and 1000 rows whose message files are absent, against the same number of
// bare existence checks, so that the cost the tick adds per row shows.
#include "platform/platform.h"
#include "platform/services.h"
#include "watch/watcher.h"

#include <benchmark/benchmark.h>
#include <filesystem>

namespace {
using namespace zorvant;

struct NoMail final : watch::DeliveryChannel {
    watch::DeliveryOutcome deliver(const watch::Parcel&, std::stop_token) override { return {}; }
};

std::vector<watch::WatchRecord> absentRecords(std::int64_t rows) {
    const auto folder = std::filesystem::temp_directory_path() / "zorvant-watch-rows-benchmark";
    std::filesystem::create_directories(folder);
    const std::string prefix = platform::fromNativePath(folder) + platform::kPathSeparator;
    std::vector<watch::WatchRecord> records;
    for (std::int64_t i = 0; i < rows; ++i)
        records.push_back(
            {prefix + "message" + std::to_string(i) + ".txt", std::string(watch::kRunProgram), "x"});
    return records;
}

void ExistenceChecks(benchmark::State& state) {
    const auto records = absentRecords(state.range(0));
    for (auto _ : state)
        for (const auto& record : records)
            benchmark::DoNotOptimize(platform::plainFileExists(record.MessageFile));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(ExistenceChecks)
    ->Arg(10)
    ->Arg(100)
    ->Arg(1000)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity(benchmark::oN);

void TickOverRows(benchmark::State& state) {
    NoMail mail;
    watch::Watcher watcher(platform::systemServices(), {{watch::kSendMail, &mail}});
    const watch::TickInput input{absentRecords(state.range(0)), {}, std::chrono::seconds(1)};
    watcher.tick(input); // the first tick also looks for files left claimed by an earlier run
    for (auto _ : state)
        benchmark::DoNotOptimize(watcher.tick(input));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(TickOverRows)
    ->Arg(10)
    ->Arg(100)
    ->Arg(1000)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity(benchmark::oN);

} // namespace
