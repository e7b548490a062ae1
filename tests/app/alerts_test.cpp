#include "support/fakes.h"
#include "support/temp_folder.h"
#include "text/cp1251.h"

#include <gtest/gtest.h>

namespace zorvant::app {
namespace {
using namespace text::literals;
using Kind = watch::TickReport::Kind;

struct Alerts : ::testing::Test {
    Alerts() { forms.form1.FormActivate(); }
    watch::TickReport report(Kind kind, std::string text) const {
        return {kind,
                std::chrono::system_clock::now(),
                folder.file("sber.txt"),
                std::string(watch::kSendTelegram),
                "42",
                std::move(text)};
    }
    testing::TempFolder folder;
    testing::Forms forms{folder.folderName()};
    TForm1& form = forms.form1;
};

TEST_F(Alerts, TheTrayTipSaysWhatCameLastAndBalloonsComeOnlyWhenAsked) {
    form.showTickReports({report(Kind::Action, std::string(" Цена 250"_cp))});
    EXPECT_TRUE(form.Tray.tip.ends_with(" sber.txt:  Цена 250"_cp)) << text::toUtf8(form.Tray.tip);
    EXPECT_EQ(form.Tray.balloons, 0);

    form.AlertBalloons.checked = true;
    form.showTickReports({report(Kind::Action, std::string(300, 'x')), report(Kind::Error, "refused")});
    EXPECT_EQ(form.Tray.balloons, 2);
    EXPECT_EQ(form.Tray.balloonTitle, std::string("Ошибка: Отправить в Telegram"_cp));
    EXPECT_EQ(form.Tray.balloonText, "sber.txt: refused");
    EXPECT_LE(form.Tray.tip.size(), 120u);
    EXPECT_EQ(forms.dialogs.messagesUtf8(), std::vector<std::string>{"refused"});
}

TEST_F(Alerts, ClosingHidesTheWindowOnlyWithTheOptionAndATrayIcon) {
    EXPECT_FALSE(form.hidesOnClose(true));
    form.CloseToTray.checked = true;
    EXPECT_FALSE(form.hidesOnClose(false));
    EXPECT_TRUE(form.hidesOnClose(true));
}

TEST_F(Alerts, TheJournalShowsTheLogNewestFirstAndFollowsItsChanges) {
    form.alertLog().append(report(Kind::Action, "first"));
    form.alertLog().append(report(Kind::Error, "second"));
    form.showTickReports({});
    ASSERT_EQ(form.Journal.rows.size(), 2u);
    EXPECT_EQ(form.Journal.rows[0][5], std::string("ошибка: second"_cp));
    EXPECT_EQ(form.Journal.rows[1][4], "first");
    const int version = form.Journal.version;
    form.JournalRefresh();
    EXPECT_EQ(form.Journal.version, version); // unchanged file, rows kept as they are

    // Another watcher on the same table writes to the same log.
    watch::AlertLog(folder.folderName()).append(report(Kind::Action, "third"));
    form.JournalRefresh();
    ASSERT_EQ(form.Journal.rows.size(), 3u);
    EXPECT_EQ(form.Journal.rows[0][4], "third");
}

} // namespace
} // namespace zorvant::app
