#pragma once
// Network connections that a library opened, ended from outside it.
#include <cstdint>

namespace zorvant::platform {

// Ends the connection at once, from any thread: whoever waits on it wakes with an error. The socket
// stays open until its owner closes it.
void shutDownSocket(std::intptr_t socket);
void closeSocket(std::intptr_t socket);

} // namespace zorvant::platform
