#include "conditions/description_file.h"

#include "conditions/conditions_file.h"
#include "platform/platform.h"
#include "text/error.h"
#include "text/lines.h"

namespace zorvant::conditions {
using namespace text::literals;

namespace {

constexpr std::string_view kName = "<НАЗВАНИЕ>"_cp;
constexpr std::string_view kComment = "<ОПИСАНИЕ>"_cp;
constexpr std::string_view kMessage = "<СООБЩЕНИЕ>"_cp;
constexpr std::string_view kType = "<ТИП>"_cp;
constexpr std::string_view kText = "<ТЕКСТ>"_cp;
constexpr std::string_view kFile = "<ФАЙЛ>"_cp;
constexpr std::string_view kConditions = "<УСЛОВИЯ>"_cp;
constexpr std::string_view kConditionsEnd = "</УСЛОВИЯ>"_cp;
constexpr std::string_view kCompressed = "СЖАТО"_cp;
constexpr std::string_view kIndent = "        ";

std::string closing(std::string_view openTag) {
    return std::string("</").append(openTag.substr(1));
}

std::string tagged(std::string_view openTag, std::string_view value) {
    return std::string(openTag) + std::string(value) + closing(openTag);
}

bool holds(std::string_view line, std::string_view tag) {
    return line.find(tag) != std::string_view::npos;
}

// From just after the first opening tag to just before the first "</" after it; empty without one.
std::string valueOf(std::string_view line, std::string_view tag) {
    const std::string_view rest = line.substr(line.find(tag) + tag.size());
    const auto close = rest.find("</");
    return close == std::string_view::npos ? std::string() : std::string(rest.substr(0, close));
}

// The line scan of a description: every line is taken for the tag it holds, in any order.
class DescriptionScan {
public:
    DescriptionScan(std::vector<std::string> lines, std::string_view fileName)
        : lines_(std::move(lines)), fileName_(fileName) {}

    DescriptionFile run() {
        for (i_ = 0; i_ < lines_.size(); ++i_) {
            if (holds(line(), kName))
                result_.name = valueOf(line(), kName);
            if (holds(line(), kComment))
                result_.comment = valueOf(line(), kComment);
            if (holds(line(), kMessage))
                readMessageMode();
            if (holds(line(), kFile))
                result_.messageFile = valueOf(line(), kFile);
            if (holds(line(), kConditions))
                collectConditions();
        }
        if (!collected_.empty())
            result_.conditions = buildFromLines(collected_, fileName_);
        return std::move(result_);
    }

private:
    const std::string& line() const { return lines_[i_]; }

    void step(std::string_view endsInside) {
        if (++i_ >= lines_.size())
            throw Error(std::string("Файл описания "_cp) + std::string(fileName_) +
                        std::string(" обрывается внутри блока "_cp) + std::string(endsInside));
    }

    void readMessageMode() {
        step(kMessage);
        if (!holds(line(), kType))
            return;
        result_.compressed = valueOf(line(), kType) == kCompressed;
        if (!*result_.compressed)
            return;
        step(kMessage);
        if (holds(line(), kText))
            result_.compressedText = valueOf(line(), kText);
    }

    void collectConditions() {
        for (step(kConditions); !holds(line(), kConditionsEnd); step(kConditions))
            collected_.push_back(line());
    }

    std::vector<std::string> lines_;
    std::string_view fileName_;
    std::size_t i_ = 0;
    std::vector<std::string> collected_;
    DescriptionFile result_;
};

} // namespace

std::vector<std::string> descriptionLines(const PortfolioFields& fields, const ConditionList& list) {
    std::vector<std::string> lines = {
        R"(<?xml version="1.0" encoding="windows-1251"?>)",
        std::string("<ПОРТФЕЛЬ>"_cp),
        tagged(kName, fields.name),
        tagged(kComment, fields.comment),
        std::string(kMessage),
    };
    lines.push_back(std::string(kIndent) + tagged(kType, fields.compressed ? kCompressed : "РАЗВЕРНУТО"_cp));
    if (fields.compressed)
        lines.push_back(std::string(kIndent) + tagged(kText, fields.compressedText));
    lines.push_back(std::string(kIndent) + tagged(kFile, fields.messageFile));
    lines.push_back(closing(kMessage));
    lines.push_back(std::string(kConditions));
    // The block holds exactly what a conditions file would read back as lines.
    for (auto& line : text::splitConditionLines(text::joinCrLf(conditionFileLines(list))))
        lines.push_back(std::move(line));
    lines.push_back(std::string(kConditionsEnd));
    lines.push_back(std::string("</ПОРТФЕЛЬ>"_cp));
    return lines;
}

void writeDescriptionFile(std::string_view fileName, const PortfolioFields& fields,
                          const ConditionList& list) {
    platform::writeFile(fileName, text::joinCrLf(descriptionLines(fields, list)));
}

void DescriptionFile::applyTo(PortfolioFields& fields) const {
    fields.name = name.value_or(fields.name);
    fields.comment = comment.value_or(fields.comment);
    fields.compressed = compressed.value_or(fields.compressed);
    fields.compressedText = compressedText.value_or(fields.compressedText);
    fields.messageFile = messageFile.value_or(fields.messageFile);
}

DescriptionFile parseDescription(std::string_view bytes, std::string_view fileName) {
    return DescriptionScan(text::splitConditionLines(bytes), fileName).run();
}

DescriptionFile readDescriptionFile(std::string_view fileName) {
    return parseDescription(readWindows1251File(fileName), fileName);
}

} // namespace zorvant::conditions
