// Replays every kept fuzz input (found faults and seeds) through the entry that found it, so a mended
// fault stays mended in the normal test run, sanitizers included.
#include "entries.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace zorvant::fuzz {
namespace {
namespace fs = std::filesystem;

const fs::path kKept = fs::path(ZORVANT_TEST_DATA) / "fuzz";
const fs::path kSeeds = fs::path(ZORVANT_FUZZ_SEEDS);

std::string bytesOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<fs::path> filesUnder(const fs::path& folder) {
    std::vector<fs::path> files;
    if (fs::is_directory(folder))
        for (const auto& item : fs::directory_iterator(folder))
            if (item.is_regular_file())
                files.push_back(item.path());
    std::sort(files.begin(), files.end());
    return files;
}

// The entry's complaint about one input, or nothing when it ran clean.
std::string complaintAbout(Entry entry, const std::string& bytes) {
    try {
        entry(bytes);
        return "";
    } catch (const std::exception& finding) {
        return finding.what();
    }
}

class Replay : public ::testing::TestWithParam<Target> {};

TEST_P(Replay, KeptInputsRunClean) {
    const Target target = GetParam();
    const std::string name(target.name);
    for (const auto& folder : {kKept / name, kSeeds / name})
        for (const auto& file : filesUnder(folder))
            EXPECT_EQ(complaintAbout(target.entry, bytesOf(file)), "") << file;
}

INSTANTIATE_TEST_SUITE_P(Fuzz, Replay, ::testing::ValuesIn(targets()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(KeptInputs, EveryFolderBelongsToATarget) {
    for (const auto& folder : {kKept, kSeeds}) {
        if (!fs::is_directory(folder))
            continue;
        for (const auto& item : fs::directory_iterator(folder))
            EXPECT_NE(entryNamed(item.path().filename().string()), nullptr) << item.path();
    }
}

} // namespace
} // namespace zorvant::fuzz
