#pragma once
// Date and time numbers as the terminal writes them: dates YYYYMMDD, times HHMMSS.
#include <optional>
#include <string>
#include <string_view>

namespace zorvant::sim {

struct Moment {
    int date = 0;
    int time = 0;

    long long key() const { return static_cast<long long>(date) * 1000000 + time; }
    friend bool operator==(const Moment&, const Moment&) = default;
};

bool isValidDate(int yyyymmdd);
bool isValidTime(int hhmmss);
// Days since 1970-01-01 of a valid date, and back.
long long dayNumber(int yyyymmdd);
int dateOfDay(long long day);
int daysInMonth(int year, int month);
int secondsOfDay(int hhmmss);
int timeOfSeconds(int seconds);

// An interval of a chart: a number of minutes, or a day, week or month.
struct Period {
    enum class Kind { Minutes, Day, Week, Month };
    Kind kind = Kind::Minutes;
    int minutes = 1;

    // For ordering charts from the shortest interval to the longest.
    long long roughSeconds() const;
    friend bool operator==(const Period&, const Period&) = default;
};

// "1" ... "1440" minutes, "D"/"DAY", "W"/"WEEK", "M"/"MONTH" (any case).
std::optional<Period> parsePeriod(std::string_view text);
std::string periodText(const Period& period);

// The moment of the last second of a candle that starts at start.
Moment lastSecondOf(const Moment& start, const Period& period);

// "DD.MM.YYYY" and "HH:MM:SS".
std::string dateText(int yyyymmdd);
std::string timeText(int hhmmss);

} // namespace zorvant::sim
