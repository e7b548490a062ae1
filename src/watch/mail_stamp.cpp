#include "watch/mail_stamp.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdio>
#include <random>

namespace zorvant::watch {
namespace {

constexpr std::string_view kFallbackDomain = "zorvant.local";

std::string twoDigits(unsigned value) {
    return {static_cast<char>('0' + value / 10 % 10), static_cast<char>('0' + value % 10)};
}

bool isHostName(std::string_view domain) {
    return !domain.empty() && std::all_of(domain.begin(), domain.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
               c == '-';
    });
}

} // namespace

std::string mailDate(std::chrono::sys_seconds date) {
    using namespace std::chrono;
    static constexpr std::array<std::string_view, 7> kDays = {"Sun", "Mon", "Tue", "Wed",
                                                              "Thu", "Fri", "Sat"};
    static constexpr std::array<std::string_view, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const auto day = floor<days>(date);
    const year_month_day ymd(day);
    const hh_mm_ss time(date - day);
    return std::string(kDays[weekday(day).c_encoding()]) + ", " + twoDigits(unsigned(ymd.day())) + " " +
           std::string(kMonths[unsigned(ymd.month()) - 1]) + " " + std::to_string(int(ymd.year())) + " " +
           twoDigits(unsigned(time.hours().count())) + ":" + twoDigits(unsigned(time.minutes().count())) +
           ":" + twoDigits(unsigned(time.seconds().count())) + " +0000";
}

std::string messageId(std::string_view uniqueId, std::string_view senderAddress) {
    const auto at = senderAddress.rfind('@');
    const std::string_view domain = at == std::string_view::npos ? "" : senderAddress.substr(at + 1);
    return "<" + std::string(uniqueId) + "@" + std::string(isHostName(domain) ? domain : kFallbackDomain) +
           ">";
}

MailStamp newMailStamp() {
    static std::atomic<unsigned> counter{0};
    static const auto seed = std::random_device{}();
    const unsigned serial = counter++;
    std::mt19937_64 random(seed + serial);
    const auto now = std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now());
    char id[64];
    std::snprintf(id, sizeof id, "%llx.%016llx.%u",
                  static_cast<unsigned long long>(now.time_since_epoch().count()),
                  static_cast<unsigned long long>(random()), serial);
    return {now, id};
}

} // namespace zorvant::watch
