#include "conditions/image_index.h"

#include "conditions/node_texts.h"

namespace zorvant::conditions {

int ConditionsViewGetImageIndex(Node& node) {
    using namespace texts;
    const std::string& t = node.text;
    const std::string parent = node.parent() != nullptr ? node.parent()->text : std::string();
    // Later tests override earlier ones, so they run in this order.
    int image = -1;
    if (t == kCondition || t == kConditionEnd)
        image = 1;
    if (t == kPart1)
        image = 2;
    if (t.find(kActionOpen) != std::string::npos)
        image = 3;
    if (t == kPart2)
        image = 4;
    if (t == kOperation)
        image = 5;
    if (parent == kPart1)
        image = 2;
    if (parent == kPart2)
        image = 4;
    if (parent == kOperation)
        image = 5;
    node.imageIndex = image;
    return image;
}

} // namespace zorvant::conditions
