#include "support/http_test_server.h"

#include "support/smtp_test_server.h"

#include <fstream>

namespace zorvant::testing {

HttpTestServer::HttpTestServer() : address_(randomLoopbackAddress()) {
    server_ = std::make_unique<PythonServer>(ZORVANT_HTTP_SERVER_SCRIPT, address_,
                                             std::vector<std::string>{"--folder", folder_.path().string(),
                                                                      "--address", address_, "--token",
                                                                      std::string(kToken)},
                                             folder_);
}

std::string HttpTestServer::url() const {
    return "https://" + address_ + ":" + std::to_string(static_cast<int>(server_->ready()["port"].number()));
}

void HttpTestServer::answerNext(const std::vector<std::pair<int, int>>& statuses) const {
    std::string list;
    for (const auto& [status, retryAfter] : statuses)
        list +=
            (list.empty() ? "[" : ", [") + std::to_string(status) + ", " + std::to_string(retryAfter) + "]";
    std::ofstream(folder_.path() / "next.json") << "[" << list << "]";
}

std::vector<JsonValue> HttpTestServer::requests() const {
    std::vector<JsonValue> result;
    std::ifstream in(folder_.path() / "requests.jsonl");
    for (std::string line; std::getline(in, line);)
        result.push_back(JsonValue::parse(line));
    return result;
}

std::vector<std::string> HttpTestServer::accepted(std::string_view chat) const {
    std::vector<std::string> texts;
    for (const auto& request : requests())
        if (request["status"].number() == 200 && request["path"].str().ends_with("/sendMessage") &&
            request["body"]["chat_id"].str() == chat)
            texts.push_back(request["body"]["text"].str());
    return texts;
}

} // namespace zorvant::testing
