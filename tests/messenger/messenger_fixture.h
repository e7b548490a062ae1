#pragma once
// The watch tick with the program's own services and messenger channels against the stand-in Bot API
// and webhook receiver, on a clock the test moves.
#include "platform/platform.h"
#include "platform/services.h"
#include "support/http_test_server.h"
#include "support/temp_folder.h"
#include "support/watch_ticks.h"
#include "text/cp1251.h"
#include "watch/telegram_channel.h"
#include "watch/watcher.h"
#include "watch/webhook_channel.h"

#include <gtest/gtest.h>

namespace zorvant::watch {

class MessengerTest : public ::testing::Test {
protected:
    TickInput input(std::string_view action, std::string target,
                    std::string_view token = testing::HttpTestServer::kToken) const {
        TickInput ticked{
            {{folder.file("m.txt"), std::string(action), std::move(target)}}, {}, std::chrono::seconds(5)};
        ticked.telegram = {std::string(token), server.url()};
        return ticked;
    }
    // One tick and the deliveries it started; the reports as "action: text" or "error: text", UTF-8.
    std::vector<std::string> tick(const TickInput& ticked) { return testing::tickAndSay(watcher, ticked); }
    bool exists(std::string_view name) const { return platform::plainFileExists(folder.file(name)); }

    testing::TempFolder folder;
    testing::HttpTestServer server;
    TelegramChannel telegram{HttpOptions{server.caFile()}};
    WebhookChannel webhook{HttpOptions{server.caFile()}};
    std::chrono::system_clock::time_point now{std::chrono::hours(1000)};
    Watcher watcher{platform::systemServices(), {{kSendTelegram, &telegram}, {kPostToWeb, &webhook}}, [this] {
                        return now;
                    }};
};

} // namespace zorvant::watch
