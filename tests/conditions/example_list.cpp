#include "conditions/example_list.h"

#include "conditions/conditions_file.h"
#include "platform/platform.h"
#include "text/cp1251.h"
#include "text/lines.h"

namespace zorvant::testing {
using conditions::ConditionList;

std::string cp(std::string_view utf8) {
    return text::fromUtf8(utf8);
}

std::string golden(std::string_view name) {
    return platform::readFile(std::string(ZORVANT_TEST_DATA) + "/conditions/" + std::string(name));
}

std::vector<std::string> shape(const ConditionList& list) {
    std::vector<std::string> rows;
    list.forEachInTreeOrder(
        [&](conditions::Node& n) { rows.push_back(std::to_string(n.level()) + " " + n.text); });
    return rows;
}

ConditionList exampleList() {
    return conditions::buildFromLines(text::splitConditionLines(golden("example.con")), "example.con");
}

} // namespace zorvant::testing
