#include "platform/services.h"

#include "platform/platform.h"

namespace zorvant::platform {

bool Services::plainFileExists(std::string_view name) {
    return platform::plainFileExists(name);
}
bool Services::deleteFile(std::string_view name) {
    return platform::deleteFile(name);
}
bool Services::copyFileReplacing(std::string_view from, std::string_view to) {
    return platform::copyFileReplacing(from, to);
}
bool Services::renameFile(std::string_view from, std::string_view to) {
    return platform::renameFile(from, to);
}
Claim Services::claimFile(std::string_view file, std::string_view claimed) {
    return platform::claimFile(file, claimed);
}
Claim Services::holdClaimed(std::string_view claimed) {
    return platform::holdClaimed(claimed);
}
std::string Services::readFile(std::string_view name) {
    return platform::readFile(name);
}

} // namespace zorvant::platform
