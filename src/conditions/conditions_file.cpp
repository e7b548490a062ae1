#include "conditions/conditions_file.h"

#include "platform/platform.h"
#include "text/cp1251.h"
#include "text/error.h"
#include "text/lines.h"

#include <algorithm>
#include <cstdio>

namespace zorvant::conditions {
using namespace text::literals;

namespace {

// A line quoted in a message box is cut, so that a huge line of a damaged file stays readable.
constexpr std::size_t kQuotedLength = 80;

std::string quoted(std::string_view line) {
    if (line.size() <= kQuotedLength)
        return std::string(line);
    return std::string(line.substr(0, kQuotedLength)) + "...";
}

Error levelError(std::size_t level, std::string_view line, std::string_view sourceName) {
    char number[24];
    std::snprintf(number, sizeof number, "%zu", level);
    std::string message(std::string("Неверный уровень ("_cp) + number);
    message += ") у строки \""_cp;
    message += quoted(line);
    message += "\" в файле "_cp;
    message += sourceName;
    return Error(message);
}

// Adds one node of the given file level after cur; returns the new node and keeps curLevel in step.
Node& addAtLevel(ConditionList& list, Node* cur, std::size_t& curLevel, std::size_t level, std::string text) {
    if (cur == nullptr) {
        curLevel = 0;
        return list.addTopLevel(std::move(text));
    }
    if (level == curLevel + 1) {
        ++curLevel;
        return cur->addChild(std::move(text));
    }
    Node* sibling = cur;
    for (; curLevel > level; --curLevel)
        sibling = sibling->parent();
    if (sibling->parent() == nullptr)
        return list.addTopLevel(std::move(text));
    return sibling->parent()->addChild(std::move(text));
}

} // namespace

std::vector<std::string> conditionFileLines(const ConditionList& list) {
    std::vector<std::string> lines;
    list.forEachInTreeOrder([&](Node& node) {
        lines.push_back(std::string(static_cast<std::size_t>(node.level()), '\t') + node.text);
    });
    return lines;
}

ConditionList buildFromLines(const std::vector<std::string>& lines, std::string_view sourceName) {
    ConditionList list;
    Node* cur = nullptr;
    std::size_t curLevel = 0;
    for (const std::string& line : lines) {
        const std::size_t level = std::min(line.find_first_not_of("\t "), line.size());
        if (cur != nullptr && level > curLevel + 1)
            throw levelError(level, line.substr(level), sourceName);
        cur = &addAtLevel(list, cur, curLevel, level, line.substr(level));
    }
    return list;
}

void writeConditionsFile(std::string_view fileName, const ConditionList& list) {
    platform::writeFile(fileName, text::joinCrLf(conditionFileLines(list)));
}

ConditionList readConditionsFile(std::string_view fileName) {
    return buildFromLines(text::splitConditionLines(readWindows1251File(fileName)), fileName);
}

std::string readWindows1251File(std::string_view fileName) {
    std::string bytes = platform::readFile(fileName);
    if (const auto encoding = text::unicodeEncodingOf(bytes))
        throw Error(std::string("Файл "_cp) + std::string(fileName) +
                    std::string(" записан в кодировке "_cp) + std::string(*encoding) +
                    std::string(", а не Windows-1251, и не может быть прочитан. Сохраните его в "
                                "кодировке Windows-1251."_cp));
    return bytes;
}

} // namespace zorvant::conditions
