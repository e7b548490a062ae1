#include "qpl/message_period.h"

#include "qpl/period_code.h"

namespace zorvant::qpl {

void MessagePeriodSelection::offer(std::string_view periodCode, std::string_view chart) {
    if (periodCode.empty())
        return;
    if (period_ == "0" || periodRank(periodCode) < periodRank(period_)) {
        period_ = std::string(periodCode);
        chart_ = std::string(chart);
    }
}

bool isDatePeriod(std::string_view periodCode) {
    return periodCode == "DAY" || periodCode == "WEEK" || periodCode == "MONTH";
}

} // namespace zorvant::qpl
