#pragma once
// A stand-in "aplay" first on PATH while the object lives: a sound player that exits at once with the
// given code (1: no sound card), or plays on for a while (exit code -1).
#include "support/temp_folder.h"

#include <cstdlib>
#include <filesystem>
#include <string>

namespace zorvant::testing {

class FakePlayer {
public:
    explicit FakePlayer(int exitCode) : path_(std::getenv("PATH")) {
        folder_.write("aplay",
                      "#!/bin/sh\n" +
                          (exitCode < 0 ? std::string("exec sleep 2") : "exit " + std::to_string(exitCode)) +
                          "\n");
        std::filesystem::permissions(folder_.path() / "aplay", std::filesystem::perms::owner_all);
        ::setenv("PATH", (folder_.path().string() + ":" + path_).c_str(), 1);
    }
    ~FakePlayer() { ::setenv("PATH", path_.c_str(), 1); }
    FakePlayer(const FakePlayer&) = delete;
    FakePlayer& operator=(const FakePlayer&) = delete;

private:
    TempFolder folder_;
    std::string path_;
};

} // namespace zorvant::testing
