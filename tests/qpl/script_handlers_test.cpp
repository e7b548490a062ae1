#include "app/tform1.h"
#include "line_compare.h"
#include "list_builder.h"
#include "qpl/library.h"
#include "qpl/script_checks.h"
#include "support/fakes.h"
#include "support/temp_folder.h"
#include "text/cp1251.h"
#include "text/error.h"
#include "text/lines.h"

#include <gtest/gtest.h>

namespace zorvant::app {
namespace {
using namespace text::literals;
using testing::Forms;
using testing::TempFolder;

struct ScriptWindow : ::testing::Test {
    TempFolder folder;
    Forms forms{folder.folderName()};
    TForm1& f = forms.form1;

    void SetUp() override {
        f.FormActivate();
        f.PortfelName.text = "Trend";
        testing::addCondition(f.ConditionsView.items, testing::currentPart("15 МИН", "SBER"), "РАВНО"_cp,
                              testing::ValueLevel{"300"});
    }
};

TEST_F(ScriptWindow, GenerateShowsTheScriptPageAndSavesItAsWindows1251CrLf) {
    const std::string target = folder.file("Trend.qpl");
    forms.dialogs.fileAnswers.push_back(target);
    f.N9Click();

    EXPECT_EQ(f.PageControl1.activePageIndex, 2);
    ASSERT_EQ(forms.dialogs.saveRequests.size(), 1u);
    const FileDialogRequest& request = forms.dialogs.saveRequests[0];
    EXPECT_EQ(request.initialFolder, f.PortfelFolder.text);
    EXPECT_EQ(request.defaultExtension, "qpl");
    EXPECT_EQ(request.filter, "*.qpl|*.qpl");
    EXPECT_EQ(request.fileName, "Trend");

    EXPECT_EQ(f.ScriptText.lines.front(), "PORTFOLIO_EX Trend;");
    EXPECT_EQ(f.MessagePeriod, "15");
    EXPECT_EQ(f.MessageChart, "SBER");
    const std::string bytes = folder.read("Trend.qpl");
    EXPECT_EQ(bytes, text::joinCrLf(f.ScriptText.lines));
    EXPECT_NE(bytes.find("\r\nPARAMETER_TITLE " + std::string("Время"_cp) + ";\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("\r\n" + qpl::libraryLines()[1] + "\r\n"), std::string::npos);
    EXPECT_TRUE(forms.dialogs.messages.empty());
}

TEST_F(ScriptWindow, RegeneratingReplacesTheTextAndKeepsTheChartWithoutIntervals) {
    f.N9Click();
    const auto first = f.ScriptText.lines;
    f.N9Click();
    EXPECT_TRUE(testing::sameLines(f.ScriptText.lines, first));

    f.ConditionsView.items.clear();
    testing::addCondition(f.ConditionsView.items, testing::currentPart("15 мин", "GAZP"), "РАВНО"_cp,
                          testing::ValueLevel{"300"});
    f.N9Click();
    EXPECT_EQ(f.MessagePeriod, "0");
    EXPECT_EQ(f.MessageChart, "SBER");
    EXPECT_NE(std::find(f.ScriptText.lines.begin(), f.ScriptText.lines.end(),
                        R"q(msg_p = GET_SHEDULE_MINUS("SBER",datetime_curr,"0",0, "CLOSE"))q"),
              f.ScriptText.lines.end());
    EXPECT_EQ(forms.dialogs.messages, std::vector<std::string>{std::string(qpl::kNoIntervalWarning)});
}

TEST_F(ScriptWindow, ARefusedListLeavesTheScriptAndOffersNoSave) {
    f.N9Click();
    const auto first = f.ScriptText.lines;
    f.PageControl1.activePageIndex = 0;
    f.ConditionsView.items.clear();
    testing::addOperation(f.ConditionsView.items, "(");
    forms.dialogs.fileAnswers.push_back(folder.file("empty.qpl"));
    f.N9Click();
    EXPECT_EQ(
        forms.dialogs.messagesUtf8(),
        std::vector<std::string>{"В перечне нет ни одного условия. Скрипт не создан: добавьте условие!"});
    EXPECT_EQ(forms.dialogs.saveRequests.size(), 1u) << "only the first generation asked";
    EXPECT_EQ(f.ScriptText.lines, first);
    EXPECT_EQ(f.PageControl1.activePageIndex, 0);
    EXPECT_FALSE(std::filesystem::exists(folder.native("empty.qpl")));
}

TEST_F(ScriptWindow, ProblemsAreShownAndTheScriptIsStillOffered) {
    testing::addOperation(f.ConditionsView.items, ") И"_cp);
    testing::addCondition(f.ConditionsView.items, testing::currentPart("5 МИН"), "БОЛЬШЕ"_cp);
    f.N9Click();
    EXPECT_EQ(
        forms.dialogs.messages,
        (std::vector<std::string>{
            std::string("Ошибка в описание условий!"_cp),
            std::string(
                "Не корректное объединение условий: количество правых скобок не равно количеству левых!"_cp)}));
    EXPECT_EQ(forms.dialogs.saveRequests.size(), 1u);
    EXPECT_EQ(f.ScriptText.lines.back(), "END_PORTFOLIO_EX");
}

TEST_F(ScriptWindow, SaveSavesTheEditedLinesAndCancelWritesNothing) {
    f.N9Click(); // cancelled
    EXPECT_TRUE(std::filesystem::is_empty(folder.native("Портфели")));
    f.ScriptText.lines = testing::lineList({"edited", "Строка"_cp});
    forms.dialogs.fileAnswers.push_back(folder.file("edited.qpl"));
    f.N13Click();
    EXPECT_EQ(folder.read("edited.qpl"), "edited\r\n" + std::string("Строка"_cp) + "\r\n");
}

TEST_F(ScriptWindow, AFileThatCannotBeCreatedIsAnErrorNamingIt) {
    f.N9Click();
    const auto lines = f.ScriptText.lines;
    const std::string target = folder.file("missing/Trend.qpl");
    forms.dialogs.fileAnswers.push_back(target);
    try {
        f.N13Click();
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_NE(std::string(error.what()).find(target), std::string::npos) << error.what();
    }
    EXPECT_EQ(f.ScriptText.lines, lines);
}

} // namespace
} // namespace zorvant::app
