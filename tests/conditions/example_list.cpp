#include "conditions/example_list.h"

#include "platform/platform.h"
#include "text/cp1251.h"

namespace zorvant::testing {
using conditions::ConditionList;
using conditions::Node;

std::string cp(std::string_view utf8) {
    return text::fromUtf8(utf8);
}

namespace {
void addPart(Node& condition, std::string_view open, std::vector<std::string_view> fields,
             std::string_view close) {
    Node& part = condition.addChild(cp(open));
    for (const auto field : fields)
        part.addChild(cp(field));
    part.addChild(cp(close));
}

} // namespace

std::string golden(std::string_view name) {
    return platform::readFile(std::string(ZORVANT_TEST_DATA) + "/conditions/" + std::string(name));
}

std::vector<std::string> shape(const ConditionList& list) {
    std::vector<std::string> rows;
    list.forEachInTreeOrder([&](Node& n) { rows.push_back(std::to_string(n.level()) + " " + n.text); });
    return rows;
}

ConditionList exampleList() {
    ConditionList list;
    Node& first = list.addTopLevel(cp("<УСЛОВИЕ>"));
    addPart(first, "<ЧАСТЬ1>",
            {"<ВРЕМЯ>ТЕКУЩЕЕ ЗНАЧЕНИЕ</ВРЕМЯ>", "<ЛИНИЯ>1</ЛИНИЯ>", "<ГРАФИК>PRICE</ГРАФИК>",
             "<ИНТЕРВАЛ>5 МИН</ИНТЕРВАЛ>"},
            "</ЧАСТЬ1>");
    first.addChild(cp("<ДЕЙСТВИЕ>ПЕРЕСЕКАЕТ ВВЕРХ</ДЕЙСТВИЕ>"));
    addPart(first, "<ЧАСТЬ2>",
            {"<ВРЕМЯ>ТЕКУЩЕЕ ЗНАЧЕНИЕ</ВРЕМЯ>", "<ЛИНИЯ>2</ЛИНИЯ>", "<ГРАФИК>PRICE</ГРАФИК>",
             "<ИНТЕРВАЛ>5 МИН</ИНТЕРВАЛ>"},
            "</ЧАСТЬ2>");
    first.addChild(cp("</УСЛОВИЕ>"));
    Node& operation = list.addTopLevel(cp("<ОПЕРАЦИЯ>"));
    operation.addChild(cp("<ТИП>И</ТИП>"));
    operation.addChild(cp("</ОПЕРАЦИЯ>"));
    Node& second = list.addTopLevel(cp("<УСЛОВИЕ>"));
    addPart(second, "<ЧАСТЬ1>",
            {"<ВРЕМЯ>ТЕКУЩЕЕ ЗНАЧЕНИЕ</ВРЕМЯ>", "<ЛИНИЯ>1</ЛИНИЯ>", "<ГРАФИК>PRICE</ГРАФИК>",
             "<ИНТЕРВАЛ>1 ЧАС</ИНТЕРВАЛ>"},
            "</ЧАСТЬ1>");
    second.addChild(cp("<ДЕЙСТВИЕ>БОЛЬШЕ</ДЕЙСТВИЕ>"));
    addPart(second, "<ЧАСТЬ2>", {"<ЗНАЧЕНИЕ>1500</ЗНАЧЕНИЕ>"}, "</ЧАСТЬ2>");
    second.addChild(cp("</УСЛОВИЕ>"));
    return list;
}

} // namespace zorvant::testing
