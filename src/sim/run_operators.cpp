// The operators as the machine runs them: both operands are read (in order, with their warnings) before
// any is converted, and a result is stored only after the temporaries it came from are let go, since
// it may take the place of one of them.
#include "sim/join.h"
#include "sim/machine.h"
#include "sim/operations.h"
#include "sim/operator_rules.h"
#include "text/cp1251.h"

namespace zorvant::sim {
namespace {

using namespace text::literals;

} // namespace

// The right operand is converted first: warnings keep the order runs have always listed them in.
void Machine::arithmetic(const Registers& r, const Instr& in) {
    const Value& x = read(r, in.a);
    const Value& y = read(r, in.b);
    double result;
    if (x.isNumber() && y.isNumber()) {
        result = compute(in.op, x.number(), y.number(), in.pos);
    } else {
        const double b = asNumber(y, *this, in.pos);
        const double a = asNumber(x, *this, in.pos);
        result = compute(in.op, a, b, in.pos);
    }
    release(r, in.a);
    release(r, in.b);
    place(r, in.dst).setNumber(result);
}

bool Machine::compare(const Registers& r, const Instr& in, Op test) {
    const Value& x = read(r, in.a);
    const Value& y = read(r, in.b);
    int c;
    if (x.isNumber() && y.isNumber())
        c = compareNumbers(x.number(), y.number());
    else if (x.isText() && y.isText())
        c = compareTexts(test, x.text(), y.text());
    else
        c = compareValues(x, y, in.pos);
    release(r, in.a);
    release(r, in.b);
    return holds(test, c);
}

bool Machine::truth(const Value& value, SourcePos pos) {
    return value.isNumber() ? value.number() != 0 : isTrue(value, *this, pos);
}

// Both sides are evaluated; the right one is converted only when the left does not settle it.
void Machine::logic(const Registers& r, const Instr& in) {
    const Value& x = read(r, in.a);
    const Value& y = read(r, in.b);
    const bool result =
        in.op == Op::And ? truth(x, in.pos) && truth(y, in.pos) : truth(x, in.pos) || truth(y, in.pos);
    release(r, in.a);
    release(r, in.b);
    place(r, in.dst).setNumber(result ? 1.0 : 0.0);
}

void Machine::negate(const Registers& r, const Instr& in) {
    const Value& x = read(r, in.a);
    const double number = x.isNumber() ? x.number() : asNumber(x, *this, in.pos);
    release(r, in.a);
    place(r, in.dst).setNumber(-number);
}

void Machine::join(const Registers& r, const Instr& in) {
    const Value& x = read(r, in.a);
    const Value& y = read(r, in.b);
    std::string leftText, rightText;
    const std::string_view left = x.isText() ? x.text() : textView(x, leftText, in.pos);
    const std::string_view right = y.isText() ? y.text() : textView(y, rightText, in.pos);
    if (left.size() + right.size() > limits_.textLength)
        throw ScriptError(in.pos, "строка длиннее допустимого"_cp);
    Value joined = Value::joined(left, right);
    release(r, in.a);
    release(r, in.b);
    place(r, in.dst) = std::move(joined);
}

} // namespace zorvant::sim
