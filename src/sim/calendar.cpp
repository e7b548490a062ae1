#include "sim/calendar.h"

#include "sim/conversions.h"

#include <charconv>
#include <cstdio>

namespace zorvant::sim {

bool isValidDate(int yyyymmdd) {
    const int year = yyyymmdd / 10000, month = yyyymmdd / 100 % 100, day = yyyymmdd % 100;
    return year >= 1900 && year <= 2999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= daysInMonth(year, month);
}

bool isValidTime(int hhmmss) {
    return hhmmss >= 0 && hhmmss / 10000 < 24 && hhmmss / 100 % 100 < 60 && hhmmss % 100 < 60;
}

int daysInMonth(int year, int month) {
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

// The civil-calendar algorithms of H. Hinnant, for the proleptic Gregorian calendar.
long long dayNumber(int yyyymmdd) {
    int y = yyyymmdd / 10000;
    const int m = yyyymmdd / 100 % 100, d = yyyymmdd % 100;
    y -= m <= 2;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = y - era * 400;
    const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return static_cast<long long>(era) * 146097 + doe - 719468;
}

int dateOfDay(long long day) {
    day += 719468;
    const long long era = (day >= 0 ? day : day - 146096) / 146097;
    const long long doe = day - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    const long long d = doy - (153 * mp + 2) / 5 + 1;
    const long long m = mp < 10 ? mp + 3 : mp - 9;
    const long long y = yoe + era * 400 + (m <= 2);
    return static_cast<int>(y * 10000 + m * 100 + d);
}

int secondsOfDay(int hhmmss) {
    return hhmmss / 10000 * 3600 + hhmmss / 100 % 100 * 60 + hhmmss % 100;
}
int timeOfSeconds(int seconds) {
    return seconds / 3600 * 10000 + seconds / 60 % 60 * 100 + seconds % 60;
}

long long Period::roughSeconds() const {
    switch (kind) {
    case Kind::Minutes:
        return minutes * 60LL;
    case Kind::Day:
        return 86400;
    case Kind::Week:
        return 7 * 86400;
    case Kind::Month:
        return 31 * 86400;
    }
    return 0;
}

std::optional<Period> parsePeriod(std::string_view text) {
    const std::string upper = upperCaseLatin(text);
    if (upper == "D" || upper == "DAY")
        return Period{Period::Kind::Day, 0};
    if (upper == "W" || upper == "WEEK")
        return Period{Period::Kind::Week, 0};
    if (upper == "M" || upper == "MONTH")
        return Period{Period::Kind::Month, 0};
    int minutes = 0;
    const auto [end, error] = std::from_chars(upper.data(), upper.data() + upper.size(), minutes);
    if (error != std::errc() || end != upper.data() + upper.size() || minutes < 1 || minutes > 1440 ||
        1440 % minutes != 0)
        return std::nullopt;
    return Period{Period::Kind::Minutes, minutes};
}

std::string periodText(const Period& period) {
    switch (period.kind) {
    case Period::Kind::Minutes:
        return std::to_string(period.minutes);
    case Period::Kind::Day:
        return "DAY";
    case Period::Kind::Week:
        return "WEEK";
    case Period::Kind::Month:
        return "MONTH";
    }
    return {};
}

Moment lastSecondOf(const Moment& start, const Period& period) {
    switch (period.kind) {
    case Period::Kind::Minutes: {
        const int end = std::min(secondsOfDay(start.time) + period.minutes * 60 - 1, 86399);
        return {start.date, timeOfSeconds(end)};
    }
    case Period::Kind::Day:
        return {start.date, 235959};
    case Period::Kind::Week:
        return {dateOfDay(dayNumber(start.date) + 6), 235959};
    case Period::Kind::Month:
        return {start.date / 100 * 100 + daysInMonth(start.date / 10000, start.date / 100 % 100), 235959};
    }
    return start;
}

namespace {

// Two digits of a number below 100, as "%02d" writes it.
void twoDigits(char* out, int n) {
    out[0] = static_cast<char>('0' + n / 10);
    out[1] = static_cast<char>('0' + n % 10);
}

} // namespace

// Written digit by digit: the text of the server date and time is asked for at every recalculation.
std::string dateText(int yyyymmdd) {
    if (yyyymmdd < 0 || yyyymmdd > 99999999) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%02d.%02d.%04d", yyyymmdd % 100, yyyymmdd / 100 % 100,
                      yyyymmdd / 10000);
        return buffer;
    }
    std::string text = "00.00.0000";
    twoDigits(&text[0], yyyymmdd % 100);
    twoDigits(&text[3], yyyymmdd / 100 % 100);
    twoDigits(&text[6], yyyymmdd / 1000000);
    twoDigits(&text[8], yyyymmdd / 10000 % 100);
    return text;
}

std::string timeText(int hhmmss) {
    if (hhmmss < 0 || hhmmss > 999999) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", hhmmss / 10000, hhmmss / 100 % 100,
                      hhmmss % 100);
        return buffer;
    }
    std::string text = "00:00:00";
    twoDigits(&text[0], hhmmss / 10000);
    twoDigits(&text[3], hhmmss / 100 % 100);
    twoDigits(&text[6], hhmmss % 100);
    return text;
}

} // namespace zorvant::sim
