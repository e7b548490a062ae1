#pragma once
// A program started by a test, with its standard output and error sent to files; stopped and reaped at
// the end of the test at the latest.
#include <chrono>
#include <string>
#include <vector>

namespace zorvant::testing {

class ChildProcess {
public:
    ChildProcess(const std::vector<std::string>& argv, const std::string& outputFile);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // The exit code, or -1 when it did not end in time (it is killed then) or ended by a signal.
    int waitForExit(std::chrono::milliseconds timeout);
    void terminate();
    // Ctrl+C.
    void interrupt();

private:
    int pid_ = -1;
};

} // namespace zorvant::testing
