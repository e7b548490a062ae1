#include "messenger_fixture.h"
#include "platform/local_time.h"

#include <regex>

namespace zorvant::watch {
namespace {
using namespace std::chrono_literals;
using namespace text::literals;

TEST_F(MessengerTest, AWebAddressGetsThePostWithItsJsonBodyOnceAfterAFailureForNow) {
    folder.write("m.txt", std::string("Цена 250\r\nSBER\r\n"_cp));
    server.answerNext({{503, 0}});
    const TickInput posted = input(kPostToWeb, server.url() + "/hook");
    const auto said = tick(posted);
    ASSERT_EQ(said.size(), 1u);
    EXPECT_NE(said[0].find("HTTP 503"), std::string::npos) << said[0];
    now += 10min;
    EXPECT_EQ(tick(posted), std::vector<std::string>{"action:  Цена 250 SBER"});

    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 2u);
    const auto& body = requests[1]["body"];
    EXPECT_EQ(requests[1]["status"].number(), 200);
    EXPECT_EQ(requests[1]["content_type"].str(), "application/json; charset=utf-8");
    EXPECT_EQ(body["text"].str(), " Цена 250 SBER");
    EXPECT_EQ(body["file"].str(), text::toUtf8(folder.file("m.txt")));
    // The time the tick found the message, on the local clock with its offset.
    EXPECT_EQ(body["time"].str(), platform::iso8601LocalTime(now - 10min));
    EXPECT_TRUE(
        std::regex_match(body["time"].str(), std::regex(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d[+-]\d\d:\d\d)")));
    EXPECT_FALSE(exists("m.txt~zorvant"));
}

TEST_F(MessengerTest, AWebAddressThatRefusesForGoodHasTheMessageSetAside) {
    folder.write("m.txt", "A\r\n");
    server.answerNext({{404, 0}});
    const auto said = tick(input(kPostToWeb, server.url() + "/hook"));
    ASSERT_EQ(said.size(), 1u);
    EXPECT_NE(said[0].find("HTTP 404"), std::string::npos) << said[0];
    EXPECT_EQ(folder.read("m.txt~unsent"), "A\r\n");
}

} // namespace
} // namespace zorvant::watch
