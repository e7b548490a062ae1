#pragma once
// The portfolio script generator: turns the condition list and the portfolio, client and message
// settings into one PORTFOLIO_EX ... END_PORTFOLIO_EX script.
#include "qpl/generated_script.h"
#include "qpl/generator_input.h"

namespace zorvant::qpl {

// Problems in the list (a malformed condition, unequal brackets) become messages; the script is
// produced all the same.
GeneratedScript generateScript(const GeneratorInput& input);

} // namespace zorvant::qpl
