#pragma once
// One row of the watch table and its text form in the settings file:
// MessageFile ";" Action ";" Target, nothing escaped.
#include "text/cp1251.h"

#include <array>
#include <string>
#include <string_view>

namespace zorvant::watch {
using namespace text::literals;

struct WatchRecord {
    std::string MessageFile;
    std::string Action;
    std::string Target;
    bool operator==(const WatchRecord&) const = default;
};

inline constexpr std::string_view kPlaySound = "Проиграть wav файл"_cp;
inline constexpr std::string_view kOpenFile = "Открыть файл"_cp;
inline constexpr std::string_view kRunProgram = "Запустить приложение"_cp;
inline constexpr std::string_view kSendMail = "Отправить эл. почтой"_cp;
inline constexpr std::string_view kSendTelegram = "Отправить в Telegram"_cp;
inline constexpr std::string_view kPostToWeb = "Отправить на веб-адрес"_cp;
inline constexpr std::array<std::string_view, 6> kActions = {kPlaySound, kOpenFile,     kRunProgram,
                                                             kSendMail,  kSendTelegram, kPostToWeb};

// Cuts a stored value: MessageFile before the first ";", Action before the next, Target the rest
// (further semicolons included). A value without ";" is all Target.
WatchRecord parseWatchValue(std::string_view value);
std::string formatWatchValue(const WatchRecord& record);

} // namespace zorvant::watch
