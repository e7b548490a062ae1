#pragma once
// What the binary operators compute from numbers and texts, shared by the machine's short paths and its
// full ones (run_operators.cpp).
#include "sim/operations.h"
#include "sim/program.h"
#include "text/cp1251.h"

#include <string_view>

namespace zorvant::sim {

inline double compute(Op op, double a, double b, SourcePos pos) {
    switch (op) {
    case Op::Add:
        return checkedNumber(a + b, pos);
    case Op::Subtract:
        return checkedNumber(a - b, pos);
    case Op::Multiply:
        return checkedNumber(a * b, pos);
    default:
        if (b == 0)
            failDivisionByZero(pos);
        return checkedNumber(a / b, pos);
    }
}

inline bool holds(Op op, int c) {
    switch (op) {
    case Op::Equal:
        return c == 0;
    case Op::NotEqual:
        return c != 0;
    case Op::Less:
        return c < 0;
    case Op::LessEqual:
        return c <= 0;
    case Op::Greater:
        return c > 0;
    default:
        return c >= 0;
    }
}

// Two texts byte by byte; for (in)equality, texts of different lengths differ at once.
inline int compareTexts(Op op, std::string_view a, std::string_view b) {
    if ((op == Op::Equal || op == Op::NotEqual) && a.size() != b.size())
        return 1;
    const int c = a.compare(b);
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

} // namespace zorvant::sim
