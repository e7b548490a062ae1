#pragma once
// The condition block: the QPL lines that fetch a condition's candle values, test its action, set
// condition{C} to 1 when it holds and, in the expanded message mode, build its message fragment mess{C}.
#include "conditions/condition_list.h"
#include "qpl/generated_script.h"
#include "text/cp1251.h"

namespace zorvant::qpl {
using namespace text::literals;

enum class MessageMode { Expanded, Compressed };

inline constexpr std::string_view kConditionError = "Ошибка в описание условий!"_cp;

// Appends condition number's block to script.lines. actionNode is the Condition's "<ДЕЙСТВИЕ>" child and
// nextSibling the node after it (the second operand "<ЧАСТЬ2>" when there is one), or null. A
// two-operand action without a usable second operand adds kConditionError to script.messages and
// leaves its test out.
void ConditionCode(const conditions::Node& actionNode, const conditions::Node* nextSibling, int number,
                   MessageMode mode, GeneratedScript& script);

} // namespace zorvant::qpl
