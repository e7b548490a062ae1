// A writer of the watcher load test, standing in for a portfolio script: for the given number of
// seconds it appends a line "w<id>n<count>" with CR LF to a message file picked at random, opening and
// closing the file for every line, as the terminal does; every line written goes to its ledger too.
//   message_writer LEDGER ID SECONDS SEED MESSAGE_FILE...
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <random>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

bool append(const std::string& file, const std::string& bytes) {
    const int fd = ::open(file.c_str(), O_WRONLY | O_APPEND | O_CREAT, 0644);
    if (fd < 0)
        return false;
    const bool whole = ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    ::close(fd);
    return whole;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 6)
        return 2;
    const std::string ledger = argv[1];
    const std::string id = argv[2];
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(std::atoi(argv[3]));
    std::mt19937 random(static_cast<unsigned>(std::atoi(argv[4])));
    const std::vector<std::string> files(argv + 5, argv + argc);
    std::uniform_int_distribution<std::size_t> pickFile(0, files.size() - 1);
    std::uniform_int_distribution<int> pause(2, 20);

    for (long count = 0; std::chrono::steady_clock::now() < until; ++count) {
        const std::string line = "w" + id + "n" + std::to_string(count);
        if (!append(files[pickFile(random)], line + "\r\n") || !append(ledger, line + "\n"))
            return 1;
        std::this_thread::sleep_for(std::chrono::milliseconds(pause(random)));
    }
    return 0;
}
