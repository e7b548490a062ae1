#include "sim/script_error.h"

#include "text/cp1251.h"

namespace zorvant::sim {
namespace {

using namespace text::literals;

std::string placed(SourcePos pos, std::string_view reason) {
    std::string text("строка "_cp);
    text += std::to_string(pos.line);
    if (pos.column > 0) {
        text += ", позиция "_cp;
        text += std::to_string(pos.column);
    }
    text += ": ";
    text += reason;
    return text;
}

} // namespace

ScriptError::ScriptError(SourcePos pos, std::string_view reason)
    : Error(placed(pos, reason)), pos_(pos), reason_(reason) {}

} // namespace zorvant::sim
