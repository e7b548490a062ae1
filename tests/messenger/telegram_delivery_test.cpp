#include "messenger_fixture.h"

namespace zorvant::watch {
namespace {
using namespace std::chrono_literals;
using namespace text::literals;

bool mentions(const std::string& said, std::string_view words) {
    return said.find(words) != std::string::npos;
}

TEST_F(MessengerTest, EachChatGetsTheTextInUtf8AndALongTextInPartsInOrder) {
    const std::string longLine(5000, "Ж"_cp[0]);
    folder.write("m.txt", std::string("Цена 250\r\n"_cp) + longLine + "\r\n");
    const std::string text = text::toUtf8(" Цена 250 "_cp) + text::toUtf8(longLine);
    ASSERT_EQ(tick(input(kSendTelegram, "-1001234, @channel")).size(), 1u);
    for (const char* chat : {"-1001234", "@channel"}) {
        const auto parts = server.accepted(chat);
        ASSERT_EQ(parts.size(), 2u) << chat;
        EXPECT_EQ(parts[0] + parts[1], text) << chat;
        EXPECT_EQ(text::fromUtf8(parts[0]).size(), kMostTelegramCharacters);
    }
    EXPECT_EQ(server.requests()[0]["content_type"].str(), "application/json; charset=utf-8");
    EXPECT_FALSE(exists("m.txt"));
    EXPECT_FALSE(exists("m.txt~zorvant"));
}

// The server refuses a text of nothing but spaces; the alert still says which file fired.
TEST_F(MessengerTest, AnEmptyMessageSendsTheNameOfItsFile) {
    folder.write("m.txt", "\r\n");
    EXPECT_EQ(tick(input(kSendTelegram, "11")).size(), 1u);
    EXPECT_EQ(server.accepted("11"), std::vector<std::string>{text::toUtf8(folder.file("m.txt"))});
}

TEST_F(MessengerTest, AFailureForNowIsRetriedWithoutSendingAgainWhatWasAccepted) {
    folder.write("m.txt", "A\r\n");
    server.answerNext({{0, 0}, {500, 0}});
    const auto said = tick(input(kSendTelegram, "11, 22"));
    ASSERT_EQ(said.size(), 1u);
    EXPECT_TRUE(mentions(said[0], "Internal Server Error")) << said[0];
    EXPECT_TRUE(exists("m.txt~zorvant"));
    now += 10min;
    EXPECT_EQ(tick(input(kSendTelegram, "11, 22")), std::vector<std::string>{"action:  A"});
    EXPECT_EQ(server.accepted("11"), std::vector<std::string>{" A"});
    EXPECT_EQ(server.accepted("22"), std::vector<std::string>{" A"});
    EXPECT_FALSE(exists("m.txt~zorvant"));
}

TEST_F(MessengerTest, TooManyRequestsWaitsAsLongAsTheServerAsks) {
    folder.write("m.txt", "A\r\n");
    server.answerNext({{429, 120}});
    EXPECT_EQ(tick(input(kSendTelegram, "11")).size(), 1u);
    now += 60s;
    EXPECT_TRUE(tick(input(kSendTelegram, "11")).empty());
    EXPECT_EQ(server.requests().size(), 1u);
    now += 61s;
    EXPECT_EQ(tick(input(kSendTelegram, "11")).size(), 1u);
    EXPECT_EQ(server.accepted("11"), std::vector<std::string>{" A"});
}

TEST_F(MessengerTest, AChatThatRefusesIsReportedAndTheOthersStillGetTheMessage) {
    folder.write("m.txt", "A\r\n");
    const auto said = tick(input(kSendTelegram, "@blocked, 22"));
    ASSERT_EQ(said.size(), 2u);
    EXPECT_EQ(said[0], "action:  A");
    EXPECT_TRUE(mentions(said[1], "@blocked (Forbidden: bot was blocked by the user)")) << said[1];
    EXPECT_EQ(server.accepted("22"), std::vector<std::string>{" A"});
    EXPECT_FALSE(exists("m.txt~zorvant"));

    // Refused by every chat: kept aside, and the next message goes.
    folder.write("m.txt", "B\r\n");
    const auto aside = tick(input(kSendTelegram, "@missing"));
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_TRUE(mentions(aside[0], "chat not found")) << aside[0];
    EXPECT_EQ(folder.read("m.txt~unsent"), "B\r\n");
}

TEST_F(MessengerTest, ARefusedTokenIsReportedOnceAndTheMessageKept) {
    folder.write("m.txt", "A\r\n");
    const auto said = tick(input(kSendTelegram, "11", "1:wrong"));
    ASSERT_EQ(said.size(), 1u);
    EXPECT_TRUE(mentions(said[0], "не принял токен бота: Unauthorized")) << said[0];
    now += 10min;
    EXPECT_TRUE(tick(input(kSendTelegram, "11", "1:wrong")).empty());
    EXPECT_TRUE(exists("m.txt~zorvant"));
    now += 10min;
    EXPECT_EQ(tick(input(kSendTelegram, "11")), std::vector<std::string>{"action:  A"});
    EXPECT_EQ(server.accepted("11"), std::vector<std::string>{" A"});
}

} // namespace
} // namespace zorvant::watch
