#include "sim/builtins.h"

#include <string>
#include <unordered_map>

namespace zorvant::sim {

const Builtin* findBuiltin(std::string_view name) {
    static const std::unordered_map<std::string, const Builtin*> table = [] {
        std::unordered_map<std::string, const Builtin*> t;
        for (const auto family : {dataBuiltins(), textMathBuiltins(), terminalBuiltins()})
            for (const Builtin& b : family)
                t.emplace(std::string(b.name), &b);
        return t;
    }();
    const auto it = table.find(std::string(name));
    return it == table.end() ? nullptr : it->second;
}

} // namespace zorvant::sim
