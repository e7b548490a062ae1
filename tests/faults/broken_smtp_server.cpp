#include "broken_smtp_server.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>

namespace zorvant::testing {
namespace fs = std::filesystem;

BrokenSmtpServer::BrokenSmtpServer(const std::string& mode) {
    // Debian's own interpreter: the script needs nothing but the standard library.
    const fs::path portFile = folder_.path() / "port";
    process_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{"/usr/bin/python3", BROKEN_SMTP_SERVER_SCRIPT, mode, portFile.string()},
        (folder_.path() / "server.out").string());
    for (int i = 0; i < 250 && !fs::exists(portFile); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    std::ifstream in(portFile);
    if (!(in >> port_))
        throw std::runtime_error("the broken SMTP server did not start");
}

std::vector<std::string> BrokenSmtpServer::commands() const {
    std::vector<std::string> lines;
    std::ifstream in(folder_.path() / "port.log");
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

} // namespace zorvant::testing
