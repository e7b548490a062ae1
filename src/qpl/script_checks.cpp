#include "qpl/script_checks.h"

#include "conditions/node_texts.h"
#include "conditions/tags.h"
#include "text/error.h"
#include "text/number_format.h"

#include <algorithm>

namespace zorvant::qpl {
namespace {
namespace texts = conditions::texts;
using conditions::Node;

bool hasQuote(std::string_view text) {
    return text.find('"') != std::string_view::npos;
}

std::string quoteRefusal(std::string_view where) {
    return std::string("Двойная кавычка в "_cp) + std::string(where) +
           std::string(" недопустима в скрипте QPL. Скрипт не создан!"_cp);
}

std::string conditionPrefix(int condition) {
    return std::string("Условие "_cp) + std::to_string(condition) + ": ";
}

struct ListFacts {
    int conditions = 0;
    // Where the first chart name with a double quote stands, worded for the refusal.
    std::optional<std::string> quotedChart;
};

ListFacts scan(const conditions::ConditionList* list) {
    ListFacts facts;
    if (list == nullptr)
        return facts;
    list->forEachInTreeOrder([&](Node& node) {
        if (!conditions::isCondition(node))
            return;
        ++facts.conditions;
        for (const auto& part : node.children()) {
            const bool isPart = part->text == texts::kPart1 || part->text == texts::kPart2;
            if (!facts.quotedChart && isPart && hasQuote(conditions::GetTagValue(part.get(), texts::kChart)))
                facts.quotedChart =
                    std::string("названии графика условия "_cp) + std::to_string(facts.conditions);
        }
    });
    return facts;
}

} // namespace

std::optional<std::string> refusalOf(const GeneratorInput& input) {
    const ListFacts facts = scan(input.conditions);
    if (facts.conditions == 0)
        return std::string("В перечне нет ни одного условия. Скрипт не создан: добавьте условие!"_cp);
    const std::pair<std::string_view, std::string_view> fields[] = {
        {input.portfelName, "поле «Название (имя файла)»"_cp},
        {input.fileNameMessage, "поле «Файл» сообщения"_cp},
        {input.compressed ? std::string_view(input.compMess) : "", "тексте сжатого сообщения"_cp},
        {input.clientCode, "поле «Код клиента»"_cp},
        {input.firmId, "поле «Фирма»"_cp},
        {input.account, "поле «Счет депо»"_cp},
    };
    for (const auto& [value, where] : fields)
        if (hasQuote(value))
            return quoteRefusal(where);
    if (facts.quotedChart)
        return quoteRefusal(*facts.quotedChart);
    return std::nullopt;
}

std::optional<std::string> lineProblem(int condition, std::string_view line) {
    const bool whole =
        !line.empty() && std::all_of(line.begin(), line.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (whole)
        return std::nullopt;
    return conditionPrefix(condition) + std::string("номер линии «"_cp) + std::string(line) +
           std::string("» должен быть целым числом от 0!"_cp);
}

std::optional<std::string> levelProblem(int condition, std::string_view level) {
    try {
        text::parseEitherSeparator(level, ',');
        return std::nullopt;
    } catch (const Error&) {
        return conditionPrefix(condition) + std::string("уровень «"_cp) + std::string(level) +
               std::string("» не является числом!"_cp);
    }
}

std::string missingJoinerWarning(int before, int after) {
    return std::string("Не корректное объединение условий: между условиями "_cp) + std::to_string(before) +
           std::string(" и "_cp) + std::to_string(after) + std::string(" нет операции «И» или «ИЛИ»!"_cp);
}

} // namespace zorvant::qpl
