#pragma once
// The portfolio description file (*.xml): an XML-like layout written and read line by line, without
// escaping: the portfolio name and comment, the message settings and the conditions-file lines of the
// list. Texts and file names are Windows-1251; every line ends with CR LF.
#include "conditions/condition_list.h"
#include "text/cp1251.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zorvant::conditions {

namespace portfolio_defaults {
using namespace text::literals;
inline constexpr std::string_view kName = "My_portfel";
inline constexpr std::string_view kComment = "Мой портфель"_cp;
inline constexpr std::string_view kCompressedText = "Биржа зовет!"_cp;
} // namespace portfolio_defaults

// The portfolio and message settings a description holds; the defaults are the window's start values.
struct PortfolioFields {
    std::string name{portfolio_defaults::kName};
    std::string comment{portfolio_defaults::kComment};
    bool compressed = false; // the message is the fixed compressedText instead of the expanded one
    std::string compressedText{portfolio_defaults::kCompressedText};
    std::string messageFile;
};

std::vector<std::string> descriptionLines(const PortfolioFields& fields, const ConditionList& list);

// Throws zorvant::Error naming the file when it cannot be written; the old file then stays as it was.
void writeDescriptionFile(std::string_view fileName, const PortfolioFields& fields,
                          const ConditionList& list);

// What a description file holds: a field is absent when the file has no line for it, and the list is
// absent when the conditions block is empty, so that loading leaves those as they were.
struct DescriptionFile {
    std::optional<std::string> name;
    std::optional<std::string> comment;
    std::optional<bool> compressed;
    std::optional<std::string> compressedText;
    std::optional<std::string> messageFile;
    std::optional<ConditionList> conditions;

    // Overwrites the fields the file holds.
    void applyTo(PortfolioFields& fields) const;
};

// Reads bytes as a description; fileName only names the source in errors. Throws zorvant::Error when
// the text ends inside its message or conditions block, or a condition line jumps a level.
DescriptionFile parseDescription(std::string_view bytes, std::string_view fileName);

// Throws zorvant::Error when the file cannot be read, is not Windows-1251, or parseDescription fails.
DescriptionFile readDescriptionFile(std::string_view fileName);

} // namespace zorvant::conditions
