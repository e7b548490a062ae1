#include "platform/platform.h"

#include "text/cp1251.h"
#include "text/error.h"
#include "text/safe_file.h"

namespace zorvant::platform {
using namespace text::literals;

std::string readFile(std::string_view name) {
    auto bytes = text::readWholeFile(nativePath(name));
    if (!bytes)
        throw Error(std::string("Не удаётся открыть файл "_cp) + std::string(name));
    return std::move(*bytes);
}

void writeFile(std::string_view name, std::string_view bytes, Privacy privacy) {
    const auto access =
        privacy == Privacy::OwnerOnly ? text::FileAccess::OwnerOnly : text::FileAccess::Shared;
    const std::string reason = text::writeFileSafely(nativePath(name), bytes, access);
    if (!reason.empty())
        throw Error(std::string("Не удаётся создать файл "_cp) + std::string(name) + ": " +
                    text::fromUtf8(reason));
}

void appendFile(std::string_view name, std::string_view bytes) {
    const std::string reason = text::appendToFile(nativePath(name), bytes);
    if (!reason.empty())
        throw Error(std::string("Не удаётся записать в файл "_cp) + std::string(name) + ": " +
                    text::fromUtf8(reason));
}

} // namespace zorvant::platform
