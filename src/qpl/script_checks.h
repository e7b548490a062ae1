#pragma once
// What the generator says about its input: refusals, after which no script is written, and warnings
// that come with a script that would be wrong or silent. Texts are Windows-1251.
#include "qpl/generator_input.h"
#include "text/cp1251.h"

#include <optional>
#include <string>
#include <string_view>

namespace zorvant::qpl {
using namespace text::literals;

inline constexpr std::string_view kNoIntervalWarning =
    "Ни в одной части условий не выбран интервал из списка: скрипт никогда не запишет сообщение!"_cp;

// Why no script can be made from input: a list without conditions, or a double quote in a text that
// the script writes inside a QPL string literal, which has no way to hold one. Nothing when it can be.
std::optional<std::string> refusalOf(const GeneratorInput& input);

// A stored line number must be a whole number from 0; a level a number with a point or a comma.
std::optional<std::string> lineProblem(int condition, std::string_view line);
std::optional<std::string> levelProblem(int condition, std::string_view level);

// Two conditions that follow each other in the combination without "И" or "ИЛИ" between them.
std::string missingJoinerWarning(int before, int after);

} // namespace zorvant::qpl
