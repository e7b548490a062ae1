#pragma once
// The portfolio script generator: turns the condition list and the portfolio, client and message
// settings into one PORTFOLIO_EX ... END_PORTFOLIO_EX script.
#include "qpl/generated_script.h"
#include "qpl/generator_input.h"

namespace zorvant::qpl {

// Problems in the list (a malformed condition, unequal brackets, a missing joiner, a stored number that
// is none, no usable interval) become messages and the script is produced all the same. An input from
// which no working script can come (no condition, a double quote inside a QPL string) is refused.
GeneratedScript generateScript(const GeneratorInput& input);

} // namespace zorvant::qpl
