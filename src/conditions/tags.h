#pragma once
// Field lines: "<TAG>value</TAG>" children of a node. Tag names are Windows-1251.
#include "conditions/condition_list.h"

#include <string>
#include <string_view>

namespace zorvant::conditions {

// The value of the first child field line with the tag; the last child is never examined. Empty for an
// absent node, no match, or a line without "</" after the tag.
std::string GetTagValue(const Node* node, std::string_view tag);

// Replaces the first matching child field line (the last child is never examined); no match, no change.
void SetTagValue(Node& node, std::string_view tag, std::string_view value);

// "<TAG>" + value + "</TAG>".
std::string fieldLine(std::string_view tag, std::string_view value);

// The action label of a Condition: the text of its "<ДЕЙСТВИЕ>" child from the eleventh character, cut
// before the first "</".
std::string readAction(const Node& condition);
// The same rule applied to the action line itself.
std::string actionOfLine(std::string_view actionLineText);

// The exact node texts of the two top-level kinds.
bool isCondition(const Node& node);
bool isOperation(const Node& node);

} // namespace zorvant::conditions
