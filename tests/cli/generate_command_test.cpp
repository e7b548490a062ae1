#include "conditions/description_file.h"
#include "support/temp_folder.h"
#include "text/cp1251.h"
#include "text/lines.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace zorvant::cli {
namespace {
using testing::TempFolder;

struct ProgramRun {
    int code;
    std::string out;
    std::string err;
};

// Runs the real zorvant-cli with its output streams caught in files.
ProgramRun runProgram(const TempFolder& folder, const std::string& args) {
    const std::string out = (folder.path() / "stdout.txt").string();
    const std::string err = (folder.path() / "stderr.txt").string();
    std::string command =
        "\"" + std::string(ZORVANT_CLI) + "\" " + args + " >\"" + out + "\" 2>\"" + err + "\"";
#ifdef _WIN32
    // cmd /c drops the first and the last quote of the line, and a narrow line would be read in the
    // ANSI code page: the UTF-8 line goes in wide.
    command = "\"" + command + "\"";
    int status = _wsystem(std::filesystem::path(std::u8string(command.begin(), command.end())).c_str());
#else
    int status = std::system(command.c_str());
    status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
    return {status, folder.read("stdout.txt"), folder.read("stderr.txt")};
}

std::string example(const char* name) {
    return "\"" + std::string(ZORVANT_EXAMPLES) + "/" + name + "\"";
}

bool hasLine(const std::vector<std::string>& lines, std::string_view line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST(GenerateCommand, WritesTheExamplePortfolioAsWindows1251CrLf) {
    TempFolder folder;
    const ProgramRun run = runProgram(folder, "generate " + example("portfel.xml") + " --output \"" +
                                                  folder.file("My_portfel.qpl") + "\"");
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "");
    const std::string bytes = folder.read("My_portfel.qpl");
    ASSERT_TRUE(bytes.ends_with("\r\nEND_PORTFOLIO_EX\r\n"))
        << testing::visible(bytes.substr(bytes.size() - 40));
    const auto lines = text::splitSettingsLines(bytes);
    EXPECT_EQ(lines.front(), "PORTFOLIO_EX My_portfel;");
    EXPECT_TRUE(hasLine(lines, text::fromUtf8("DESCRIPTION Пример: пересечение линий, уровень и разворот;")));
    EXPECT_TRUE(hasLine(lines, text::fromUtf8("file_mess=\"C:\\QUIK\\Сообщения\\My_portfel.txt\"")));
    EXPECT_TRUE(hasLine(
        lines, "FUNC GET_SHEDULE_MINUS(fp_Ind,fp_DateTime,fp_sPeriod, fp_Num_Line_Ind, fp_Param_Ind)"));
    EXPECT_TRUE(hasLine(lines, "Condition_I = ( condition1 *  condition2) +  condition3"));
    EXPECT_TRUE(hasLine(lines, "msg_p = GET_SHEDULE_MINUS(\"PRICE\",datetime_curr,\"5\",0, \"CLOSE\")"));
    EXPECT_TRUE(hasLine(lines, "value22=250"));
    EXPECT_TRUE(hasLine(lines, "is_prevtime31=1"));
    EXPECT_EQ(bytes.find('\n'), bytes.find("\r\n") + 1);
}

TEST(GenerateCommand, ConditionsFileGoesToStandardOutputAsUtf8WithStartValues) {
    TempFolder folder;
    const ProgramRun fromCon = runProgram(folder, "generate " + example("portfel.con"));
    EXPECT_EQ(fromCon.code, 0) << fromCon.err;
    EXPECT_EQ(fromCon.err, "");
    EXPECT_TRUE(fromCon.out.starts_with("PORTFOLIO_EX My_portfel;\nDESCRIPTION Мой портфель;\n"));
    EXPECT_EQ(fromCon.out.find('\r'), std::string::npos);
    EXPECT_NE(fromCon.out.find("\nfile_mess=\"\"\n"), std::string::npos);

    // The same list as the description holds, so everything after the message file line agrees.
    const ProgramRun fromXml = runProgram(folder, "generate " + example("portfel.xml"));
    const auto tail = [](const std::string& s) { return s.substr(s.find("\nBEGINDAY")); };
    EXPECT_EQ(tail(fromCon.out), tail(fromXml.out));
}

TEST(GenerateCommand, ClientSettingsComeFromTheSettingsFile) {
    TempFolder folder;
    folder.write("client.ini",
                 text::joinCrLf({text::fromUtf8("Настройки клиента=Индивидуальные"),
                                 text::fromUtf8("Код клиента=ab1"), text::fromUtf8("Интервал просмотра=пять"),
                                 text::fromUtf8("Фирма=mc01"), text::fromUtf8("Счет депо=l01")}));
    const ProgramRun run = runProgram(folder, "generate " + example("portfel.con") + " --settings \"" +
                                                  folder.file("client.ini") + "\"");
    EXPECT_EQ(run.code, 0) << run.err;
    // The bad line is reported and skipped alone.
    EXPECT_NE(run.err.find("строка 3: \"пять\" не является правильным числом."), std::string::npos)
        << run.err;
    for (const char* line : {"\nCLIENTS_LIST AB1;\n", "\nFIRMS_LIST MC01;\n", "\nCLIENT_CODE=\"ab1\"\n",
                             "\nFIRMID=\"MC01\"\n", "\nACCOUNT=\"L01\"\n"})
        EXPECT_NE(run.out.find(line), std::string::npos) << line;
}

std::string exampleBytes(const char* name) {
    std::ifstream in(std::string(ZORVANT_EXAMPLES) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(GenerateCommand, WarningsGoToStandardErrorAndARefusalWritesNoFile) {
    TempFolder folder;
    const std::string openBracket = text::joinCrLf(
        {text::fromUtf8("<ОПЕРАЦИЯ>"), text::fromUtf8("\t<ТИП>(</ТИП>"), text::fromUtf8("\t</ОПЕРАЦИЯ>")});
    folder.write("unclosed.con", openBracket + exampleBytes("portfel.con"));
    const ProgramRun warned = runProgram(folder, "generate \"" + folder.file("unclosed.con") + "\"");
    EXPECT_EQ(warned.code, 0);
    EXPECT_EQ(warned.err,
              "Не корректное объединение условий: количество правых скобок не равно количеству левых!\n");
    EXPECT_NE(warned.out.find("\nCondition_I = (( condition1 *  condition2) +  condition3\n"),
              std::string::npos);

    folder.write("open.con", openBracket);
    const std::string output = folder.file("open.qpl");
    const ProgramRun refused =
        runProgram(folder, "generate \"" + folder.file("open.con") + "\" --output \"" + output + "\"");
    EXPECT_NE(refused.code, 0);
    EXPECT_EQ(refused.err, "В перечне нет ни одного условия. Скрипт не создан: добавьте условие!\n");
    EXPECT_EQ(refused.out, "");
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "open.qpl"));
}

TEST(GenerateCommand, ADescriptionSavedAsUtf8IsAClearError) {
    TempFolder folder;
    folder.write("utf8.xml", text::toUtf8(exampleBytes("portfel.xml")));
    const ProgramRun run = runProgram(folder, "generate \"" + folder.file("utf8.xml") + "\"");
    EXPECT_NE(run.code, 0);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("записан в кодировке UTF-8, а не Windows-1251"), std::string::npos) << run.err;
}

TEST(GenerateCommand, UnreadableInputIsAClearFailure) {
    TempFolder folder;
    const std::string missing = text::toUtf8(folder.file("нет.xml"));
    const ProgramRun run =
        runProgram(folder, "generate \"" + missing + "\" --output \"" + folder.file("x.qpl") + "\"");
    EXPECT_NE(run.code, 0);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("Не удаётся открыть файл " + missing), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "x.qpl"));

    folder.write("cut.xml", "<?xml version=\"1.0\"?>\r\n" + text::fromUtf8("<ПОРТФЕЛЬ>\r\n<УСЛОВИЯ>\r\n"));
    EXPECT_NE(runProgram(folder, "generate \"" + folder.file("cut.xml") + "\"").code, 0);

    const ProgramRun wrongKind = runProgram(folder, "generate \"" + folder.file("stdout.txt") + "\"");
    EXPECT_NE(wrongKind.code, 0);
    EXPECT_NE(wrongKind.err.find("*.xml"), std::string::npos);
    const ProgramRun noInput = runProgram(folder, "generate --output x.qpl");
    EXPECT_NE(noInput.code, 0);
    EXPECT_NE(noInput.err.find("Использование"), std::string::npos);
    EXPECT_NE(runProgram(folder, "generate " + example("portfel.xml") + " --frobnicate").code, 0);
}

TEST(Examples, DescriptionIsTheProgramsOwnWriterOutput) {
    TempFolder folder;
    const std::string original = std::string(ZORVANT_EXAMPLES) + "/portfel.xml";
    const auto loaded = conditions::readDescriptionFile(original);
    conditions::PortfolioFields fields;
    loaded.applyTo(fields);
    ASSERT_TRUE(loaded.conditions.has_value());
    conditions::writeDescriptionFile(folder.file("again.xml"), fields, *loaded.conditions);
    std::ifstream in(original, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_EQ(folder.read("again.xml"), bytes);
    EXPECT_FALSE(fields.compressed);
}

} // namespace
} // namespace zorvant::cli
