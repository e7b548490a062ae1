#include "qpl/library.h"
#include "text/cp1251.h"

#include <gtest/gtest.h>
#include <map>
#include <regex>
#include <set>

namespace zorvant::qpl {
namespace {

bool isHead(const std::string& line) {
    return line.starts_with("FUNC ") || line.starts_with("func ");
}

TEST(Library, ElevenFunctionsInTheirOrderWithTheirSeparators) {
    const auto lines = libraryLines();
    const std::vector<std::string> heads = {
        "FUNC add_time(fp_time, fp_nMinute)",
        "FUNC DayInMonth(fp_month,fp_year)",
        "FUNC date_minus_day(fp_date)",
        "FUNC datetime_minus(fp_map_datetime, fp_count_minutes)",
        "FUNC datetime_string(fp_map_datetime)",
        "FUNC DateTime_now(fp_map_dateTime, fp_per)",
        "FUNC GET_SHEDULE_MINUS(fp_Ind,fp_DateTime,fp_sPeriod, fp_Num_Line_Ind, fp_Param_Ind)",
        "FUNC datetime_minus_period(fp_datetime, fp_sPeriod)",
        "FUNC datetime_minus_month(fp_datetime, fp_count)",
        "FUNC datetime_minus_day(fp_datetime, fp_count)",
        "func GET_SERVER_DATETIME()",
    };
    std::vector<std::string> found;
    std::vector<std::string> between; // the line before every head but the first
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (isHead(lines[i])) {
            found.push_back(lines[i]);
            if (i > 0)
                between.push_back(lines[i - 1]);
        }
    EXPECT_EQ(found, heads);
    ASSERT_EQ(between.size(), 10u);
    for (std::size_t i = 0; i < between.size(); ++i) {
        const std::string expected = i == 1   ? "'=================================="
                                     : i == 3 ? "'" + std::string(53, '=')
                                              : "";
        EXPECT_EQ(between[i], expected) << "before " << heads[i + 1];
    }
    EXPECT_EQ(lines.front(), heads.front());
    EXPECT_EQ(lines.back(), "end func");
}

TEST(Library, TextIsWindows1251WithoutLineEndsOrUnknownCharacters) {
    for (const auto& line : libraryLines()) {
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos);
        EXPECT_EQ(line.find('?'), std::string::npos) << line;
    }
    EXPECT_NE(
        std::string(libraryText()).find(text::fromUtf8("'=============== Вычисляем коли-во дней в месяце")),
        std::string::npos);
}

// Every variable of QPL but a parameter is global, so a temporary shared by two functions, or with the
// generated code around the library, would be overwritten by a nested call.
TEST(Library, FunctionsShareNoVariables) {
    const std::regex assignment(R"(^\s*(?:for\s+)?([A-Za-z_][A-Za-z0-9_]*)\s*(?:=|from))", std::regex::icase);
    std::map<std::string, std::string> owner; // lower-case name -> function
    std::string function;
    for (const auto& line : libraryLines()) {
        if (isHead(line)) {
            function = line.substr(5, line.find('(') - 5);
            continue;
        }
        std::smatch match;
        if (!std::regex_search(line, match, assignment))
            continue;
        std::string name = match[1];
        std::transform(name.begin(), name.end(), name.begin(),
                       [](unsigned char c) { return std::tolower(c); });
        if (name == "result" || name == "if")
            continue;
        const auto [it, inserted] = owner.emplace(name, function);
        EXPECT_TRUE(inserted || it->second == function)
            << name << " in " << function << " and " << it->second;
    }
    EXPECT_GT(owner.size(), 50u);
    for (const auto global : {"n", "msg_p", "mess", "datetime_curr", "file_mess", "beginday", "closeday",
                              "output", "condition_i", "ntimemess", "ndatemess", "nlasttimemess"})
        EXPECT_EQ(owner.count(global), 0u) << global;
}

} // namespace
} // namespace zorvant::qpl
