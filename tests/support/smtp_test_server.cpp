#include "support/smtp_test_server.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <netinet/in.h>
#include <poll.h>
#include <random>
#include <spawn.h>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace zorvant::testing {
namespace fs = std::filesystem;

namespace {

// Debian's own interpreter: the one first on PATH may not see the python3-aiosmtpd package.
constexpr const char* kPython = "/usr/bin/python3";

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
    makeCertificate();
    start(options);
}

SmtpTestServer::~SmtpTestServer() {
    if (toServer_ >= 0)
        close(toServer_);
    if (fromServer_ >= 0)
        close(fromServer_);
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
}

void SmtpTestServer::makeCertificate() const {
    const fs::path dir = folder_.path();
    const std::string command = "openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=localhost"
                                " -addext subjectAltName=IP:" +
                                address_ + ",DNS:localhost -keyout '" + (dir / "key.pem").string() +
                                "' -out '" + (dir / "cert.pem").string() + "' 2>'" +
                                (dir / "openssl.log").string() + "'";
    if (std::system(command.c_str()) != 0)
        throw std::runtime_error("openssl could not make the test certificate: " +
                                 fileText(dir / "openssl.log"));
}

void SmtpTestServer::start(const Options& options) {
    const fs::path dir = folder_.path();
    fs::create_directory(dir / "mail");
    std::vector<std::string> args = {kPython,        ZORVANT_SMTP_SERVER_SCRIPT,
                                     "--folder",     (dir / "mail").string(),
                                     "--cert",       (dir / "cert.pem").string(),
                                     "--key",        (dir / "key.pem").string(),
                                     "--user",       std::string(kUser),
                                     "--password",   std::string(kPassword),
                                     "--address",    address_,
                                     "--plain-port", std::to_string(options.plainPort)};
    for (const auto& address : options.refused)
        args.insert(args.end(), {"--refuse", address});
    for (const auto& address : options.deferred)
        args.insert(args.end(), {"--defer", address});
    std::vector<char*> argv;
    for (auto& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    int input[2], output[2];
    if (pipe(input) != 0 || pipe(output) != 0)
        throw std::runtime_error("pipe failed");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input[0], 0);
    posix_spawn_file_actions_adddup2(&actions, output[1], 1);
    posix_spawn_file_actions_addopen(&actions, 2, (dir / "server.log").c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    for (const int fd : {input[0], input[1], output[0], output[1]})
        posix_spawn_file_actions_addclose(&actions, fd);
    const int spawned = posix_spawnp(&pid_, kPython, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(input[0]);
    close(output[1]);
    toServer_ = input[1];
    fromServer_ = output[0];
    if (spawned != 0) {
        pid_ = -1;
        throw std::runtime_error(std::string("cannot start ") + kPython);
    }
    const JsonValue ports = JsonValue::parse(readPortsLine());
    for (const char* name : {"plain", "starttls", "smtps"})
        ports_[name] = static_cast<int>(ports[name].number());
}

std::string SmtpTestServer::readPortsLine() const {
    std::string line;
    char c = 0;
    while (line.empty() || line.back() != '\n') {
        pollfd ready{fromServer_, POLLIN, 0};
        if (poll(&ready, 1, 30000) <= 0 || read(fromServer_, &c, 1) != 1)
            throw std::runtime_error("the test SMTP server did not start: " +
                                     fileText(folder_.path() / "server.log"));
        line += c;
    }
    return line;
}

int SmtpTestServer::port(std::string_view listener) const {
    return ports_.find(listener)->second;
}

std::string SmtpTestServer::host(std::string_view listener) const {
    return address_ + ":" + std::to_string(port(listener));
}

std::string SmtpTestServer::caFile() const {
    return (folder_.path() / "cert.pem").string();
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
