// FOR loops as the machine runs them. The counter of FOR x FROM a TO b and the text, item start and
// item end of FOR x IN list are temporaries of the loop; the variable gets its value at each round, so
// that changing it in the body does not change the count.
#include "sim/machine.h"
#include "sim/operations.h"

#include <algorithm>

namespace zorvant::sim {

// Either end of a range, taken once and converted right after it is evaluated.
void Machine::forNumber(const Registers& r, const Instr& in) {
    const double number = asNumber(read(r, in.a), *this, in.pos);
    release(r, in.a);
    place(r, in.dst).setNumber(number);
}

bool Machine::forRound(const Registers& r, const Instr& in) {
    const double counter = place(r, in.a).number();
    if (!(counter <= place(r, in.b).number()))
        return false;
    step(in.stepPos);
    place(r, in.dst).setNumber(counter);
    return true;
}

// False when the text is empty: the loop then has no round at all.
bool Machine::forInStart(const Registers& r, const Instr& in) {
    std::string text = asText(read(r, in.a), in.pos);
    release(r, in.a);
    const Arg start = makeArg(Area::Temp, in.dst.index + 1);
    place(r, start).setNumber(0);
    const bool any = !text.empty();
    place(r, in.dst).setText(text);
    return any;
}

// Items are the comma-separated parts of the text, spaces around them removed.
bool Machine::forInRound(const Registers& r, const Instr& in) {
    const std::string_view text = place(r, in.a).text();
    Value* items = &place(r, in.a);
    const auto start = static_cast<std::size_t>(items[1].number());
    if (start > text.size())
        return false;
    step(in.stepPos);
    const std::size_t end = std::min(text.find(',', start), text.size());
    std::string_view item = text.substr(start, end - start);
    item.remove_prefix(std::min(item.find_first_not_of(' '), item.size()));
    item.remove_suffix(item.size() - (item.find_last_not_of(' ') + 1));
    place(r, in.dst) = Value(item);
    items[2].setNumber(static_cast<double>(end));
    return true;
}

} // namespace zorvant::sim
