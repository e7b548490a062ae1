#pragma once
// A fault in a script, at its place in the source: found while reading the text or while running it.
#include "text/error.h"

#include <string>
#include <string_view>

namespace zorvant::sim {

struct SourcePos {
    int line = 0;
    int column = 0;
};

// The text (Windows-1251) reads "строка L, позиция C: reason".
class ScriptError : public Error {
public:
    ScriptError(SourcePos pos, std::string_view reason);

    SourcePos pos() const { return pos_; }
    const std::string& reason() const { return reason_; }

private:
    SourcePos pos_;
    std::string reason_;
};

} // namespace zorvant::sim
