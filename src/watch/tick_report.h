#pragma once
// What a watch tick did, for the window or the console to show. Texts are Windows-1251.
#include <chrono>
#include <string>

namespace zorvant::watch {

struct TickReport {
    enum class Kind { Action, Error };
    Kind kind = Kind::Action;
    std::chrono::system_clock::time_point time;
    std::string messageFile;
    std::string action;
    // What the action worked on: the sound, the file opened, the command line started, the addresses.
    std::string target;
    // The message text the action used, or the error's own text.
    std::string text;
    // For an error: the message text, where it was read.
    std::string message{};
};

} // namespace zorvant::watch
