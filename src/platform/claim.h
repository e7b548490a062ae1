#pragma once
// Claiming a message file for one watcher. The file is renamed to a private name, never over an existing
// file, and held open with an exclusive lock that every watcher respects: two watchers on one table
// (the desktop program and zorvant-cli watch) never act on the same message. The lock lives with the
// open handle, so closing it, or the end of the process, leaves the claimed file for the next watcher.
// Names are Windows-1251.
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace zorvant::platform {

class FileHold {
public:
    FileHold() = default;
    explicit FileHold(std::intptr_t handle) : handle_(handle) {}
    ~FileHold();
    FileHold(FileHold&& other) noexcept : handle_(std::exchange(other.handle_, kNone)) {}
    FileHold& operator=(FileHold&& other) noexcept {
        if (this != &other) {
            FileHold gone(std::move(*this));
            handle_ = std::exchange(other.handle_, kNone);
        }
        return *this;
    }
    FileHold(const FileHold&) = delete;
    FileHold& operator=(const FileHold&) = delete;

    explicit operator bool() const { return handle_ != kNone; }
    std::intptr_t handle() const { return handle_; }

    // What a writer that cannot be asked directly leaves behind: size, modification time and whether
    // the last byte ends a line.
    struct State {
        std::int64_t size = -1;
        std::int64_t modified = 0;
        bool endsWithLineEnd = false;
        bool operator==(const State&) const = default;
    };
    State state() const;

private:
    static constexpr std::intptr_t kNone = -1;
    std::intptr_t handle_ = kNone;
};

enum class ClaimStatus {
    Claimed,      // renamed to the private name, or found there, and held
    Missing,      // nothing there, or a folder where the message file was
    Taken,        // the private name exists already: the earlier message goes first
    Busy,         // another watcher holds it, or its writer keeps it from being renamed
    NotPlainFile, // a pipe, device or socket: never opened for reading
    Folder,       // a folder stands at the private name
    Failed,       // the system refused; reason says why
};

struct Claim {
    Claim(ClaimStatus status = ClaimStatus::Missing, FileHold hold = {}, std::string reason = {})
        : status(status), hold(std::move(hold)), reason(std::move(reason)) {}

    ClaimStatus status;
    FileHold hold;
    std::string reason; // the system's own words, Windows-1251
};

// Renames file to claimed, never replacing, and holds it.
Claim claimFile(std::string_view file, std::string_view claimed);
// Holds a file already under its private name: one left by a watcher that ended (Claimed), or another
// watcher's current claim (Busy). Never answers Taken.
Claim holdClaimed(std::string_view claimed);

// Whether another handle holds a file open for writing, where the system can say.
enum class WriterState { Free, Held, Unknown };

} // namespace zorvant::platform
