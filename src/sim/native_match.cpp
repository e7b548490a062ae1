// Which FUNCs of a script may run natively: those whose compiled code is the helper library's own, as
// compiled from the library text itself, and whose every FUNC called is too. Code is compared
// instruction by instruction, leaving out only where things stand in the text.
#include "qpl/library.h"
#include "sim/native_parts.h"
#include "sim/script.h"

#include <algorithm>
#include <string>
#include <unordered_map>

namespace zorvant::sim {
namespace {

const Script& libraryScript() {
    static const Script script =
        parseScript(std::string("PORTFOLIO_EX L;\r\nPROGRAM\r\n") + std::string(qpl::libraryText()) +
                    "\r\nEND_PROGRAM\r\nEND_PORTFOLIO_EX\r\n");
    return script;
}

bool sameValue(const Value& a, const Value& b) {
    if (a.isNumber() || b.isNumber())
        return a.isNumber() && b.isNumber() && a.number() == b.number();
    return a.isText() && b.isText() && a.text() == b.text();
}

// Two compiled FUNCs, each read against its own script.
class CodeMatch {
public:
    CodeMatch(const Script& a, const Script& b) : a_(a), b_(b) {}

    bool same(const Code& x, const Code& y) const {
        return x.temps == y.temps && x.constants.size() == y.constants.size() &&
               std::equal(x.constants.begin(), x.constants.end(), y.constants.begin(), sameValue) &&
               std::equal(x.args.begin(), x.args.end(), y.args.begin(), y.args.end(),
                          [this](const Arg& p, const Arg& q) { return sameArg(p, q); }) &&
               std::equal(x.instrs.begin(), x.instrs.end(), y.instrs.begin(), y.instrs.end(),
                          [this](const Instr& p, const Instr& q) { return sameInstr(p, q); });
    }

private:
    // A global is the same variable by name; anything else by its place in the frame or constants.
    bool sameArg(const Arg& p, const Arg& q) const {
        if (p.area != q.area || p.checked != q.checked)
            return false;
        if (p.area != Area::Global)
            return p.index == q.index;
        return a_.globals[static_cast<std::size_t>(p.index)] == b_.globals[static_cast<std::size_t>(q.index)];
    }

    bool sameCall(const CallExpr* p, const CallExpr* q) const {
        if (p == nullptr || q == nullptr)
            return p == q;
        if (p->function < 0 || q->function < 0)
            return p->function == q->function && p->builtin == q->builtin;
        return a_.functions[static_cast<std::size_t>(p->function)].name ==
               b_.functions[static_cast<std::size_t>(q->function)].name;
    }

    bool sameInstr(const Instr& p, const Instr& q) const {
        return p.op == q.op && p.step == q.step && p.target == q.target && p.args == q.args &&
               p.argCount == q.argCount && p.depth == q.depth && p.valueUsed == q.valueUsed &&
               p.test == q.test && sameArg(p.dst, q.dst) && sameArg(p.a, q.a) && sameArg(p.b, q.b) &&
               sameCall(p.call, q.call);
    }

    const Script& a_;
    const Script& b_;
};

class NativeFinder {
public:
    explicit NativeFinder(const Script& script) : script_(script), match_(script, libraryScript()) {
        for (std::size_t i = 0; i < libraryScript().functions.size(); ++i)
            library_.emplace(libraryScript().functions[i].name, i);
        unchanged_.resize(script.functions.size());
        for (std::size_t i = 0; i < script.functions.size(); ++i)
            unchanged_[i] = matchesLibrary(i) ? 1 : 0;
    }

    // Unchanged, and so is everything it calls; the library calls no FUNC of its own back.
    bool unchangedWithCallees(std::size_t function) const {
        if (unchanged_[function] == 0)
            return false;
        for (const Instr& in : script_.program.functions[function].instrs)
            if (in.op == Op::CallFunction &&
                !unchangedWithCallees(static_cast<std::size_t>(in.call->function)))
                return false;
        return true;
    }

    NativeFunction native(std::size_t function, const NativeEntry& entry) const {
        if (!unchangedWithCallees(function))
            return {};
        NativeFunction found{entry.fn, {}, entry.memory != nullptr ? entry.memory() : nullptr};
        for (const std::string_view name : entry.variables) {
            const auto slot = std::find(script_.globals.begin(), script_.globals.end(), name);
            if (slot == script_.globals.end())
                return {};
            found.slots.push_back(static_cast<int>(slot - script_.globals.begin()));
        }
        return found;
    }

private:
    bool matchesLibrary(std::size_t function) const {
        const auto it = library_.find(script_.functions[function].name);
        return it != library_.end() &&
               script_.functions[function].params.size() ==
                   libraryScript().functions[it->second].params.size() &&
               match_.same(script_.program.functions[function],
                           libraryScript().program.functions[it->second]);
    }

    const Script& script_;
    CodeMatch match_;
    std::unordered_map<std::string, std::size_t> library_;
    std::vector<char> unchanged_;
};

// Whether any code but FUNC function's own names one of the slots.
bool namedElsewhere(const Script& script, std::size_t function, const std::vector<int>& slots) {
    std::vector<char> wanted(script.globals.size(), 0);
    for (const int slot : slots)
        wanted[static_cast<std::size_t>(slot)] = 1;
    const auto names = [&](const Arg& arg) {
        return arg.area == Area::Global && wanted[static_cast<std::size_t>(arg.index)] != 0;
    };
    const auto namesAny = [&](const Code& code) {
        return std::any_of(code.args.begin(), code.args.end(), names) ||
               std::any_of(code.instrs.begin(), code.instrs.end(),
                           [&](const Instr& in) { return names(in.dst) || names(in.a) || names(in.b); });
    };
    if (namesAny(script.program.body))
        return true;
    for (std::size_t i = 0; i < script.program.functions.size(); ++i)
        if (i != function && namesAny(script.program.functions[i]))
            return true;
    return false;
}

} // namespace

std::vector<NativeFunction> nativeFunctions(const Script& script) {
    std::vector<NativeFunction> natives(script.functions.size());
    const NativeFinder finder(script);
    for (const auto family : {scheduleNatives(), dateTimeNatives()})
        for (const NativeEntry& entry : family)
            for (std::size_t i = 0; i < script.functions.size(); ++i)
                if (script.functions[i].name == entry.name)
                    natives[i] = finder.native(i, entry);
    for (std::size_t i = 0; i < natives.size(); ++i)
        natives[i].mayDefer = natives[i].fn != nullptr && !namedElsewhere(script, i, natives[i].slots);
    return natives;
}

} // namespace zorvant::sim
