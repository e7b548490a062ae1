#include "app/tform_preview.h"

#include "conditions/labels.h"
#include "list_builder.h"
#include "support/fakes.h"
#include "support/temp_folder.h"
#include "text/cp1251.h"
#include "text/lines.h"

#include <gtest/gtest.h>

namespace zorvant::app {
namespace {
namespace labels = conditions::labels;
using testing::addCondition;
using testing::addOperation;
using testing::currentPart;
using testing::ValueLevel;

std::string cp(std::string_view utf8) {
    return text::fromUtf8(utf8);
}

std::vector<std::string> shown(const std::vector<LineFile>& lines) {
    std::vector<std::string> out;
    for (const LineFile& line : lines)
        out.push_back(formatLineFile(line));
    return out;
}

TEST(PreviewLines, ListsEachChartLineOnceFromLineZero) {
    conditions::ConditionList list;
    addCondition(list, currentPart("5 МИН", "PRICE", "1"), labels::kGreater, currentPart("5 МИН", "ma"));
    addOperation(list, labels::kOr);
    addCondition(list, currentPart("1 ЧАС", "price"), labels::kGreater, ValueLevel{"250"});
    addOperation(list, labels::kOr);
    addCondition(list, currentPart("ДЕНЬ", "RSI", "2"), labels::kTurnsUp);
    EXPECT_EQ(shown(chartLinesOf(list)),
              (std::vector<std::string>{"PRICE:0=", "PRICE:1=", "ma:0=", "RSI:0=", "RSI:1=", "RSI:2="}));
    EXPECT_EQ(firstChartOf(list), "PRICE");

    EXPECT_EQ(formatLineFile(*parseLineFile("PRICE:12=C:\\a=b.txt")), "PRICE:12=C:\\a=b.txt");
    for (const char* bad : {"PRICE=c.txt", ":0=c.txt", "P:x=c.txt", "P:0=", "P:1234=c.txt", "P:=c.txt"})
        EXPECT_FALSE(parseLineFile(bad).has_value()) << bad;
}

TEST(PreviewLines, ChosenFilesStayInTheSettingsBetweenTheFixedKeysAndTheWatchRows) {
    testing::TempFolder folder;
    folder.write("Zorvant.ini", cp("Пароль=x\r\nФайл свечей=PRICE:0=C:\\d\\old.txt\r\n"
                                   "Файл свечей=RSI:0=C:\\d\\r.txt\r\nФайл свечей=broken\r\n"
                                   "Файл свечей=price:0=C:\\d\\p.txt\r\n"
                                   "Файл сообщений=C:\\m.txt;Открыть файл;C:\\m.txt\r\n"));
    testing::Forms forms(folder.folderName());
    forms.form1.FormActivate();
    // A later choice for the same line replaces the earlier one; a damaged line is skipped.
    EXPECT_EQ(shown(forms.form1.CandleFiles),
              (std::vector<std::string>{"RSI:0=C:\\d\\r.txt", "price:0=C:\\d\\p.txt"}));
    ASSERT_TRUE(forms.form1.FormClose());
    const auto lines = text::splitSettingsLines(folder.read("Zorvant.ini"));
    ASSERT_EQ(lines.size(), 18u);
    EXPECT_EQ(lines[14], cp("Пароль=x"));
    EXPECT_EQ(lines[15], cp("Файл свечей=RSI:0=C:\\d\\r.txt"));
    EXPECT_EQ(lines[16], cp("Файл свечей=price:0=C:\\d\\p.txt"));
    EXPECT_EQ(lines[17], cp("Файл сообщений=C:\\m.txt;Открыть файл;C:\\m.txt"));
}

// PRICE above 100 on 5-minute candles from 01.03.2009 10:30, MA as the second chart line.
struct PreviewForm : ::testing::Test {
    PreviewForm() {
        auto& list = forms.form1.ConditionsView.items;
        addCondition(list, currentPart("5 МИН", "PRICE"), labels::kGreater, ValueLevel{"100"});
        addOperation(list, labels::kAnd);
        addCondition(list, currentPart("5 МИН", "PRICE"), labels::kGreater, currentPart("5 МИН", "MA"));
        folder.write("price.txt", candles("SBER", {99, 101, 99, 102}));
        folder.write("ma.txt", candles("MA", {98, 98, 98, 98}));
    }
    static std::string candles(const std::string& name, const std::vector<int>& closes) {
        std::string bytes;
        for (std::size_t i = 0; i < closes.size(); ++i) {
            const std::string close = std::to_string(closes[i]);
            bytes += name + ",5,20090301,10" + std::to_string(30 + 5 * i) + "00," + close + "," + close +
                     "," + close + "," + close + ",1\r\n";
        }
        return bytes;
    }
    void run() { preview.RunFinished(runPreview(*preview.StartButtonClick())); }

    testing::TempFolder folder;
    testing::Forms forms{folder.folderName()};
    TFormPreview preview{forms.form1};
};

TEST_F(PreviewForm, AsksForEveryLineAndRemembersTheFileChosen) {
    forms.form1.CandleFiles = {{"price", 0, folder.file("price.txt")}};
    preview.FormShow();
    EXPECT_EQ(shown(preview.Files),
              (std::vector<std::string>{"PRICE:0=" + folder.file("price.txt"), "MA:0="}));
    EXPECT_FALSE(preview.StartButtonClick().has_value());
    EXPECT_EQ(forms.dialogs.messagesUtf8(),
              std::vector<std::string>{"Не выбран файл свечей для линии 0 графика MA."});

    forms.dialogs.fileAnswers = {folder.file("ma.txt")};
    preview.FilesRow = 1;
    preview.FileButtonClick();
    EXPECT_EQ(forms.dialogs.openRequests.at(0).initialFolder, folder.folderName());
    EXPECT_EQ(shown(forms.form1.CandleFiles), (std::vector<std::string>{"price:0=" + folder.file("price.txt"),
                                                                        "MA:0=" + folder.file("ma.txt")}));
    run();
    EXPECT_EQ(preview.Status.caption, cp("Пересчётов: 4, записано строк: 2, предупреждений: 0"));
}

TEST_F(PreviewForm, ShowsWhyEachLineWasWrittenAndWhereOnTheChart) {
    forms.form1.CandleFiles = {{"PRICE", 0, folder.file("price.txt")}, {"MA", 0, folder.file("ma.txt")}};
    preview.FormShow();
    run();
    ASSERT_EQ(preview.Result.lines.size(), 2u);
    EXPECT_EQ(preview.Result.markers, (std::vector<int>{1, 3}));
    EXPECT_EQ(preview.LinesRow, 0);
    preview.MarkerClick(3);
    EXPECT_EQ(preview.LinesRow, 1);
    ASSERT_EQ(preview.Explanation.size(), 2u);
    EXPECT_EQ(text::toUtf8(explanationLine(preview.Explanation[0])),
              "1. PRICE[0] 5 МИН БОЛЬШЕ 100: выполнено; PRICE[0] = 102, уровень = 100");
    EXPECT_EQ(text::toUtf8(explanationLine(preview.Explanation[1])),
              "2. PRICE[0] 5 МИН БОЛЬШЕ MA[0] 5 МИН: выполнено; PRICE[0] = 102, MA[0] = 98");
}

TEST_F(PreviewForm, ReportsABadFileWithItsPlaceAndACancelledRunWithWhatItDid) {
    folder.write("bad.txt", candles("MA", {98}) + "MA,5,20090301,103500,1,2\r\n");
    forms.form1.CandleFiles = {{"PRICE", 0, folder.file("price.txt")}, {"MA", 0, folder.file("bad.txt")}};
    preview.FormShow();
    run();
    EXPECT_FALSE(preview.Result.ran);
    const std::string place = folder.file("bad.txt") + cp(": строка 2: ожидалось 9 полей");
    EXPECT_EQ(preview.Status.caption.substr(0, place.size()), place);
    EXPECT_EQ(preview.Status.colour, (Colour{Colour::Kind::Rgb, 192, 0, 0}));

    preview.Files[1].file = folder.file("ma.txt");
    auto job = preview.StartButtonClick();
    ASSERT_TRUE(job.has_value());
    EXPECT_FALSE(preview.StartButton.enabled);
    EXPECT_FALSE(preview.StartButtonClick().has_value()); // one run at a time
    preview.CancelButtonClick();
    preview.RunFinished(runPreview(*job));
    EXPECT_TRUE(preview.StartButton.enabled);
    EXPECT_EQ(preview.Status.caption, cp("Прервано. Пересчётов: 0, записано строк: 0, предупреждений: 0"));
}

} // namespace
} // namespace zorvant::app
