#include "support/smtp_test_server.h"

#include <algorithm>
#include <arpa/inet.h>
#include <fstream>
#include <netinet/in.h>
#include <random>
#include <sys/socket.h>
#include <unistd.h>

namespace zorvant::testing {
namespace fs = std::filesystem;

namespace {

std::string fileText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

std::string randomLoopbackAddress() {
    std::random_device random;
    return "127." + std::to_string(1 + random() % 254) + "." + std::to_string(random() % 256) + "." +
           std::to_string(1 + random() % 254);
}

SmtpTestServer::SmtpTestServer(const Options& options)
    : address_(options.address.empty() ? randomLoopbackAddress() : options.address) {
    const fs::path dir = folder_.path();
    fs::create_directory(dir / "mail");
    std::vector<std::string> args = {
        "--folder",     (dir / "mail").string(),          "--user",    std::string(kUser),
        "--password",   std::string(kPassword),           "--address", address_,
        "--plain-port", std::to_string(options.plainPort)};
    for (const auto& address : options.refused)
        args.insert(args.end(), {"--refuse", address});
    for (const auto& address : options.deferred)
        args.insert(args.end(), {"--defer", address});
    server_ = std::make_unique<PythonServer>(ZORVANT_SMTP_SERVER_SCRIPT, address_, std::move(args), folder_);
    for (const char* name : {"plain", "starttls", "smtps"})
        ports_[name] = static_cast<int>(server_->ready()[name].number());
}

SmtpTestServer::~SmtpTestServer() = default;

int SmtpTestServer::port(std::string_view listener) const {
    return ports_.find(listener)->second;
}

std::string SmtpTestServer::host(std::string_view listener) const {
    return address_ + ":" + std::to_string(port(listener));
}

std::string SmtpTestServer::caFile() const {
    return server_->caFile();
}

std::vector<JsonValue> SmtpTestServer::messages() const {
    std::vector<JsonValue> result;
    for (int n = 1;; ++n) {
        const fs::path path = folder_.path() / "mail" / (std::to_string(n) + ".json");
        if (!fs::exists(path))
            return result;
        result.push_back(JsonValue::parse(fileText(path)));
    }
}

std::vector<std::string> SmtpTestServer::events() const {
    std::vector<std::string> lines;
    std::ifstream in(folder_.path() / "mail" / "events.log");
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

int closedPort(const std::string& loopback) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    inet_pton(AF_INET, loopback.c_str(), &address.sin_addr);
    socklen_t length = sizeof address;
    bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    close(fd);
    return ntohs(address.sin_port);
}

} // namespace zorvant::testing
