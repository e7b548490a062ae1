#pragma once
// The portfolio frame around the condition blocks: head, settings, message, once-per-candle write and
// tail lines.
#include "qpl/generator_input.h"

#include <string>
#include <string_view>
#include <vector>

namespace zorvant::qpl {

using Lines = std::vector<std::string>;

// Only the Latin letters a to z change; Cyrillic and everything else stays as it is.
std::string upperLatin(std::string_view text);

// From "PORTFOLIO_EX" to the separator after "PROGRAM".
void appendHead(const GeneratorInput& input, Lines& lines);
// From "CLIENT_CODE=" to the separator after "datetime_curr=GET_SERVER_DATETIME()".
void appendSettingsLines(const GeneratorInput& input, Lines& lines);
// The message text mess: the start, the merge of each condition's fragment, the time; then the
// combination line between its comment and the separator.
void appendMessageLines(const GeneratorInput& input, int conditionCount, std::string_view combination,
                        Lines& lines);
// The line is written at most once per candle of messageChart on messagePeriod.
void appendOncePerCandleWrite(std::string_view messagePeriod, std::string_view messageChart, Lines& lines);
// The output table and the end of the portfolio.
void appendTail(Lines& lines);

} // namespace zorvant::qpl
