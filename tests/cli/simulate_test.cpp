#include "support/cli_run.h"
#include "support/temp_folder.h"
#include "text/cp1251.h"

#include <gtest/gtest.h>
#include <sstream>

namespace zorvant::cli {
namespace {

using testing::CliResult;

CliResult run(const std::vector<std::string>& args) {
    return testing::runCliCaptured(args);
}

// Files in the folder are written as Windows-1251 from the test's UTF-8.
class Simulate : public ::testing::Test {
protected:
    void write(std::string_view name, std::string_view utf8) const {
        folder.write(name, text::fromUtf8(utf8));
    }
    std::string path(std::string_view name) const { return text::toUtf8(folder.file(name)); }

    void writeScript(std::string_view body) const {
        write("s.qpl", std::string("PORTFOLIO_EX T;\r\nPROGRAM\r\n") + std::string(body) +
                           "\r\nEND_PROGRAM\r\nEND_PORTFOLIO_EX\r\n");
    }

    zorvant::testing::TempFolder folder;
    const std::string candles = "SBER,5,20090301,103000,10,12,9,11,100\r\n"
                                "SBER,5,20090301,103500,11,13,10,12,100\r\n";
};

TEST_F(Simulate, PrintsEveryWrittenLineWithTheServerMomentAsUtf8) {
    writeScript("s = GET_CANDLE_EX(\"price\", 20090301, 103500)\r\n"
                "IF GET_VALUE(s, \"COUNT\") > 0\r\n"
                "  WRITELN(\"m.txt\", \"Цена \" & GET_VALUE(GET_COLLECTION_ITEM(GET_VALUE(s, \"LINES\"), 0), "
                "\"CLOSE\"))\r\n"
                "END IF\r\n"
                "x = unset_name");
    write("c.txt", candles);
    const CliResult r = run({"simulate", path("s.qpl"), "--line", "PRICE:0=" + path("c.txt")});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "01.03.2009 10:39:59\tЦЕНА 12\n");
    EXPECT_NE(r.err.find("Пересчётов: 2, записано строк: 1, предупреждений: 2"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("строка 7, позиция 5: переменная UNSET_NAME"), std::string::npos) << r.err;
}

TEST_F(Simulate, FailsWithThePlaceOfAScriptOrDataError) {
    write("c.txt", candles);
    writeScript("x = 1 +");
    const CliResult parse = run({"simulate", path("s.qpl"), "--line", "PRICE:0=" + path("c.txt")});
    EXPECT_EQ(parse.code, 1);
    EXPECT_NE(parse.err.find("s.qpl: строка 3, позиция 8: выражение оборвано"), std::string::npos)
        << parse.err;

    writeScript("new_global(\"n\", 0)\r\nn = n + 1\r\nWRITELN(\"f\", n)\r\nx = 1 / (2 - n)");
    const CliResult runtime = run({"simulate", path("s.qpl"), "--line", "PRICE:0=" + path("c.txt")});
    EXPECT_EQ(runtime.code, 1);
    EXPECT_EQ(runtime.out, "01.03.2009 10:34:59\t1\n01.03.2009 10:39:59\t2\n");
    EXPECT_NE(runtime.err.find("строка 6, позиция 7: деление на ноль (пересчёт 01.03.2009 10:39:59)"),
              std::string::npos)
        << runtime.err;

    write("bad.txt", candles + "SBER,5,20090301,103500,11,13,10,12\r\n");
    const CliResult data = run({"simulate", path("s.qpl"), "--line", "PRICE:0=" + path("bad.txt")});
    EXPECT_EQ(data.code, 1);
    EXPECT_NE(data.err.find("bad.txt: строка 3: ожидалось 9 полей"), std::string::npos) << data.err;

    const CliResult missing = run({"simulate", path("none.qpl"), "--line", "PRICE:0=" + path("c.txt")});
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find("none.qpl"), std::string::npos) << missing.err;
}

// A conditions file: PRICE line 0 on 5 minutes compared with a level, one Condition per action, joined
// with ИЛИ.
std::string levelConditions(const std::vector<std::pair<std::string, std::string>>& actionsAndLevels) {
    std::string con;
    for (const auto& [action, level] : actionsAndLevels) {
        if (!con.empty())
            con += "<ОПЕРАЦИЯ>\r\n\t<ТИП>ИЛИ</ТИП>\r\n\t</ОПЕРАЦИЯ>\r\n";
        con += "<УСЛОВИЕ>\r\n\t<ЧАСТЬ1>\r\n\t\t<ВРЕМЯ>ТЕКУЩЕЕ ЗНАЧЕНИЕ</ВРЕМЯ>\r\n\t\t<ЛИНИЯ>0</ЛИНИЯ>\r\n"
               "\t\t<ГРАФИК>PRICE</ГРАФИК>\r\n\t\t<ИНТЕРВАЛ>5 МИН</ИНТЕРВАЛ>\r\n\t\t</ЧАСТЬ1>\r\n"
               "\t<ДЕЙСТВИЕ>" +
               action + "</ДЕЙСТВИЕ>\r\n\t<ЧАСТЬ2>\r\n\t\t<ЗНАЧЕНИЕ>" + level +
               "</ЗНАЧЕНИЕ>\r\n\t\t</ЧАСТЬ2>\r\n\t</УСЛОВИЕ>\r\n";
    }
    return con;
}

TEST_F(Simulate, ExplainsEveryConditionAfterEachLineOfADescribedPortfolio) {
    // Closes 11 then 12: only the second candle is above 11.5, and none is below 5.
    write("p.con", levelConditions({{"БОЛЬШЕ", "11,5"}, {"МЕНЬШЕ", "5"}}));
    write("c.txt", candles);
    const CliResult r = run({"simulate", path("p.con"), "--line", "PRICE:0=" + path("c.txt"), "--explain"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "01.03.2009 10:39:59\tSBER 5 БОЛЬШЕ  11.5 10:39:00\n"
                     "  1. PRICE[0] 5 МИН БОЛЬШЕ 11,5: выполнено; PRICE[0] = 12, уровень = 11.5\n"
                     "  2. PRICE[0] 5 МИН МЕНЬШЕ 5: не выполнено; PRICE[0] = 12, уровень = 5\n");

    const CliResult plain = run({"simulate", path("p.con"), "--line", "PRICE:0=" + path("c.txt")});
    EXPECT_EQ(plain.out, "01.03.2009 10:39:59\tSBER 5 БОЛЬШЕ  11.5 10:39:00\n");

    // Without a file for a line the conditions read, the run would only warn of a missing chart.
    const CliResult missing = run({"simulate", path("p.con"), "--line", "OTHER:0=" + path("c.txt")});
    EXPECT_EQ(missing.code, 2);
    EXPECT_EQ(missing.out, "");
    EXPECT_NE(missing.err.find("--line PRICE:0=ФАЙЛ"), std::string::npos) << missing.err;
}

TEST_F(Simulate, RefusesMalformedArguments) {
    for (const auto& args :
         std::vector<std::vector<std::string>>{{"simulate"},
                                               {"simulate", "s.qpl"},
                                               {"simulate", "s.qpl", "--line"},
                                               {"simulate", "s.qpl", "--line", "PRICE=c.txt"},
                                               {"simulate", "s.qpl", "--line", "PRICE:x=c.txt"},
                                               {"simulate", "s.qpl", "--line", "PRICE:0="},
                                               {"simulate", "a.qpl", "b.qpl", "--line", "P:0=c"},
                                               {"simulate", "s.qpl", "--line", "P:0=c", "--explain"}}) {
        const CliResult r = run(args);
        EXPECT_EQ(r.code, 2) << args.size();
        EXPECT_EQ(r.out, "");
        EXPECT_FALSE(r.err.empty());
    }
}

} // namespace
} // namespace zorvant::cli
