#include "support/python_server.h"

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace zorvant::testing {
namespace fs = std::filesystem;

namespace {

// Debian's own interpreter: the one first on PATH may not see Debian's python3-* packages.
constexpr const char* kPython = "/usr/bin/python3";

std::string fileText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void makeCertificate(const fs::path& dir, const std::string& address) {
    const std::string command = "openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=localhost"
                                " -addext subjectAltName=IP:" +
                                address + ",DNS:localhost -keyout '" + (dir / "key.pem").string() +
                                "' -out '" + (dir / "cert.pem").string() + "' 2>'" +
                                (dir / "openssl.log").string() + "'";
    if (std::system(command.c_str()) != 0)
        throw std::runtime_error("openssl could not make the test certificate: " +
                                 fileText(dir / "openssl.log"));
}

} // namespace

PythonServer::PythonServer(const std::string& script, const std::string& address,
                           std::vector<std::string> arguments, const TempFolder& folder)
    : folder_(folder) {
    const fs::path dir = folder.path();
    makeCertificate(dir, address);
    std::vector<std::string> args = {
        kPython, script, "--cert", (dir / "cert.pem").string(), "--key", (dir / "key.pem").string()};
    args.insert(args.end(), arguments.begin(), arguments.end());
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
    ready_ = JsonValue::parse(readLine());
}

PythonServer::~PythonServer() {
    if (toServer_ >= 0)
        close(toServer_);
    if (fromServer_ >= 0)
        close(fromServer_);
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
}

std::string PythonServer::caFile() const {
    return (folder_.path() / "cert.pem").string();
}

std::string PythonServer::readLine() const {
    std::string line;
    char c = 0;
    while (line.empty() || line.back() != '\n') {
        pollfd ready{fromServer_, POLLIN, 0};
        if (poll(&ready, 1, 30000) <= 0 || read(fromServer_, &c, 1) != 1)
            throw std::runtime_error("the test server did not start: " +
                                     fileText(folder_.path() / "server.log"));
        line += c;
    }
    return line;
}

} // namespace zorvant::testing
