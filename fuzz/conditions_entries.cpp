// The conditions file and description file readers, and the generator over whatever list they read.
#include "entries.h"

#include "conditions/conditions_file.h"
#include "conditions/description_file.h"
#include "qpl/generator.h"
#include "qpl/library.h"
#include "text/cp1251.h"
#include "text/error.h"
#include "text/lines.h"

#include <optional>

namespace zorvant::fuzz {
using namespace text::literals;

namespace {

std::optional<conditions::ConditionList> readList(std::string_view bytes) {
    try {
        return conditions::buildFromLines(text::splitConditionLines(bytes), "f.con");
    } catch (const Error&) {
        return std::nullopt;
    }
}

// A damaged file is loaded and generated from: the generator may complain, and either produces a script
// or refuses it with a reason.
void generateFrom(const conditions::ConditionList& list) {
    static const std::vector<std::string> library = qpl::libraryLines();
    qpl::GeneratorInput input;
    input.conditions = &list;
    input.library = library;
    const auto script = qpl::generateScript(input);
    if (script.refused)
        check(script.lines.empty() && !script.messages.empty(),
              "a refusal without its reason, or with a script");
    else
        check(!script.lines.empty(), "the generator produced no script");
    keep(script.lines.size() + script.messages.size());
}

} // namespace

void conditionsReader(std::string_view bytes) {
    const auto list = readList(bytes);
    if (!list)
        return;
    // What is saved reads back as the same tree.
    const auto saved = conditions::conditionFileLines(*list);
    const auto again = readList(text::joinCrLf(saved));
    check(again.has_value(), "a saved conditions file does not read back");
    check(conditions::conditionFileLines(*again) == saved, "a saved conditions file reads back differently");
    generateFrom(*list);
}

namespace {

// Values are stored without escaping, so a value that holds one of the file's own tags is read back as
// that tag; the round trip is checked only for values without them.
bool holdsTag(std::string_view value) {
    for (const auto tag : {"</"_cp, "<НАЗВАНИЕ>"_cp, "<ОПИСАНИЕ>"_cp, "<СООБЩЕНИЕ>"_cp, "<ТИП>"_cp,
                           "<ТЕКСТ>"_cp, "<ФАЙЛ>"_cp, "<УСЛОВИЯ>"_cp})
        if (value.find(tag) != std::string_view::npos)
            return true;
    return false;
}

bool anyTagInside(const conditions::PortfolioFields& fields, const conditions::ConditionList& list) {
    bool found = false;
    for (const auto* value : {&fields.name, &fields.comment, &fields.compressedText, &fields.messageFile})
        found = found || holdsTag(*value);
    list.forEachInTreeOrder([&](conditions::Node& node) { found = found || holdsTag(node.text); });
    return found;
}

} // namespace

void descriptionReader(std::string_view bytes) {
    conditions::DescriptionFile read;
    try {
        read = conditions::parseDescription(bytes, "f.xml");
    } catch (const Error&) {
        return;
    }
    conditions::PortfolioFields fields;
    read.applyTo(fields);
    const conditions::ConditionList empty;
    const auto& list = read.conditions ? *read.conditions : empty;
    const auto saved = conditions::descriptionLines(fields, list);
    if (anyTagInside(fields, list))
        return;
    const auto again = conditions::parseDescription(text::joinCrLf(saved), "f.xml");
    conditions::PortfolioFields fieldsAgain;
    again.applyTo(fieldsAgain);
    check(conditions::descriptionLines(fieldsAgain, again.conditions ? *again.conditions : empty) == saved,
          "a saved description reads back differently");
    generateFrom(list);
}

} // namespace zorvant::fuzz
